#include "app/mailapplication.h"

#include "app/fhandover.h"
#include "app/fimages.h"
#include "app/ftrace.h"
#include "forms/bpagefactory.h"
#include "handover/fstreamcomm.h"
#include "logs/logviewregistration.h"
#include "lumadb/lumadb.h"
#include "pages/pageregistry.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QFile>

namespace {
constexpr int kMajor = 6;
constexpr int kMinor = 3;
constexpr int kRevision = 0;
constexpr int kBuild = 2132;
} // namespace

MailApplication::MailApplication(int &argc, char **argv)
    : FApplication(argc, argv)
{
    // The section folders' pages, before the page area can ask for one.
    registerPageCreators(BPageFactory::instance());
}

void MailApplication::registerPageCreators(BPageFactory &factory)
{
    pages::registerPages(factory);
    logs::registerLogView(factory);
}

void MailApplication::setVersionInfo()
{
    UtKontainer::setInt(UtKey::AppId, 2);
    UtKontainer::setInt(UtKey::AppMajorVersion, kMajor);
    UtKontainer::setInt(UtKey::AppMinorVersion, kMinor);
    UtKontainer::setInt(UtKey::AppRevisionVersion, kRevision);
    UtKontainer::setText(UtKey::AppCommentVersion, QStringLiteral("build %1").arg(kBuild));
    UtKontainer::setText(UtKey::AppShortName, QStringLiteral("postdesk"));
    UtKontainer::setText(UtKey::AppEngineName, QStringLiteral("Postvane"));
    UtKontainer::setBool(UtKey::StoreStats, false);
    UtKontainer::setBool(UtKey::IsLogSearchCaseSensitive, false);
    UtKontainer::setBool(UtKey::IsTrademarksInAbout, true);
}

bool MailApplication::applyLaunchParameters(LaunchMode mode)
{
    UtKontainer::setInt(UtKey::Port, LUMADB_DEFAULT_PORT);
    switch (mode) {
    case LaunchMode::HandOver: {
        QFile input;
        if (!input.open(stdin, QIODevice::ReadOnly | QIODevice::Unbuffered))
            return false;
        ConnectionRecord record;
        QString error;
        if (!FHandOver::receive(input, record, &error)) {
            fTrace(error);
            return false;
        }
        UtKontainer::setText(UtKey::Host, record.host);
        UtKontainer::setInt(UtKey::Port, record.port);
        UtKontainer::setText(UtKey::User, record.user);
        UtKontainer::setText(UtKey::Password, record.password);
        FStreamComm::sendStatus(FStreamComm::InitOk);
        return true;
    }
    case LaunchMode::Login:
        return true;
    default:
        // The refused modes never get here; a password is never taken from
        // the command line, where every local user could read it.
        return false;
    }
}

void MailApplication::setApplicationTexts()
{
    const QString name = tr("Administration Console for Postvane");
    UtKontainer::setText(UtKey::Caption, name);
    UtKontainer::setText(UtKey::AppName, name);
}

QString MailApplication::settingsGroup() const
{
    return FApplication::settingsGroup() + QStringLiteral("/Postvane");
}

QString MailApplication::getText(int number) const
{
    const QString name
            = UtKontainer::getText(UtKey::AppName, tr("Administration Console for Postvane"));
    switch (number) {
    case 1:
        return QStringLiteral("<b>%1</b><br>%2 %3.%4.%5 (%6)<br>Qt %7")
                .arg(name.toHtmlEscaped(), tr("version:"))
                .arg(kMajor)
                .arg(kMinor)
                .arg(kRevision)
                .arg(UtKontainer::getText(UtKey::AppCommentVersion))
                .arg(QString::fromLatin1(qVersion()));
    case 2:
        return tr("<p>Postvane and Brantel are names of their makers.</p>"
                  "<p>This program uses the Qt toolkit (LGPL version 3), OpenSSL (Apache "
                  "License 2.0) and SQLite (public domain) in its development server.</p>"
                  "<p>Pictures drawn for this console by its developers.</p>");
    default:
        return {};
    }
}

QPixmap MailApplication::getIcon(int number) const
{
    switch (number) {
    case 1:
        return FImages::pixmap(QStringLiteral("iconapp.png"));
    case 2:
        return FImages::pixmap(QStringLiteral("iconapp32.png"));
    case 3:
        return FImages::pixmap(QStringLiteral("splashscreen.png"));
    default:
        return {};
    }
}

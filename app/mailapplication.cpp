#include "app/mailapplication.h"

#include "app/fhandover.h"
#include "app/fimages.h"
#include "app/fstreamcomm.h"
#include "app/ftrace.h"
#include "app/registry/utkontainer.h"

#include <QFile>

namespace {
constexpr int kMajor = 6;
constexpr int kMinor = 3;
constexpr int kRevision = 0;
constexpr int kBuild = 2132;
} // namespace

MailApplication::MailApplication(int &argc, char **argv)
    : FApplication(argc, argv)
{ }

void MailApplication::setVersionInfo()
{
    UtKontainer::setInt(QStringLiteral("utKontAppId"), 2);
    UtKontainer::setInt(QStringLiteral("utKontAppMajorVersion"), kMajor);
    UtKontainer::setInt(QStringLiteral("utKontAppMinorVersion"), kMinor);
    UtKontainer::setInt(QStringLiteral("utKontAppRevisionVersion"), kRevision);
    UtKontainer::setText(QStringLiteral("utKontAppCommentVersion"),
                         QStringLiteral("build %1").arg(kBuild));
    UtKontainer::setText(QStringLiteral("utKontAppShortName"), QStringLiteral("postdesk"));
    UtKontainer::setText(QStringLiteral("utKontAppEngineName"), QStringLiteral("Postvane"));
    UtKontainer::setBool(QStringLiteral("utKontStoreStats"), false);
    UtKontainer::setBool(QStringLiteral("utKontIsLogSearchCaseSensitive"), false);
    UtKontainer::setBool(QStringLiteral("utKontIsTrademarksInAbout"), true);
    const QList<QPair<const char *, const char *>> components = {
            {"utKontTsVersionLibutils", "6.01.16.0"},    {"utKontTsVersionLibdb", "06.08.21.0"},
            {"utKontTsVersionLibcomponent", "5.5.13.0"}, {"utKontTsVersionLibplugin", "06.08.21.0"},
            {"utKontTsVersionLibframe", "06.08.21.1"},   {"utKontTsVersionLibgui", "06.08.21.0"},
            {"utKontTsVersionApp", "06.10.06.0"}};
    for (const auto &[key, version] : components) {
        UtKontainer::setText(QString::fromLatin1(key), QString::fromLatin1(version));
        fTrace(QStringLiteral("%1=%2").arg(QString::fromLatin1(key), QString::fromLatin1(version)));
    }
}

bool MailApplication::applyLaunchParameters(LaunchMode mode)
{
    UtKontainer::setInt(QStringLiteral("utKontPort"), 44337);
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
        UtKontainer::setText(QStringLiteral("utKontHost"), record.host);
        UtKontainer::setInt(QStringLiteral("utKontPort"), record.port);
        UtKontainer::setText(QStringLiteral("utKontUser"), record.user);
        UtKontainer::setText(QStringLiteral("utKontPassword"), record.password);
        FStreamComm::sendStatus(FStreamComm::InitOk);
        return true;
    }
    case LaunchMode::Login:
        return true;
    default: {
        const QStringList args = launchArguments();
        UtKontainer::setText(QStringLiteral("utKontHost"),
                             args.value(0).isEmpty() ? QStringLiteral("localhost") : args.value(0));
        UtKontainer::setText(QStringLiteral("utKontUser"),
                             args.value(1).isEmpty() ? QStringLiteral("admin") : args.value(1));
        UtKontainer::setText(QStringLiteral("utKontPassword"), args.value(2));
        return true;
    }
    }
}

void MailApplication::setApplicationTexts()
{
    const QString name = tr("Administration Console for Postvane");
    UtKontainer::setText(QStringLiteral("utKontCaption"), name);
    UtKontainer::setText(QStringLiteral("utKontAppName"), name);
}

QString MailApplication::settingsGroup() const
{
    return FApplication::settingsGroup() + QStringLiteral("/Postvane");
}

QString MailApplication::getText(int number) const
{
    const QString name = UtKontainer::getText(QStringLiteral("utKontAppName"),
                                              tr("Administration Console for Postvane"));
    switch (number) {
    case 1:
        return QStringLiteral("<b>%1</b><br>%2 %3.%4.%5 (%6)<br>Qt %7")
                .arg(name.toHtmlEscaped(), tr("version:"))
                .arg(kMajor)
                .arg(kMinor)
                .arg(kRevision)
                .arg(UtKontainer::getText(QStringLiteral("utKontAppCommentVersion")))
                .arg(QString::fromLatin1(qVersion()));
    case 2:
        return tr("<p>Postvane and Brantel are names of their makers.</p>"
                  "<p>This program uses the Qt toolkit (LGPL version 3), OpenSSL (Apache "
                  "License 2.0) and SQLite (public domain) in its development server.</p>"
                  "<p>Pictures drawn for this console by its developers.</p>");
    case 3:
    case 7:
        return name;
    case 4:
        return tr("About...");
    case 5:
        return tr("View information about %1.").arg(name);
    case 6:
        return tr("About %1").arg(name);
    case 8:
        return tr("Incorrect version of Qt library.");
    case 9:
        return tr("<nobr>The application has been executed with Qt library %1,<br>but the version "
                  "%2 is required to run it correctly.<br><br><b>The application may behave "
                  "incorrectly or even crash!</b><br></nobr>")
                .arg(QString::fromLatin1(qVersion()), QStringLiteral("3.3.6"));
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

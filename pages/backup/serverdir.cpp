#include "pages/backup/serverdir.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"
#include "forms/uthtml.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace serverdir {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("BackupScheduleDirDlg", text);
}

QStringList arguments(const QString &path, const QStringList &more, const Credentials &credentials)
{
    QStringList list{toServerPath(path)};
    list += more;
    // A server that reported its operating system takes the plain form.
    if (!credentials.user.isEmpty() && !UtKontainer::contains(UtKey::OsVersion)) {
        list.append(credentials.user);
        list.append(credentials.password);
    }
    return list;
}

QString stripTrailing(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    return path;
}

QString refusalText(Purpose purpose)
{
    return purpose == Purpose::Backup
            ? tr("To save changes, an existing backup directory must be set.")
            : tr("To save changes, an existing archive directory must be set.");
}

} // namespace

QString toServerPath(const QString &path)
{
    QString converted = path;
    converted.replace(QLatin1String(":/"), QLatin1String(":\\"));
    converted.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return converted;
}

bool sameDirectory(const QString &first, const QString &second)
{
    return stripTrailing(toServerPath(first.trimmed()))
                   .compare(stripTrailing(toServerPath(second.trimmed())), Qt::CaseInsensitive)
            == 0;
}

QString listDirCall(const QString &path, const Credentials &credentials)
{
    return dbFunctionCall(QStringLiteral("ListDir"), arguments(path, {}, credentials));
}

QString accessDirCall(const QString &path, int mode, const Credentials &credentials)
{
    return dbFunctionCall(QStringLiteral("AccessDir"),
                          arguments(path, {QString::number(mode)}, credentials));
}

int accessDir(const QString &path, int mode, const Credentials &credentials, QString *error)
{
    DBConn *conn = bobject::connection();
    if (!conn)
        return AccessFailed;
    DBReq req(QStringLiteral("select ") + accessDirCall(path, mode, credentials));
    if (!conn->execSync(&req) || req.rowCount() < 1) {
        if (error)
            *error = conn->isConnected() ? req.errorText() : QString();
        return AccessFailed;
    }
    return req.readInt(0, 0).value();
}

bool listDir(const QString &path, const Credentials &credentials, QStringList *names,
             QString *error)
{
    DBConn *conn = bobject::connection();
    if (!conn)
        return false;
    DBReq req(QStringLiteral("select ") + listDirCall(path, credentials));
    if (!conn->execSync(&req)) {
        if (error)
            *error = conn->isConnected() ? req.errorText() : QString();
        return false;
    }
    names->clear();
    for (int row = 0; row < req.rowCount(); ++row)
        names->append(req.readStr(row, 0).toString());
    return true;
}

bool checkBeforeSave(QWidget *parent, const QString &directory, Purpose purpose,
                     const Credentials &credentials)
{
    // The name goes into rich text.
    const QString shown = UtHtml::escape(directory);
    QString error;
    const int result = accessDir(directory, 0, credentials, &error);
    if (result == AccessOk)
        return true;
    if (result == AccessFailed) {
        bmessagebox::warning(parent, error.isEmpty() ? refusalText(purpose) : error);
        return false;
    }
    if (result == AccessInternal) {
        bmessagebox::warning(parent,
                             tr("<nobr>Directory '%1' cannot be checked: internal "
                                "error.<br>%2</nobr>")
                                     .arg(shown, refusalText(purpose)));
        return false;
    }
    if (result == AccessDenied) {
        bmessagebox::warning(parent,
                             tr("<nobr>Permissions missing for the selected directory "
                                "'%1'.<br>To save changes, a directory with full access rights "
                                "must be set.<nobr>")
                                     .arg(shown));
        return false;
    }
    const auto answer = QMessageBox::question(
            parent, bmessagebox::caption(),
            tr("<nobr>Directory '%1' doesn't exist on the server.<br>Do you want to create "
               "it?</nobr>")
                    .arg(shown),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes) {
        bmessagebox::warning(parent, refusalText(purpose));
        return false;
    }
    const int created = accessDir(directory, 1, credentials, &error);
    switch (created) {
    case AccessOk:
        return true;
    case AccessDenied:
        bmessagebox::warning(parent,
                             tr("<nobr>The attempt to create directory '%1' has failed: "
                                "permissions missing.<br>%2</nobr>")
                                     .arg(shown, refusalText(purpose)));
        return false;
    case AccessInternal:
        bmessagebox::warning(parent,
                             tr("The attempt to create directory '%1' has failed: "
                                "internal error.<br>%2</nobr>")
                                     .arg(shown, refusalText(purpose)));
        return false;
    case AccessFailed:
        if (!error.isEmpty()) {
            bmessagebox::warning(parent, error);
            return false;
        }
        [[fallthrough]];
    default: // 1 and 4: not created
        bmessagebox::warning(parent,
                             tr("<nobr>The attempt to create directory '%1' has failed.<br>%2"
                                "</nobr>")
                                     .arg(shown, refusalText(purpose)));
        return false;
    }
}

} // namespace serverdir

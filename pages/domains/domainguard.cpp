#include "pages/domains/domainguard.h"

#include "db/dbconn.h"
#include "db/dbreq.h"
#include "forms/bmessagebox.h"
#include "forms/bobject.h"

#include <QCoreApplication>

namespace domainguard {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("DomainWnd", text);
}

} // namespace

Holder findHolder(const QString &domain, QString *error)
{
    DBConn *conn = bobject::connection();
    if (!conn) {
        if (error)
            *error = tr("Not connected.");
        return Failed;
    }
    struct Table
    {
        const char *name;
        Holder holder;
    };
    static const Table tables[] = {{"Alias", Aliases},
                                   {"User", Users},
                                   {"Group", Groups},
                                   {"Template", Templates},
                                   {"MailingList", MailingLists}};
    const QString wanted = domain.toLower();
    for (const Table &table : tables) {
        // One column of every row: a filter on the server would compare the
        // name in its own letter case.
        DBReq req(QStringLiteral("select Domain from ") + QLatin1String(table.name));
        if (!conn->execSync(&req)) {
            if (error)
                *error = req.errorText();
            return Failed;
        }
        const int rows = req.rowCount();
        for (int row = 0; row < rows; ++row) {
            if (req.readStr(row, 0).toString().toLower() == wanted)
                return table.holder;
        }
    }
    return Nothing;
}

QString refusalText(const QString &domain, Holder holder)
{
    const char *reason = nullptr;
    switch (holder) {
    case Aliases:
        reason = QT_TRANSLATE_NOOP("DomainWnd", "contains aliases. Remove them first.");
        break;
    case Users:
        reason = QT_TRANSLATE_NOOP("DomainWnd", "contains users. Remove them first.");
        break;
    case Groups:
        reason = QT_TRANSLATE_NOOP("DomainWnd", "contains groups. Remove them first.");
        break;
    case Templates:
        reason = QT_TRANSLATE_NOOP("DomainWnd", "contains user templates. Remove them first.");
        break;
    case MailingLists:
        reason = QT_TRANSLATE_NOOP("DomainWnd", "contains mailing lists. Remove them first.");
        break;
    case DomainAliases:
        reason = QT_TRANSLATE_NOOP("DomainWnd", "contains domain aliases. Remove them first.");
        break;
    default:
        return {};
    }
    return tr("Domain") + QLatin1Char(' ') + domain + QLatin1Char(' ') + tr(reason);
}

bool mayLetGo(QWidget *parent, const QString &domain)
{
    QString error;
    const Holder holder = findHolder(domain, &error);
    if (holder == Nothing)
        return true;
    if (holder == Failed) {
        DBConn *conn = bobject::connection();
        if (conn && conn->isConnected())
            bmessagebox::critical(parent, error);
        return false;
    }
    bmessagebox::warning(parent, refusalText(domain, holder));
    return false;
}

} // namespace domainguard

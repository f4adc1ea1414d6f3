#include "pages/aliases/namedconflicts.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbtable.h"
#include "forms/bobject.h"

#include <QRegularExpression>

namespace namedconflicts {

namespace {

// The first row of table (columns nameColumn, matchColumn) in the domain
// whose match column holds name, alone or in its list of addresses.
QString findOwner(const QString &table, const QString &nameColumn, const QString &matchColumn,
                  const QString &domain, const QString &name, bool inList)
{
    DBConn *conn = bobject::connection();
    if (!conn || name.isEmpty())
        return {};
    QList<DBKol> columns{DBKol(DBType::Text, nameColumn)};
    if (matchColumn != nameColumn)
        columns.append(DBKol(DBType::Text, matchColumn));
    DBTable rows(conn, table, columns, DBTable::Options{.filter = domainFilter(domain)});
    if (!rows.selectSync())
        return {};
    static const QRegularExpression separators(QStringLiteral("[,;\\s]+"));
    for (const DBRow *row : rows.rows()) {
        const QString value = row->text(matchColumn);
        const QStringList candidates
                = inList ? value.split(separators, Qt::SkipEmptyParts) : QStringList{value};
        for (const QString &candidate : candidates) {
            if (candidate.compare(name, Qt::CaseInsensitive) == 0)
                return row->text(nameColumn).isEmpty() ? name : row->text(nameColumn);
        }
    }
    return {};
}

} // namespace

QString domainFilter(const QString &domain)
{
    return QStringLiteral("Domain=") + dbLiteral(domain);
}

bool aliasExists(const QString &domain, const QString &name)
{
    return !findOwner(QStringLiteral("Alias"), QStringLiteral("Lhs"), QStringLiteral("Lhs"), domain,
                      name, false)
                    .isEmpty();
}

bool mailingListExists(const QString &domain, const QString &name)
{
    return !findOwner(QStringLiteral("MailingList"), QStringLiteral("Name"), QStringLiteral("Name"),
                      domain, name, false)
                    .isEmpty();
}

bool userExists(const QString &domain, const QString &name)
{
    return !findOwner(QStringLiteral("User"), QStringLiteral("Name"), QStringLiteral("Name"),
                      domain, name, false)
                    .isEmpty();
}

QString userWithAddress(const QString &domain, const QString &name)
{
    return findOwner(QStringLiteral("User"), QStringLiteral("Name"), QStringLiteral("MailAddress"),
                     domain, name, true);
}

QString groupWithAddress(const QString &domain, const QString &name)
{
    return findOwner(QStringLiteral("Group"), QStringLiteral("Name"), QStringLiteral("MailAddress"),
                     domain, name, true);
}

} // namespace namedconflicts

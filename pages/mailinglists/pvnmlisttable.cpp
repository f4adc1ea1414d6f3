#include "pages/mailinglists/pvnmlisttable.h"

#include "db/dbquote.h"

namespace {

const DBKolDecl kRosterColumns[] = {
        {DBType::Text, "Email", true, 0},
        {DBType::Text, "FullName", false, 0},
        {0, nullptr, false, 0},
};

QString call(const QString &function, const QStringList &arguments)
{
    return QStringLiteral("select ") + dbFunctionCall(function, arguments);
}

} // namespace

PvnMListTable::PvnMListTable(DBConn *connection, const QString &listName, const QString &domain,
                             const QString &kind, QObject *parent)
    : DBTable(connection, QStringLiteral("MListList"), kRosterColumns,
              DBTable::Options{.keysIgnoreCase = true}, parent)
    , m_listName(listName)
    , m_domain(domain)
    , m_kind(kind)
{ }

QString PvnMListTable::tableNameForSelect() const
{
    return dbFunctionCall(QStringLiteral("MListList"), {m_listName, m_domain, m_kind});
}

QStringList PvnMListTable::insertStatements(const DBRow &row) const
{
    return {call(QStringLiteral("MListAdd"),
                 {m_listName, m_domain, row.text("Email"), m_kind, row.text("FullName")})};
}

QStringList PvnMListTable::updateStatements(const DBRow &baseline, const DBRow &edited) const
{
    if (baseline.text("Email") == edited.text("Email")
        && baseline.text("FullName") == edited.text("FullName"))
        return {};
    return {call(QStringLiteral("MListChange"),
                 {m_listName, m_domain, baseline.text("Email"), baseline.text("FullName"),
                  edited.text("Email"), edited.text("FullName"), m_kind})};
}

QString PvnMListTable::removeStatement(const DBRow &row) const
{
    return call(QStringLiteral("MListDel"), {m_listName, m_domain, row.text("Email"), m_kind});
}

QStringList PvnMListTable::deleteStatements(const DBRow &row) const
{
    return {removeStatement(row)};
}

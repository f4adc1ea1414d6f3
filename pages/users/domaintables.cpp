#include "pages/users/domaintables.h"

#include "db/dbkols.h"
#include "db/dbquote.h"
#include "db/dbrow.h"

DomainTables::DomainTables(DBConn *connection, const QString &domain)
    : m_connection(connection)
    , m_domain(domain)
    , m_trans(connection)
{ }

DBTable *DomainTables::addTable(const QString &tableName, DBTable::Options options,
                                const DBTransTab::MemberOptions &member)
{
    if (options.filter.isEmpty())
        options.filter = domainformlist::domainFilter(m_domain);
    return adoptTable(std::make_unique<DBTable>(m_connection, tableName, QList<DBKol>(), options),
                      member);
}

DBTable *DomainTables::adoptTable(std::unique_ptr<DBTable> table,
                                  const DBTransTab::MemberOptions &member)
{
    DBTable *raw = table.get();
    m_tables.push_back(std::move(table));
    m_trans.addTable(raw, member);
    return raw;
}

DBTable *DomainTables::table(const QString &tableName) const
{
    for (const auto &table : m_tables) {
        if (table->tableName().compare(tableName, Qt::CaseInsensitive) == 0)
            return table.get();
    }
    return nullptr;
}

namespace domainformlist {

bool isPlainDomainName(const QString &domain)
{
    if (domain.isEmpty())
        return false;
    for (const QChar c : domain) {
        const ushort u = c.unicode();
        const bool ok = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9')
                || u == '.' || u == '-';
        if (!ok)
            return false;
    }
    return true;
}

QString domainFilter(const QString &domain)
{
    return QStringLiteral("Domain = ") + (isPlainDomainName(domain) ? domain : dbLiteral(domain));
}

bool rowMatchesText(const DBRow &row, const QString &text)
{
    if (text.isEmpty())
        return true;
    // The searched columns' positions, looked up once per column set.
    static thread_local const DBKols *cachedKols = nullptr;
    static thread_local int cachedCount = -1;
    static thread_local int positions[3] = {-1, -1, -1};
    const DBKols *kols = row.columns();
    if (!kols)
        return false;
    if (kols != cachedKols || kols->count() != cachedCount) {
        cachedKols = kols;
        cachedCount = kols->count();
        const bool report = kols->reportsMissing();
        const_cast<DBKols *>(kols)->setReportMissing(false);
        positions[0] = kols->indexOf(QStringLiteral("Name"));
        positions[1] = kols->indexOf(QStringLiteral("Fullname"));
        positions[2] = kols->indexOf(QStringLiteral("Description"));
        const_cast<DBKols *>(kols)->setReportMissing(report);
    }
    for (int position : positions) {
        if (position >= 0 && row.text(position).contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace domainformlist

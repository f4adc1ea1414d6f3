#include "pages/users/pvnusertable.h"

#include "db/dbrow.h"
#include "pages/usergroups/ugtexts.h"

namespace {

qint64 rowSourceOf(const DBRow &row)
{
    return row.text(QStringLiteral("$RowSource")).toLongLong();
}

} // namespace

PvnUserTable::PvnUserTable(DBConn *connection, const Options &options, QObject *parent)
    : DBTable(connection, QStringLiteral("User"), QList<DBKol>(), options, parent)
{ }

QString PvnUserTable::activateStatement(const DBRow &row) const
{
    return QStringLiteral("update ") + tableNameForUpdate()
            + QStringLiteral(" set Account_enabled='1'") + keyCondition(row)
            + QStringLiteral(" controls ProviderID=%1").arg(rowSourceOf(row));
}

QStringList PvnUserTable::insertStatements(const DBRow &row) const
{
    QStringList statements = DBTable::insertStatements(row);
    if (m_activate && rowSourceOf(row) != 0)
        statements.append(activateStatement(row));
    return statements;
}

QStringList PvnUserTable::updateStatements(const DBRow &baseline, const DBRow &edited) const
{
    QStringList statements = DBTable::updateStatements(baseline, edited);
    if (m_activate && rowSourceOf(edited) != 0 && !statements.isEmpty())
        statements.append(activateStatement(edited));
    return statements;
}

QString PvnUserTable::sizeText(qint64 kilobytes, bool exact)
{
    constexpr qint64 kMega = 1024;
    constexpr qint64 kGiga = 1024 * 1024;
    if (exact) {
        if (kilobytes != 0 && kilobytes % kGiga == 0)
            return tr("%1 GB").arg(kilobytes / kGiga);
        if (kilobytes != 0 && kilobytes % kMega == 0)
            return tr("%1 MB").arg(kilobytes / kMega);
        return tr("%1 kB").arg(kilobytes);
    }
    if (kilobytes >= kGiga)
        return tr("%1 GB").arg(double(kilobytes) / kGiga, 0, 'f', 1);
    if (kilobytes >= kMega)
        return tr("%1 MB").arg(double(kilobytes) / kMega, 0, 'f', 1);
    return tr("%1 kB").arg(kilobytes);
}

QString PvnUserTable::durationText(qint64 seconds)
{
    if (seconds < 60)
        return tr("Less than 1 minute");
    const qint64 days = seconds / 86400;
    const qint64 hours = seconds % 86400 / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    QStringList parts;
    if (days > 0)
        parts << (days == 1 ? tr("1 day") : tr("%1 days").arg(days));
    if (hours > 0)
        parts << (hours == 1 ? tr("1 hour") : tr("%1 hours").arg(hours));
    if (minutes > 0)
        parts << (minutes == 1 ? tr("1 minute") : tr("%1 minutes").arg(minutes));
    return parts.join(QStringLiteral(", "));
}

QString PvnUserTable::rightsText(qint64 rights)
{
    return ugtexts::rightsText(rights);
}

QString PvnUserTable::dataSourceText(qint64 rowSource)
{
    return ugtexts::dataSourceText(rowSource);
}

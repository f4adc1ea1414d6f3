#include "pages/users/useritem.h"

#include "db/dbkols.h"
#include "db/dbrow.h"
#include "pages/users/pvnusertable.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QIcon>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("UserItem", text);
}

// The row's column positions, looked up once per column set: a list of
// many users would otherwise search the column names for every cell.
struct UserColumns
{
    const DBKols *kols = nullptr;
    int count = -1;
    int name, fullName, description, source, enabled, groups, addresses, auth, rights, storage,
            messages, forward;
};

const UserColumns &columnsOf(const DBRow &row)
{
    static thread_local UserColumns cache;
    const DBKols *kols = row.columns();
    if (cache.kols != kols || !kols || cache.count != kols->count()) {
        cache.kols = kols;
        cache.count = kols ? kols->count() : -1;
        auto at = [kols](const char *column) {
            return kols ? kols->indexOf(QString::fromLatin1(column)) : -1;
        };
        cache.name = at("Name");
        cache.fullName = at("Fullname");
        cache.description = at("Description");
        cache.source = at("$RowSource");
        cache.enabled = at("Account_enabled");
        cache.groups = at("Groups");
        cache.addresses = at("MailAddress");
        cache.auth = at("Auth_type");
        cache.rights = at("Rights");
        cache.storage = at("Qstorage");
        cache.messages = at("Qmessage");
        cache.forward = at("ForwardMode");
    }
    return cache;
}

QString cell(const DBRow &row, int index)
{
    return index < 0 ? QString() : row.text(index);
}

} // namespace

namespace useritem {

QStringList authTexts()
{
    return {tr("Internal user database"), tr("NT domain"), tr("PAM service"), tr("Kerberos")};
}

UsageValues usageValues(const UserUsage *usage)
{
    UsageValues values;
    if (usage) {
        values.storage = usage->storage;
        values.messages = usage->messages;
        values.lastLogin = usage->lastLogin;
        values.known = true;
    }
    return values;
}

qint64 sortValue(const DBRow &row, const UsageValues &usage, int column)
{
    const UserColumns &c = columnsOf(row);
    switch (column) {
    case ColStorageQuota:
        return cell(row, c.storage).toLongLong();
    case ColStorageUsage:
        return usage.storage;
    case ColMessageQuota:
        return cell(row, c.messages).toLongLong();
    case ColMessages:
        return usage.messages;
    case ColLastLogin:
        return usage.lastLogin;
    default:
        return 0;
    }
}

QString cellText(const DBRow &row, const UsageValues &usage, int column)
{
    static const QStringList auths = authTexts();
    static const QString yes = tr("Yes"), no = tr("No"), unlimited = tr("Unlimited"),
                         never = tr("Never"), forwardOnly = tr("Forward only"),
                         forwardDeliver = tr("Forward and deliver"),
                         noForwarding = tr("No forwarding");
    const UserColumns &c = columnsOf(row);
    switch (column) {
    case ColName:
        return cell(row, c.name);
    case ColFullName:
        return cell(row, c.fullName);
    case ColDescription:
        return cell(row, c.description);
    case ColDataSource:
        return PvnUserTable::dataSourceText(cell(row, c.source).toLongLong());
    case ColEnabled:
        return cell(row, c.enabled).toInt() != 0 ? yes : no;
    case ColGroups:
        return cell(row, c.groups);
    case ColAddresses:
        return cell(row, c.addresses);
    case ColAuth: {
        const int auth = cell(row, c.auth).toInt();
        return auth >= 0 && auth < auths.size() ? auths.at(auth) : QString::number(auth);
    }
    case ColRights:
        return PvnUserTable::rightsText(cell(row, c.rights).toLongLong());
    case ColStorageQuota: {
        const qint64 quota = sortValue(row, usage, column);
        return quota == 0 ? unlimited : PvnUserTable::sizeText(quota);
    }
    case ColStorageUsage:
        return usage.known ? PvnUserTable::sizeText(usage.storage, false) : QString();
    case ColMessageQuota: {
        const qint64 quota = sortValue(row, usage, column);
        return quota == 0 ? unlimited : QString::number(quota);
    }
    case ColMessages:
        return usage.known ? QString::number(usage.messages) : QString();
    case ColLastLogin:
        if (!usage.known)
            return QString();
        return usage.lastLogin > 0 ? QLocale().toString(
                       QDateTime::fromSecsSinceEpoch(usage.lastLogin), QLocale::ShortFormat)
                                   : never;
    case ColForwarding:
        switch (cell(row, c.forward).toInt()) {
        case 1:
            return forwardOnly;
        case 2:
            return forwardDeliver;
        default:
            return noForwarding;
        }
    default:
        return QString();
    }
}

} // namespace useritem

UserItem::UserItem(BListView *view, DBRow *row, const UserUsage *usage)
    : BRowTextItem(view, row)
{
    if (usage)
        m_usage = std::make_unique<useritem::UsageValues>(useritem::usageValues(usage));
}

const useritem::UsageValues &UserItem::usage() const
{
    static const useritem::UsageValues unknown;
    return m_usage ? *m_usage : unknown;
}

QString UserItem::cellText(int column) const
{
    return useritem::cellText(*row(), usage(), column);
}

BSortKey UserItem::sortKey(int column, const BCol *definition) const
{
    if (column >= useritem::ColStorageQuota && column <= useritem::ColLastLogin)
        return BSortKey::fromNumber(row() ? useritem::sortValue(*row(), usage(), column) : 0);
    return BRowTextItem::sortKey(column, definition);
}

void UserItem::refresh(const UserUsage *usage)
{
    if (!row())
        return;
    if (usage)
        m_usage = std::make_unique<useritem::UsageValues>(useritem::usageValues(usage));
    else
        m_usage.reset();
    rowChanged();
}

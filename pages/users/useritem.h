#pragma once

#include "forms/blistitems.h"

#include <QStringList>

#include <memory>

class BListView;
class DBRow;

// What the list shows of a user's mail store (from "ShowUserStats(%1)").
struct UserUsage
{
    qint64 storage = 0; // kB
    qint64 messages = 0;
    qint64 lastLogin = 0; // seconds since the epoch, 0 = never
};

namespace useritem {

// The list's columns, in definition order.
enum Column {
    ColName,
    ColFullName,
    ColDescription,
    ColDataSource,
    ColEnabled,
    ColGroups,
    ColAddresses,
    ColAuth,
    ColRights,
    ColStorageQuota,
    ColStorageUsage,
    ColMessageQuota,
    ColMessages,
    ColLastLogin,
    ColForwarding,
    ColumnCount
};

// What a user row shows of its mail store: usage, items and last login,
// or nothing when the usage was not asked for.
struct UsageValues
{
    qint64 storage = 0;
    qint64 messages = 0;
    qint64 lastLogin = 0;
    bool known = false;
};
UsageValues usageValues(const UserUsage *usage);
// The value a user row sorts by in the columns 10 to 14.
qint64 sortValue(const DBRow &row, const UsageValues &usage, int column);
// The text of one cell of a user row.
QString cellText(const DBRow &row, const UsageValues &usage, int column);

// The "Authentication:" choices, in combo order ("Auth_type").
QStringList authTexts();

} // namespace useritem

// A row of the Users page; the columns 10 to 14 sort by value.
//
class UserItem : public BRowTextItem
{
public:
    UserItem(BListView *view, DBRow *row, const UserUsage *usage = nullptr);

    QString cellText(int column) const override;
    BSortKey sortKey(int column, const BCol *definition) const override;
    // Takes the new values after the row was edited or its usage arrived.
    void refresh(const UserUsage *usage);

private:
    const useritem::UsageValues &usage() const;

    // Most lists never ask for the mail stores: the figures take no room
    // until they are known.
    std::unique_ptr<useritem::UsageValues> m_usage;
};

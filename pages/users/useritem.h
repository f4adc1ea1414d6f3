#pragma once

#include "forms/blistitems.h"

#include <QStringList>

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

// The cell texts of a user row (usage may be null: not loaded).
QStringList texts(const DBRow &row, const UserUsage *usage);
// The values columns 10 to 14 sort by: quota, usage, item quota, items, login.
void sortValues(const DBRow &row, const UserUsage *usage, qint64 values[5]);
// The "Authentication:" choices, in combo order ("Auth_type").
QStringList authTexts();

} // namespace useritem

// A row of a user list; the columns 10 to 14 sort by value. Base is
// BListViewItem (the Users page) or BCheckListItem (the import dialogs).
template<class Base>
class UserItemT : public Base
{
public:
    UserItemT(BListView *view, DBRow *row, const UserUsage *usage = nullptr)
        : Base(view, row, useritem::texts(*row, usage))
    {
        useritem::sortValues(*row, usage, m_values);
    }

    BSortKey sortKey(int column, const BCol *definition) const override
    {
        if (column >= useritem::ColStorageQuota && column <= useritem::ColLastLogin)
            return BSortKey::fromNumber(m_values[column - useritem::ColStorageQuota]);
        return Base::sortKey(column, definition);
    }

    // Refreshes texts and values after the row was edited.
    void refresh(const UserUsage *usage)
    {
        if (!this->row())
            return;
        const QStringList cells = useritem::texts(*this->row(), usage);
        for (int i = 0; i < cells.size(); ++i)
            this->setText(i, cells.at(i));
        useritem::sortValues(*this->row(), usage, m_values);
    }

private:
    qint64 m_values[5] = {0, 0, 0, 0, 0};
};

using UserItem = UserItemT<BListViewItem>;

// The checkable variant: the texts constructor is made here, as
// BCheckListItem has none.
class UserCheckBase : public BCheckListItem
{
public:
    UserCheckBase(BListView *view, DBRow *row, const QStringList &texts);
};
using UserCheckItem = UserItemT<UserCheckBase>;

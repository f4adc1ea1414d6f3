#pragma once

#include <QTreeWidgetItem>

class BCol;
class BListView;
class DBRow;

// What every row of a list page answers: its table row, whether it may be
// edited and whether it may be removed.
class BBaseListItem
{
public:
    explicit BBaseListItem(DBRow *row = nullptr)
        : m_row(row)
    { }
    virtual ~BBaseListItem() = default;

    DBRow *row() const { return m_row; }
    void setRow(DBRow *row) { m_row = row; }
    virtual bool canEdit() const { return true; }
    virtual bool canRemove() const { return true; }

private:
    DBRow *m_row;
};

// A row of a BListView. Sorting compares through the column's definition: a
// row class may compare particular columns by value (numbers, sizes, times),
// every other column compares by text.
class BListViewItem : public QTreeWidgetItem, public BBaseListItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 1 };

    explicit BListViewItem(DBRow *row = nullptr, int type = Type);
    BListViewItem(BListView *view, DBRow *row = nullptr, int type = Type);
    BListViewItem(QTreeWidgetItem *parent, DBRow *row = nullptr, int type = Type);
    // Sets the texts before the row joins the view: one insertion, no change
    // notifications (the cheap way to fill long lists).
    BListViewItem(BListView *view, DBRow *row, const QStringList &texts, int type = Type);

    // Negative, zero or positive as this row sorts before, with or after other
    // in ascending order of the given column.
    virtual int compare(const BListViewItem &other, int column, const BCol *definition) const;
    bool operator<(const QTreeWidgetItem &other) const override;

    static int compareNumbers(qint64 left, qint64 right) { return (left > right) - (left < right); }
};

// A checkable row; check changes reach the list view's signalItemChecked().
class BCheckListItem : public BListViewItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 2 };

    explicit BCheckListItem(DBRow *row = nullptr, int type = Type);
    BCheckListItem(BListView *view, DBRow *row = nullptr, int type = Type);

    bool isOn() const { return checkState(0) == Qt::Checked; }
    void setOn(bool on) { setCheckState(0, on ? Qt::Checked : Qt::Unchecked); }
    // Reports check changes to the list view.
    void setData(int column, int role, const QVariant &value) override;
};

// A checkable row of an ordered list, sorted by its order number.
class BOrderListItem : public BCheckListItem
{
public:
    enum { Type = QTreeWidgetItem::UserType + 3 };

    explicit BOrderListItem(DBRow *row = nullptr, int order = 0);
    BOrderListItem(BListView *view, DBRow *row = nullptr, int order = 0);

    int order() const { return m_order; }
    void setOrder(int order) { m_order = order; }
    int compare(const BListViewItem &other, int column, const BCol *definition) const override;

private:
    int m_order;
};

// Returns the list-page face of a tree item, or null for foreign items.
BBaseListItem *baseListItem(QTreeWidgetItem *item);

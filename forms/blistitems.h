#pragma once

#include <QString>
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
    // Lets go of the row, whose table is about to replace its rows; the
    // item goes on showing what it showed.
    virtual void releaseRow() { m_row = nullptr; }
    virtual bool canEdit() const { return true; }
    virtual bool canRemove() const { return true; }

private:
    DBRow *m_row;
};

// The value a row sorts by in one column: a number (counts, sizes, times) or
// a text. Lists compute it once per row and sort on it, so a sort of a long
// list costs one virtual call per row, not one per comparison.
class BSortKey
{
public:
    BSortKey() = default;
    static BSortKey fromNumber(qint64 number)
    {
        BSortKey key;
        key.m_number = number;
        key.m_isNumber = true;
        return key;
    }
    static BSortKey fromText(QString text)
    {
        BSortKey key;
        key.m_text = std::move(text);
        return key;
    }

    // The key of a row that stays below every row without such a key, in
    // ascending and in descending order (group rows under the users of a
    // list); such rows compare among themselves by the key itself.
    static BSortKey belowOthers(BSortKey key)
    {
        key.m_below = true;
        return key;
    }

    bool isNumber() const { return m_isNumber; }
    bool isBelowOthers() const { return m_below; }
    qint64 number() const { return m_number; }
    const QString &text() const { return m_text; }

    // Negative, zero or positive as left sorts before, with or after right in
    // ascending order. Numbers sort before texts; texts compare by code unit.
    static int compare(const BSortKey &left, const BSortKey &right)
    {
        if (left.m_isNumber != right.m_isNumber)
            return left.m_isNumber ? -1 : 1;
        if (left.m_isNumber)
            return (left.m_number > right.m_number) - (left.m_number < right.m_number);
        return left.m_text.compare(right.m_text);
    }

private:
    QString m_text;
    qint64 m_number = 0;
    bool m_isNumber = false;
    bool m_below = false;
};

// A row of a BListView. Sorting goes through the column's definition: a row
// class gives particular columns a number key (numbers, sizes, times compare
// by value); every other column sorts by its text.
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

    // What this row sorts by in the given column (definition may be null for
    // a list without a column set). The default is the column's text.
    virtual BSortKey sortKey(int column, const BCol *definition) const;
    bool operator<(const QTreeWidgetItem &other) const override;
    // Forgets the kept text of the sort column when that column changes.
    void setData(int column, int role, const QVariant &value) override;

private:
    // The sort column's text as the texts constructor got it, kept for the
    // fill's sort (cheaper than reading it back); -1 when none is kept.
    QString m_sortText;
    int m_sortTextColumn = -1;
};

// A row whose cells are formatted from its table row whenever the view asks,
// with no texts kept: a list of many rows costs little more than the rows,
// and an edited row shows its new values once rowChanged() is called.
// An item that lets go of its row keeps the texts of the shown columns.
class BRowTextItem : public BListViewItem
{
public:
    BRowTextItem(BListView *view, DBRow *row, int type = Type)
        : BListViewItem(view, row, type)
    { }

    QVariant data(int column, int role) const override;
    // The text of a cell of row(), which is not null.
    virtual QString cellText(int column) const = 0;
    // Keeps the texts of the shown columns: the row is about to go.
    void releaseRow() override;
    // The row was edited: the view asks for its cells again.
    void rowChanged() { emitDataChanged(); }
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
    // Ordered rows sort by their order number in every column.
    BSortKey sortKey(int column, const BCol *definition) const override;

private:
    int m_order;
};

// Returns the list-page face of a tree item, or null for foreign items.
BBaseListItem *baseListItem(QTreeWidgetItem *item);

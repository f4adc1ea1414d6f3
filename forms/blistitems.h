#pragma once

#include "db/dbmemory.h"
#include "forms/bsortkey.h"

#include <QHash>
#include <QIcon>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <memory>
#include <vector>

class BCol;
class BListModel;
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

// A row of a BListView: a small object over its table row that formats its
// cells and sort keys when the view asks. It holds no texts unless it is
// given some (setText); rows that format from their table row (BRowTextItem)
// cost little more than a pointer each. Rows can have child rows (domains
// with their aliases); the list owns its rows and a row its children.
//
// Sorting goes through the column's definition: a row class gives particular
// columns a number key (numbers, sizes, times compare by value); every other
// column sorts by its text.
class BListViewItem : public BBaseListItem
{
public:
    enum { Type = 1001 };

    // Rows made while a BListItemArena lives come from its shared chunks;
    // the others from the heap. Both go with delete.
    static void *operator new(std::size_t size);
    static void operator delete(void *item, std::size_t size) noexcept;

    explicit BListViewItem(DBRow *row = nullptr, int type = Type);
    BListViewItem(BListView *view, DBRow *row = nullptr, int type = Type);
    BListViewItem(BListViewItem *parent, DBRow *row = nullptr, int type = Type);
    // Sets the texts before the row joins the view.
    BListViewItem(BListView *view, DBRow *row, const QStringList &texts, int type = Type);
    BListViewItem(BListView *view, const QStringList &texts, int type = Type)
        : BListViewItem(view, nullptr, texts, type)
    { }
    BListViewItem(BListViewItem *parent, const QStringList &texts, int type = Type);
    // Leaves its list or parent and deletes its children.
    ~BListViewItem() override;
    BListViewItem(const BListViewItem &) = delete;
    BListViewItem &operator=(const BListViewItem &) = delete;

    int type() const { return m_type; }

    // Cells. data() answers the view for every role; text() is its display
    // text. setData() keeps what it is given and tells the view.
    virtual QVariant data(int column, int role) const;
    virtual void setData(int column, int role, const QVariant &value);
    QString text(int column) const { return data(column, Qt::DisplayRole).toString(); }
    void setText(int column, const QString &text) { setData(column, Qt::DisplayRole, text); }
    QIcon icon(int column) const { return qvariant_cast<QIcon>(data(column, Qt::DecorationRole)); }
    void setIcon(int column, const QIcon &icon) { setData(column, Qt::DecorationRole, icon); }
    QString toolTip(int column) const { return data(column, Qt::ToolTipRole).toString(); }
    void setToolTip(int column, const QString &tip) { setData(column, Qt::ToolTipRole, tip); }
    int textAlignment(int column) const { return data(column, Qt::TextAlignmentRole).toInt(); }
    void setTextAlignment(int column, int alignment)
    {
        setData(column, Qt::TextAlignmentRole, alignment);
    }
    Qt::CheckState checkState(int column) const
    {
        return Qt::CheckState(data(column, Qt::CheckStateRole).toInt());
    }
    void setCheckState(int column, Qt::CheckState state)
    {
        setData(column, Qt::CheckStateRole, int(state));
    }
    Qt::ItemFlags flags() const { return Qt::ItemFlags(m_flags); }
    void setFlags(Qt::ItemFlags flags);
    // The view shows the row anew (its cells were computed from changed data).
    void emitDataChanged();

    // What this row sorts by in the given column (definition may be null for
    // a list without a column set). The default is the column's text.
    virtual BSortKey sortKey(int column, const BCol *definition) const;

    // The tree of rows. parent() is null for a top-level row.
    BListViewItem *parent() const;
    BListView *listView() const;
    int childCount() const { return m_children ? int(m_children->all.size()) : 0; }
    BListViewItem *child(int index) const;
    int indexOfChild(const BListViewItem *child) const;
    void addChild(BListViewItem *child) { insertChild(childCount(), child); }
    void addChildren(const QList<BListViewItem *> &children);
    void insertChild(int index, BListViewItem *child);
    void insertChildren(int index, const QList<BListViewItem *> &children);
    BListViewItem *takeChild(int index);
    QList<BListViewItem *> takeChildren();
    void removeChild(BListViewItem *child);

    // A hidden row stays in the list (child(), iteration) and is not shown.
    bool isHidden() const { return m_hidden; }
    void setHidden(bool hidden);
    // Whether the row offers to open while it has no children yet (they are
    // made when it opens).
    enum ChildIndicatorPolicy { ShowIndicator, DontShowIndicatorWhenChildless };
    void setChildIndicatorPolicy(ChildIndicatorPolicy policy);
    ChildIndicatorPolicy childIndicatorPolicy() const
    {
        return m_showIndicator ? ShowIndicator : DontShowIndicatorWhenChildless;
    }
    bool isExpanded() const { return m_expanded; }
    void setExpanded(bool expanded);
    bool isSelected() const;
    void setSelected(bool selected);

protected:
    void setCheckable() { m_checkable = true; }
    // Keeps texts the row shows from now on.
    void keepTexts(QStringList texts);
    // For rows that format their cells (cellText) from their table row:
    // keeps the texts of the shown columns before the row lets go of it.
    void keepShownTexts(const std::function<QString(int)> &cellText);

private:
    friend class BListModel;
    friend class BListView;
    friend class BListViewItemIterator;
    friend class BListModelWalk;
    // Texts and other values given to the row, kept apart so that rows
    // that format their cells from their table row carry none.
    struct Cells
    {
        QStringList texts;
        QHash<qint64, QVariant> values; // (column << 32 | role) -> value
    };
    // The rows below a row: all of them in list order, and those the view
    // was last told about (BListModel::publish), in shown order.
    struct Children
    {
        std::vector<BListViewItem *> all;
        std::vector<BListViewItem *> shown;
        BListModel *model = nullptr; // set on a list's root and header rows
        bool indexesValid = true; // the rows' m_index are their places in all
    };

    BListModel *model() const;
    void detachChild(BListViewItem *child);
    Children &children();
    void insertChildren(int index, BListViewItem *const *children, qsizetype count);

    BListViewItem *m_parent = nullptr;
    std::unique_ptr<Children> m_children;
    std::unique_ptr<Cells> m_cells;
    int m_index = 0; // place among its parent's rows (checked before use)
    int m_shownRow = -1; // row as the view knows it, -1 when not shown
    quint16 m_type;
    quint16 m_flags;
    // One byte of states: a row of a million-row list takes 56 bytes.
    quint8 m_checkState : 2 = 0;
    bool m_checkable : 1 = false;
    bool m_hidden : 1 = false;
    bool m_expanded : 1 = false;
    bool m_showIndicator : 1 = false;
    bool m_isRoot : 1 = false;
    bool m_isHeader : 1 = false;
};

// A row whose cells are formatted from its table row whenever the view asks,
// with no texts kept: a list of many rows costs little more than the rows,
// and an edited row shows its new values once rowChanged() is called.
// A row that lets go of its table row keeps the texts of the shown columns.
class BRowTextItem : public BListViewItem
{
public:
    BRowTextItem(BListView *view, DBRow *row, int type = Type)
        : BListViewItem(view, row, type)
    { }

    QVariant data(int column, int role) const override;
    // The text of a cell of row(), which is not null.
    virtual QString cellText(int column) const = 0;
    BSortKey sortKey(int column, const BCol *definition) const override;
    // Keeps the texts of the shown columns: the row is about to go.
    void releaseRow() override;
    // The row was edited: the view asks for its cells again.
    void rowChanged() { emitDataChanged(); }
};

// A row whose cells are what its list's columns say of its table row
// (BCols::setCell).
class BDeclaredItem : public BRowTextItem
{
public:
    BDeclaredItem(BListView *view, DBRow *row, int type = Type)
        : BRowTextItem(view, row, type)
    { }

    QString cellText(int column) const override;
    BSortKey sortKey(int column, const BCol *definition) const override;
};

// A checkable row; check changes reach the list view's signalItemChecked().
class BCheckListItem : public BListViewItem
{
public:
    enum { Type = 1002 };

    explicit BCheckListItem(DBRow *row = nullptr, int type = Type);
    BCheckListItem(BListView *view, DBRow *row = nullptr, int type = Type);

    bool isOn() const { return checkState(0) == Qt::Checked; }
    void setOn(bool on) { setCheckState(0, on ? Qt::Checked : Qt::Unchecked); }
    // Reports check changes to the list view.
    void setData(int column, int role, const QVariant &value) override;
};

// A checkable row whose cells are formatted from its table row whenever the
// view asks, as BRowTextItem does.
class BCheckRowTextItem : public BCheckListItem
{
public:
    explicit BCheckRowTextItem(DBRow *row, int type = Type)
        : BCheckListItem(row, type)
    { }
    BCheckRowTextItem(BListView *view, DBRow *row, int type = Type)
        : BCheckListItem(view, row, type)
    { }

    QVariant data(int column, int role) const override;
    // The text of a cell of row(), which is not null.
    virtual QString cellText(int column) const = 0;
    // Keeps the texts of the shown columns: the row is about to go.
    void releaseRow() override;
    // The row was edited: the view asks for its cells again.
    void rowChanged() { emitDataChanged(); }
};

// A checkable row of an ordered list, sorted by its order number.
class BOrderListItem : public BCheckListItem
{
public:
    enum { Type = 1003 };

    explicit BOrderListItem(DBRow *row = nullptr, int order = 0);
    BOrderListItem(BListView *view, DBRow *row = nullptr, int order = 0);

    int order() const { return m_order; }
    void setOrder(int order) { m_order = order; }
    // Ordered rows sort by their order number in every column.
    BSortKey sortKey(int column, const BCol *definition) const override;

private:
    int m_order;
};

// While one lives, the rows made on this thread are packed into a few large
// shared allocations (dbmemory) instead of one allocation each: a list
// filled with a million rows takes a fraction of the time and memory. The
// first arena of a thread serves the rows; nested ones do nothing. A row
// used after it was deleted is still caught by the address sanitizer.
class BListItemArena
{
public:
    BListItemArena();
    ~BListItemArena();
    BListItemArena(const BListItemArena &) = delete;
    BListItemArena &operator=(const BListItemArena &) = delete;

private:
    std::unique_ptr<dbmemory::ChunkFeeder> m_feeder;
};

// Walks every row of a list, children after their parent, hidden rows too.
class BListViewItemIterator
{
public:
    explicit BListViewItemIterator(const BListView *view);
    explicit BListViewItemIterator(BListViewItem *start);
    BListViewItem *operator*() const { return m_current; }
    BListViewItemIterator &operator++();

private:
    BListViewItem *m_current;
};

// Returns the list-page face of a row, or null.
inline BBaseListItem *baseListItem(BListViewItem *item)
{
    return item;
}

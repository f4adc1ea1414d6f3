#include "forms/blistitems.h"

#include "forms/blistview.h"

BListViewItem::BListViewItem(DBRow *row, int type)
    : QTreeWidgetItem(type)
    , BBaseListItem(row)
{ }

BListViewItem::BListViewItem(BListView *view, DBRow *row, int type)
    : QTreeWidgetItem(type)
    , BBaseListItem(row)
{
    if (view)
        view->adoptItem(this);
}

BListViewItem::BListViewItem(QTreeWidgetItem *parent, DBRow *row, int type)
    : QTreeWidgetItem(parent, type)
    , BBaseListItem(row)
{ }

BListViewItem::BListViewItem(BListView *view, DBRow *row, const QStringList &texts, int type)
    : QTreeWidgetItem(texts, type)
    , BBaseListItem(row)
{
    if (!view)
        return;
    const int column = view->fillSortColumn();
    if (column >= 0 && column < texts.size()) {
        m_sortText = texts.at(column);
        m_sortTextColumn = column;
    }
    view->adoptItem(this);
}

BSortKey BListViewItem::sortKey(int column, const BCol *) const
{
    if (column == m_sortTextColumn)
        return BSortKey::fromText(m_sortText);
    return BSortKey::fromText(text(column));
}

void BListViewItem::setData(int column, int role, const QVariant &value)
{
    if (column == m_sortTextColumn && (role == Qt::DisplayRole || role == Qt::EditRole)) {
        m_sortTextColumn = -1;
        m_sortText.clear();
    }
    QTreeWidgetItem::setData(column, role, value);
}

// The lists sort on keys computed once per row (BListView::sortRows); this
// answers any other sort that asks the toolkit's way, with the same order.
bool BListViewItem::operator<(const QTreeWidgetItem &other) const
{
    const auto *otherItem = dynamic_cast<const BListViewItem *>(&other);
    QTreeWidget *tree = treeWidget();
    const int column = tree ? tree->sortColumn() : 0;
    if (!otherItem)
        return QTreeWidgetItem::operator<(other);
    const auto *view = qobject_cast<const BListView *>(tree);
    const BCol *definition = view ? view->columnDefinition(column) : nullptr;
    return BSortKey::compare(sortKey(column, definition), otherItem->sortKey(column, definition))
            < 0;
}

QVariant BRowTextItem::data(int column, int role) const
{
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && row() && column >= 0)
        return cellText(column);
    return BListViewItem::data(column, role);
}

void BRowTextItem::releaseRow()
{
    if (QTreeWidget *tree = treeWidget(); tree && row()) {
        for (int column = 0; column < tree->columnCount(); ++column) {
            if (!tree->isColumnHidden(column))
                QTreeWidgetItem::setData(column, Qt::DisplayRole, cellText(column));
        }
    }
    BListViewItem::releaseRow();
}

BCheckListItem::BCheckListItem(DBRow *row, int type)
    : BListViewItem(row, type)
{
    setFlags(flags() | Qt::ItemIsUserCheckable);
    setCheckState(0, Qt::Unchecked);
}

BCheckListItem::BCheckListItem(BListView *view, DBRow *row, int type)
    : BListViewItem(row, type)
{
    setFlags(flags() | Qt::ItemIsUserCheckable);
    setCheckState(0, Qt::Unchecked);
    if (view)
        view->adoptItem(this);
}

void BCheckListItem::setData(int column, int role, const QVariant &value)
{
    const bool checkChange = role == Qt::CheckStateRole && column == 0;
    const Qt::CheckState before = checkState(0);
    BListViewItem::setData(column, role, value);
    if (checkChange && before != checkState(0)) {
        if (auto *view = qobject_cast<BListView *>(treeWidget()))
            view->slotItemChecked(this);
    }
}

BOrderListItem::BOrderListItem(DBRow *row, int order)
    : BCheckListItem(row, Type)
    , m_order(order)
{ }

BOrderListItem::BOrderListItem(BListView *view, DBRow *row, int order)
    : BCheckListItem(row, Type)
    , m_order(order)
{
    if (view)
        view->adoptItem(this);
}

BSortKey BOrderListItem::sortKey(int, const BCol *) const
{
    return BSortKey::fromNumber(m_order);
}

BBaseListItem *baseListItem(QTreeWidgetItem *item)
{
    return dynamic_cast<BBaseListItem *>(item);
}

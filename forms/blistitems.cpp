#include "forms/blistitems.h"

#include "forms/blistview.h"

BListViewItem::BListViewItem(DBRow *row, int type)
    : QTreeWidgetItem(type)
    , BBaseListItem(row)
{ }

BListViewItem::BListViewItem(BListView *view, DBRow *row, int type)
    : QTreeWidgetItem(view, type)
    , BBaseListItem(row)
{ }

BListViewItem::BListViewItem(QTreeWidgetItem *parent, DBRow *row, int type)
    : QTreeWidgetItem(parent, type)
    , BBaseListItem(row)
{ }

BListViewItem::BListViewItem(BListView *view, DBRow *row, const QStringList &texts, int type)
    : QTreeWidgetItem(texts, type)
    , BBaseListItem(row)
{
    if (view)
        view->addTopLevelItem(this);
}

int BListViewItem::compare(const BListViewItem &other, int column, const BCol *) const
{
    return text(column).compare(other.text(column));
}

bool BListViewItem::operator<(const QTreeWidgetItem &other) const
{
    const auto *otherItem = dynamic_cast<const BListViewItem *>(&other);
    QTreeWidget *tree = treeWidget();
    const int column = tree ? tree->sortColumn() : 0;
    if (!otherItem)
        return QTreeWidgetItem::operator<(other);
    const auto *view = qobject_cast<const BListView *>(tree);
    const BCol *definition = nullptr;
    if (view && column >= 0 && column < view->cols().count())
        definition = &view->cols().column(column);
    return compare(*otherItem, column, definition) < 0;
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
        view->addTopLevelItem(this);
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
        view->addTopLevelItem(this);
}

int BOrderListItem::compare(const BListViewItem &other, int column, const BCol *definition) const
{
    if (const auto *ordered = dynamic_cast<const BOrderListItem *>(&other))
        return compareNumbers(m_order, ordered->m_order);
    return BListViewItem::compare(other, column, definition);
}

BBaseListItem *baseListItem(QTreeWidgetItem *item)
{
    return dynamic_cast<BBaseListItem *>(item);
}

#include "forms/blistmodel.h"

#include "forms/bcol.h"
#include "forms/blistview.h"

#include <QSet>
#include <QTimer>

#include <algorithm>

// Walks over the rows' private parts.
class BListModelWalk
{
public:
    // Numbers the shown rows below parent (all of them when parent is shown)
    // and marks every other row of the subtree as not shown.
    static void number(BListViewItem *parent, bool parentShown)
    {
        if (!parent->m_children)
            return;
        BListViewItem::Children &children = *parent->m_children;
        children.shown.clear();
        if (parentShown)
            children.shown.reserve(children.all.size());
        for (size_t i = 0; i < children.all.size(); ++i) {
            BListViewItem *child = children.all[i];
            child->m_index = int(i);
            const bool shown = parentShown && !child->m_hidden;
            if (shown) {
                child->m_shownRow = int(children.shown.size());
                children.shown.push_back(child);
            } else {
                child->m_shownRow = -1;
            }
            number(child, shown);
        }
        children.indexesValid = true;
    }
    // Marks a row and the rows below it as not shown.
    static void unpublish(BListViewItem *item)
    {
        item->m_shownRow = -1;
        if (item->m_children) {
            item->m_children->shown.clear();
            for (BListViewItem *child : item->m_children->all)
                unpublish(child);
        }
    }
};

BListModel::BListModel(BListView *view)
    : QAbstractItemModel(view)
    , m_view(view)
    , m_root(std::make_unique<BListViewItem>())
    , m_header(std::make_unique<BListViewItem>())
{
    m_root->m_isRoot = true;
    m_root->children().model = this;
    m_header->m_isHeader = true;
    m_header->children().model = this;
}

BListModel::~BListModel()
{
    clear();
}

void BListModel::setColumnCount(int columns)
{
    if (columns == m_columns)
        return;
    if (columns > m_columns) {
        beginInsertColumns(QModelIndex(), m_columns, columns - 1);
        m_columns = columns;
        endInsertColumns();
    } else {
        beginRemoveColumns(QModelIndex(), columns, m_columns - 1);
        m_columns = columns;
        endRemoveColumns();
    }
}

BListViewItem *BListModel::itemFromIndex(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<BListViewItem *>(index.internalPointer());
}

QModelIndex BListModel::indexFromItem(const BListViewItem *item, int column) const
{
    if (!item || item->m_shownRow < 0 || item->model() != this || column < 0 || column >= m_columns)
        return {};
    return createIndex(item->m_shownRow, column, const_cast<BListViewItem *>(item));
}

const std::vector<BListViewItem *> &BListModel::shownRows(const BListViewItem *parent) const
{
    static const std::vector<BListViewItem *> none;
    return parent && parent->m_children ? parent->m_children->shown : none;
}

BListViewItem *BListModel::parentItem(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return m_root.get();
    return parent.model() == this ? static_cast<BListViewItem *>(parent.internalPointer())
                                  : nullptr;
}

int BListModel::columnCount(const QModelIndex &) const
{
    return m_columns;
}

int BListModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid() && parent.column() != 0)
        return 0;
    return int(shownRows(parentItem(parent)).size());
}

bool BListModel::hasChildren(const QModelIndex &parent) const
{
    if (BListViewItem *item = itemFromIndex(parent); item && item->m_showIndicator)
        return parent.column() == 0;
    return rowCount(parent) > 0;
}

QModelIndex BListModel::index(int row, int column, const QModelIndex &parent) const
{
    const std::vector<BListViewItem *> &rows = shownRows(parentItem(parent));
    if (row < 0 || size_t(row) >= rows.size() || column < 0 || column >= m_columns)
        return {};
    return createIndex(row, column, rows[size_t(row)]);
}

QModelIndex BListModel::parent(const QModelIndex &child) const
{
    BListViewItem *item = itemFromIndex(child);
    if (!item || !item->m_parent || item->m_parent->m_isRoot)
        return {};
    return createIndex(item->m_parent->m_shownRow, 0, item->m_parent);
}

QVariant BListModel::data(const QModelIndex &index, int role) const
{
    BListViewItem *item = itemFromIndex(index);
    if (!item)
        return {};
    QVariant value = item->data(index.column(), role);
    if (role == Qt::TextAlignmentRole && !value.isValid()) {
        if (const BCol *column = m_view->columnDefinition(index.column()))
            return column->alignment();
    }
    return value;
}

bool BListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    BListViewItem *item = itemFromIndex(index);
    if (!item || role != Qt::CheckStateRole || !(item->flags() & Qt::ItemIsUserCheckable))
        return false;
    item->setData(index.column(), role, value);
    return true;
}

QVariant BListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
        return {};
    QVariant value = m_header->data(section, role);
    if (role == Qt::TextAlignmentRole && !value.isValid()) {
        if (const BCol *column = m_view->columnDefinition(section))
            return column->alignment();
    }
    return value;
}

Qt::ItemFlags BListModel::flags(const QModelIndex &index) const
{
    BListViewItem *item = itemFromIndex(index);
    if (!item)
        return Qt::ItemIsDropEnabled; // a drop behind the last row
    Qt::ItemFlags flags = item->flags();
    if (!item->m_checkable || index.column() != 0)
        flags &= ~Qt::ItemIsUserCheckable;
    return flags;
}

Qt::DropActions BListModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

void BListModel::rowsChanged()
{
    m_view->rowsAdded();
    schedulePublish();
}

void BListModel::cellChanged(BListViewItem *item, int column)
{
    if (item->m_parent)
        m_view->cellChanged(column);
    if (item->m_shownRow < 0 || m_columns == 0)
        return;
    const QModelIndex first = createIndex(item->m_shownRow, column < 0 ? 0 : column, item);
    const QModelIndex last
            = column < 0 ? createIndex(item->m_shownRow, m_columns - 1, item) : first;
    emit dataChanged(first, last);
}

void BListModel::headerChanged()
{
    if (m_columns > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

// The view must not keep a row that goes: it leaves the view at once, and
// the rows below it with it.
void BListModel::rowLeaving(BListViewItem *item)
{
    if (item->m_shownRow >= 0) {
        BListViewItem *parent = item->m_parent;
        std::vector<BListViewItem *> &shown = parent->m_children->shown;
        const int row = item->m_shownRow;
        const QModelIndex parentIndex
                = parent->m_isRoot ? QModelIndex() : createIndex(parent->m_shownRow, 0, parent);
        beginRemoveRows(parentIndex, row, row);
        shown.erase(shown.begin() + row);
        for (size_t i = size_t(row); i < shown.size(); ++i)
            shown[i]->m_shownRow = int(i);
        BListModelWalk::unpublish(item);
        endRemoveRows();
    } else {
        BListModelWalk::unpublish(item);
    }
}

void BListModel::removeItems(const QList<BListViewItem *> &items, bool deleteThem)
{
    if (items.isEmpty())
        return;
    publish();
    emit layoutAboutToBeChanged();
    // The rows leave their parents first, so that the new numbering below
    // knows them no more; they are deleted once the view let go of them.
    const QSet<BListViewItem *> leaving(items.begin(), items.end());
    QSet<BListViewItem *> parents;
    for (BListViewItem *item : items) {
        if (item->m_parent)
            parents.insert(item->m_parent);
    }
    for (BListViewItem *parent : std::as_const(parents)) {
        auto &all = parent->m_children->all;
        all.erase(std::remove_if(all.begin(), all.end(),
                                 [&](BListViewItem *child) { return leaving.contains(child); }),
                  all.end());
        parent->m_children->indexesValid = false;
    }
    for (BListViewItem *item : items) {
        item->m_parent = nullptr;
        BListModelWalk::unpublish(item);
    }
    renumber();
    if (deleteThem)
        qDeleteAll(items);
}

// Numbers the shown rows anew and moves the view's indexes to their rows'
// new places (or drops those of rows no longer shown).
void BListModel::renumber()
{
    BListModelWalk::number(m_root.get(), true);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &index : before)
        after.append(indexFromItem(itemFromIndex(index), index.column()));
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

void BListModel::clear()
{
    beginResetModel();
    if (m_root->m_children) {
        std::vector<BListViewItem *> all;
        all.swap(m_root->m_children->all);
        m_root->m_children->shown.clear();
        for (BListViewItem *item : all) {
            item->m_parent = nullptr;
            delete item;
        }
    }
    m_dirty = false;
    endResetModel();
}

void BListModel::schedulePublish()
{
    m_dirty = true;
    if (m_publishScheduled)
        return;
    m_publishScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_publishScheduled = false;
        publish();
    });
}

void BListModel::publish()
{
    if (!m_dirty || m_publishing)
        return;
    m_publishing = true;
    m_dirty = false;
    m_view->rowsAboutToBePublished();
    emit layoutAboutToBeChanged();
    renumber();
    m_view->rowsPublished();
    m_publishing = false;
}

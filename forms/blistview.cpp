#include "forms/blistview.h"

#include "forms/bcsvwriter.h"
#include "forms/bdlgcolumns.h"
#include "forms/blistitems.h"
#include "forms/blistmodel.h"
#include "forms/blistrowsorter.h"
#include "forms/bmessagebox.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QHeaderView>
#include <QItemSelection>
#include <QMenu>
#include <QSaveFile>
#include <QScrollBar>
#include <QSet>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

BListView::BListView(QWidget *parent)
    : QTreeView(parent)
    , m_model(new BListModel(this))
    , m_menu(new QMenu(this))
{
    setModel(m_model);
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BListView::itemSelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &current, const QModelIndex &previous) {
                emit currentItemChanged(itemFromIndex(current), itemFromIndex(previous));
            });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (BListViewItem *item = itemFromIndex(index))
            emit itemDoubleClicked(item, index.column());
    });
    connect(this, &QTreeView::expanded, this, [this](const QModelIndex &index) {
        if (BListViewItem *item = itemFromIndex(index)) {
            item->m_expanded = true;
            emit itemExpanded(item);
        }
    });
    connect(this, &QTreeView::collapsed, this, [this](const QModelIndex &index) {
        if (BListViewItem *item = itemFromIndex(index)) {
            item->m_expanded = false;
            emit itemCollapsed(item);
        }
    });
    setRootIsDecorated(false);
    setUniformRowHeights(true); // keeps long lists cheap to lay out
    setAllColumnsShowFocus(true);
    setSelectionMode(ExtendedSelection);

    const struct
    {
        int id;
        QString text;
    } entries[] = {{CommandAdd, tr("&Add...")},
                   {CommandEdit, tr("&Edit...")},
                   {CommandRemove, tr("&Remove")}};
    for (const auto &entry : entries)
        insertMenuItem(entry.id, entry.text);
    m_menu->addSeparator();
    insertMenuItem(CommandColumns, tr("&Modify Columns..."));
    insertMenuItem(CommandExportCsv, tr("Export to &CSV..."));

    QHeaderView *head = header();
    head->setSectionsMovable(true);
    head->setSectionsClickable(true);
    head->setStretchLastSection(false);
    // A column fitted to its contents measures the rows on screen and this
    // many more: enough for a page of rows, cheap for a hundred thousand.
    head->setResizeContentsPrecision(kFitRows);
    // The tree view fits a column to its contents on a handle double-click;
    // here that restores the column's defined width instead.
    disconnect(head, &QHeaderView::sectionHandleDoubleClicked, this, nullptr);
    connect(head, &QHeaderView::sectionMoved, this, &BListView::slotIndexChanged);
    connect(head, &QHeaderView::sectionResized, this, &BListView::slotSizeChanged);
    connect(head, &QHeaderView::sectionHandleDoubleClicked, this,
            &BListView::slotSizeChangedDefault);
    connect(head, &QHeaderView::sortIndicatorChanged, this,
            [this](int section, Qt::SortOrder) { slotSortChanged(section); });
    head->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(head, &QWidget::customContextMenuRequested, this, [this, head](const QPoint &pos) {
        QMenu *menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->addAction(tr("&Modify Columns..."), this, &BListView::slotCols);
        menu->popup(head->mapToGlobal(pos));
    });
}

BListView::~BListView()
{
    // The rows go before the view: their notes reach a view still whole.
    m_model->clear();
}

QAction *BListView::insertMenuItem(int id, const QString &text, int beforePosition)
{
    auto *action = new QAction(text, m_menu);
    const QList<QAction *> existing = m_menu->actions();
    if (beforePosition >= 0 && beforePosition < existing.size())
        m_menu->insertAction(existing.at(beforePosition), action);
    else
        m_menu->addAction(action);
    m_actions.insert(id, action);
    connect(action, &QAction::triggered, this, [this, id] { slotPopup(id); });
    return action;
}

void BListView::setMenuItemEnabled(int id, bool enabled)
{
    if (QAction *action = m_actions.value(id))
        action->setEnabled(enabled);
}

void BListView::slotPopup(int id)
{
    if (id == CommandColumns)
        slotCols();
    else if (id == CommandExportCsv)
        slotExportCsv();
    else
        emit signalCommand(id);
}

void BListView::setCols(const BCols &cols)
{
    m_cols = cols;
    QStringList titles;
    for (int i = 0; i < m_cols.count(); ++i)
        titles << m_cols.column(i).title;
    setColumnCount(m_cols.count());
    setHeaderLabels(titles);
    m_cols.loadLayout();
    applyLayout();
}

void BListView::applyLayout()
{
    // Columns fit what the view shows: rows added or opened just before (a
    // page opening its groups) must be in it first.
    publish();
    m_applyingLayout = true;
    QHeaderView *head = header();
    for (int position = 0; position < m_cols.count(); ++position) {
        const int column = m_cols.columnAtPosition(position);
        if (column >= 0 && head->visualIndex(column) != position)
            head->moveSection(head->visualIndex(column), position);
    }
    for (int i = 0; i < m_cols.count(); ++i) {
        const BCol &column = m_cols.column(i);
        head->setSectionHidden(i, !column.isVisible());
        if (!column.isVisible())
            continue;
        if (column.width > 0)
            head->resizeSection(i, column.width);
        else
            resizeColumnToContents(i);
    }
    if (m_cols.isSortable() && m_cols.sortColumn() >= 0) {
        const Qt::SortOrder order
                = m_cols.sortOrder() == 1 ? Qt::DescendingOrder : Qt::AscendingOrder;
        head->setSortIndicator(m_cols.sortColumn(), order);
        setSortingEnabled(true);
    } else {
        setSortingEnabled(false);
    }
    m_applyingLayout = false;
}

void BListView::readPositionsFromHeader()
{
    for (int i = 0; i < m_cols.count(); ++i)
        m_cols.column(i).position = header()->visualIndex(i);
    m_cols.rebuildPositionMap();
}

void BListView::slotIndexChanged(int, int, int)
{
    if (m_applyingLayout)
        return;
    readPositionsFromHeader();
    m_cols.saveLayout();
}

void BListView::slotSizeChanged(int section, int, int newSize)
{
    if (m_applyingLayout || section < 0 || section >= m_cols.count() || newSize <= 0)
        return;
    m_cols.column(section).width = newSize;
    m_cols.saveLayout();
}

void BListView::slotSizeChangedDefault(int section)
{
    if (section < 0 || section >= m_cols.count())
        return;
    const int width = m_cols.defaultColumn(section).width;
    m_applyingLayout = true;
    if (width > 0)
        header()->resizeSection(section, width);
    else
        resizeColumnToContents(section);
    m_applyingLayout = false;
    m_cols.column(section).width = width;
    m_cols.saveLayout();
}

void BListView::slotSortChanged(int section)
{
    if (m_applyingLayout)
        return;
    if (m_cols.isSortable()) {
        const int order = header()->sortIndicatorOrder() == Qt::DescendingOrder ? 1 : 0;
        m_cols.setSort(section, order);
        m_cols.saveLayout();
    }
    if (m_sortingEnabled && !m_explicitSort)
        sortRows(section, header()->sortIndicatorOrder());
}

void BListView::slotItemChecked(BCheckListItem *item)
{
    emit signalItemChecked(item);
}

void BListView::slotCols()
{
    BDlgColumns dialog(m_cols, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_cols = dialog.cols();
    m_cols.saveLayout();
    m_cols.loadLayout();
    applyLayout();
    emit signalBListUpdateNeeded();
}

void BListView::slotContextMenuRequested(BListViewItem *, const QPoint &globalPos, int)
{
    QMenu *menu = m_menu;
    emit signalShowMenu(currentItem(), menu);
    if (menu)
        menu->popup(globalPos);
}

void BListView::contextMenuEvent(QContextMenuEvent *event)
{
    BListViewItem *item = itemAt(event->pos());
    const int column = item ? header()->logicalIndexAt(event->pos().x()) : -1;
    slotContextMenuRequested(item, event->globalPos(), column);
    event->accept();
}

const BCol *BListView::columnDefinition(int column) const
{
    return column >= 0 && column < m_cols.count() ? &m_cols.column(column) : nullptr;
}

// --- rows ---

void BListView::publish() const
{
    m_model->publish();
}

int BListView::columnCount() const
{
    return m_model->columnCount();
}

void BListView::setColumnCount(int columns)
{
    m_model->setColumnCount(columns);
}

void BListView::setHeaderLabels(const QStringList &labels)
{
    if (columnCount() < labels.size())
        setColumnCount(int(labels.size()));
    for (int i = 0; i < labels.size(); ++i)
        headerItem()->setText(i, labels.at(i));
}

BListViewItem *BListView::headerItem() const
{
    return m_model->headerItem();
}

BListViewItem *BListView::invisibleRootItem() const
{
    return m_model->root();
}

int BListView::topLevelItemCount() const
{
    return m_model->root()->childCount();
}

BListViewItem *BListView::topLevelItem(int index) const
{
    return m_model->root()->child(index);
}

int BListView::indexOfTopLevelItem(const BListViewItem *item) const
{
    return m_model->root()->indexOfChild(item);
}

void BListView::addTopLevelItem(BListViewItem *item)
{
    m_model->root()->addChild(item);
}

void BListView::addTopLevelItems(const QList<BListViewItem *> &items)
{
    m_model->root()->addChildren(items);
}

void BListView::insertTopLevelItem(int index, BListViewItem *item)
{
    m_model->root()->insertChild(index, item);
}

BListViewItem *BListView::takeTopLevelItem(int index)
{
    return m_model->root()->takeChild(index);
}

void BListView::deleteItems(const QList<BListViewItem *> &items)
{
    m_model->removeItems(items, true);
}

void BListView::adoptItem(BListViewItem *item)
{
    m_model->root()->addChild(item);
}

void BListView::clear()
{
    m_sortPending = false;
    m_sortedColumn = -1;
    m_model->clear();
}

QList<BListViewItem *> BListView::findItems(const QString &text, Qt::MatchFlags flags,
                                            int column) const
{
    const Qt::MatchFlags how = flags & 0x0f;
    const Qt::CaseSensitivity cs
            = flags & Qt::MatchCaseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    auto matches = [&](const QString &cell) {
        switch (how) {
        case Qt::MatchContains:
            return cell.contains(text, cs);
        case Qt::MatchStartsWith:
            return cell.startsWith(text, cs);
        case Qt::MatchEndsWith:
            return cell.endsWith(text, cs);
        case Qt::MatchFixedString:
            return cell.compare(text, cs) == 0;
        default:
            return cell == text;
        }
    };
    QList<BListViewItem *> found;
    if (flags & Qt::MatchRecursive) {
        for (BListViewItemIterator it(this); *it; ++it) {
            if (matches((*it)->text(column)))
                found.append(*it);
        }
    } else {
        for (int i = 0; i < topLevelItemCount(); ++i) {
            if (matches(topLevelItem(i)->text(column)))
                found.append(topLevelItem(i));
        }
    }
    return found;
}

BListViewItem *BListView::itemFromIndex(const QModelIndex &index) const
{
    return m_model->itemFromIndex(index);
}

QModelIndex BListView::indexFromItem(const BListViewItem *item, int column) const
{
    publish();
    return m_model->indexFromItem(item, column);
}

BListViewItem *BListView::currentItem() const
{
    return itemFromIndex(currentIndex());
}

void BListView::setCurrentItem(BListViewItem *item)
{
    setCurrentIndex(indexFromItem(item));
}

void BListView::setCurrentItem(BListViewItem *item, int column,
                               QItemSelectionModel::SelectionFlags command)
{
    selectionModel()->setCurrentIndex(indexFromItem(item, column), command);
}

QList<BListViewItem *> BListView::selectedItems() const
{
    QList<BListViewItem *> items;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        items.append(itemFromIndex(index));
    return items;
}

bool BListView::isItemSelected(const BListViewItem *item) const
{
    const QModelIndex index = indexFromItem(item);
    return index.isValid() && selectionModel()->isSelected(index);
}

void BListView::setItemSelected(const BListViewItem *item, bool selected)
{
    const QModelIndex index = indexFromItem(item);
    if (index.isValid())
        selectionModel()->select(
                index,
                (selected ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                        | QItemSelectionModel::Rows);
}

BListViewItem *BListView::itemAt(const QPoint &position) const
{
    publish();
    return itemFromIndex(indexAt(position));
}

BListViewItem *BListView::itemAbove(const BListViewItem *item) const
{
    return itemFromIndex(indexAbove(indexFromItem(item)));
}

BListViewItem *BListView::itemBelow(const BListViewItem *item) const
{
    return itemFromIndex(indexBelow(indexFromItem(item)));
}

QRect BListView::visualItemRect(const BListViewItem *item) const
{
    const QModelIndex index = indexFromItem(item);
    if (!index.isValid())
        return {};
    // The cells of the row together.
    QRect rect;
    for (int column = 0; column < columnCount(); ++column)
        rect |= visualRect(index.siblingAtColumn(column));
    return rect;
}

void BListView::scrollToItem(const BListViewItem *item, ScrollHint hint)
{
    const QModelIndex index = indexFromItem(item);
    if (index.isValid())
        scrollTo(index, hint);
}

void BListView::expandItem(const BListViewItem *item)
{
    const QModelIndex index = indexFromItem(item);
    if (index.isValid())
        expand(index);
}

void BListView::collapseItem(const BListViewItem *item)
{
    const QModelIndex index = indexFromItem(item);
    if (index.isValid())
        collapse(index);
}

void BListView::expandedChanged(BListViewItem *item)
{
    const QModelIndex index = m_model->indexFromItem(item);
    if (index.isValid() && isExpanded(index) != item->m_expanded)
        setExpanded(index, item->m_expanded);
}

// --- sorting ---

void BListView::setSortingEnabled(bool enable)
{
    QTreeView::setSortingEnabled(false); // the toolkit's own sorting never runs
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(enable);
    m_sortingEnabled = enable;
    // Rows already in the indicator's order are not sorted again (a page
    // applies its stored layout after its first fill).
    const int column = header()->sortIndicatorSection();
    const Qt::SortOrder order = header()->sortIndicatorOrder();
    if (enable && (m_sortPending || column != m_sortedColumn || order != m_sortedOrder))
        sortRows(column, order);
}

void BListView::sortByColumn(int column, Qt::SortOrder order)
{
    if (column < 0)
        return;
    // A changed indicator saves the layout (slotSortChanged); the rows are
    // sorted here, once, whether it changed or not.
    m_explicitSort = true;
    header()->setSortIndicator(column, order);
    m_explicitSort = false;
    sortRows(column, order);
}

int BListView::sortColumn() const
{
    return header()->sortIndicatorSection();
}

void BListView::ensureSorted()
{
    if (m_fillDepth == 0)
        publish();
}

void BListView::scheduleSort()
{
    if (m_sortingEnabled)
        m_sortPending = true;
}

void BListView::rowsAdded()
{
    m_sortedColumn = -1;
    scheduleSort();
}

void BListView::cellChanged(int column)
{
    const int sortColumn = header()->sortIndicatorSection();
    if (column < 0 || column == sortColumn) {
        m_sortedColumn = -1;
        if (m_sortingEnabled) {
            m_sortPending = true;
            m_model->schedulePublish();
        }
    }
}

void BListView::sortRows(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount() || m_fillDepth > 0)
        return;
    m_sortPending = false;
    sortAll(column, order);
    // The new order reaches the view as one layout change: selection,
    // current row and open branches follow their rows.
    m_model->schedulePublish();
    publish();
}

void BListView::sortAll(int column, Qt::SortOrder order)
{
    sortChildren(m_model->root(), column, order);
    m_sortedColumn = column;
    m_sortedOrder = order;
}

void BListView::sortChildren(BListViewItem *parent, int column, Qt::SortOrder order) const
{
    if (!parent->m_children)
        return;
    std::vector<BListViewItem *> &rows = parent->m_children->all;
    if (rows.size() > 1) {
        const BCol *definition = columnDefinition(column);
        BListRowSorter sorter(qsizetype(rows.size()));
        for (BListViewItem *row : rows)
            sorter.add(row->sortKey(column, definition));
        std::vector<BListViewItem *> sorted;
        sorted.reserve(rows.size());
        for (quint32 place : sorter.order(order))
            sorted.push_back(rows[place]);
        rows.swap(sorted);
        parent->m_children->indexesValid = false;
    }
    for (BListViewItem *row : rows)
        sortChildren(row, column, order);
}

void BListView::rowsAboutToBePublished()
{
    m_scrollBeforePublish = verticalScrollBar()->value();
    m_hscrollBeforePublish = horizontalScrollBar()->value();
    if (m_sortPending && m_sortingEnabled && m_fillDepth == 0) {
        m_sortPending = false;
        const int column = header()->sortIndicatorSection();
        if (column >= 0 && column < columnCount())
            sortAll(column, header()->sortIndicatorOrder());
    }
}

void BListView::rowsPublished()
{
    // Rows opened before they were shown open now.
    std::vector<BListViewItem *> parents{m_model->root()};
    while (!parents.empty()) {
        BListViewItem *parent = parents.back();
        parents.pop_back();
        if (parent->m_expanded) {
            const QModelIndex index = m_model->indexFromItem(parent);
            if (index.isValid() && !isExpanded(index))
                setExpanded(index, true);
        }
        for (int i = 0; i < parent->childCount(); ++i) {
            if (BListViewItem *child = parent->child(i); child->childCount() > 0)
                parents.push_back(child);
        }
    }
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(m_scrollBeforePublish);
    horizontalScrollBar()->setValue(m_hscrollBeforePublish);
}

// --- filling ---

void BListView::beginFill()
{
    if (m_fillDepth++ == 0)
        m_fillArena = std::make_unique<BListItemArena>();
}

void BListView::endFill()
{
    if (m_fillDepth == 0 || --m_fillDepth > 0)
        return;
    m_fillArena.reset();
    publish();
}

// --- dragging rows ---

void BListView::setRowDragging(bool on)
{
    setDragEnabled(on);
    setAcceptDrops(on);
    viewport()->setAcceptDrops(on);
    setDropIndicatorShown(on);
    setDragDropMode(on ? QAbstractItemView::InternalMove : QAbstractItemView::NoDragDrop);
}

BListViewItem *BListView::dropAfter(const QPoint &position) const
{
    BListViewItem *target = itemAt(position);
    if (!target)
        return topLevelItemCount() > 0 ? topLevelItem(topLevelItemCount() - 1) : nullptr;
    const QRect rect = visualItemRect(target);
    return position.y() < rect.center().y() ? itemAbove(target) : target;
}

void BListView::startDrag(Qt::DropActions supportedActions)
{
    if (selectedItems().size() != 1)
        return;
    emit signalDragStarted();
    m_dragging = true;
    QTreeView::startDrag(supportedActions);
    m_dragging = false;
}

void BListView::dragMoveEvent(QDragMoveEvent *event)
{
    QTreeView::dragMoveEvent(event);
    if (!m_dragging)
        event->ignore();
}

void BListView::dropEvent(QDropEvent *event)
{
    const QList<BListViewItem *> moving = selectedItems();
    if (!m_dragging || moving.size() != 1) {
        event->ignore();
        return;
    }
    // The view moves nothing itself (and removes nothing after the drag):
    // the receiver gives the row its new place.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    BListViewItem *after = dropAfter(event->position().toPoint());
    emit signalItemDropped(moving.first(), after, false);
}

// --- export ---

QList<QStringList> BListView::visibleTable() const
{
    QList<int> columns;
    for (int position = 0; position < header()->count(); ++position) {
        const int column = header()->logicalIndex(position);
        if (column >= 0 && !header()->isSectionHidden(column))
            columns.append(column);
    }
    QList<QStringList> table;
    QStringList titles;
    for (int column : std::as_const(columns))
        titles << headerItem()->text(column);
    table.append(titles);
    publish();
    // The shown rows in shown order, children after their parent.
    std::vector<const BListViewItem *> pending{m_model->root()};
    while (!pending.empty()) {
        const BListViewItem *parent = pending.back();
        pending.pop_back();
        if (parent != m_model->root()) {
            QStringList texts;
            texts.reserve(columns.size());
            for (int column : std::as_const(columns))
                texts << parent->text(column);
            table.append(texts);
        }
        if (parent->m_children) {
            const auto &shown = parent->m_children->shown;
            for (auto it = shown.rbegin(); it != shown.rend(); ++it)
                pending.push_back(*it);
        }
    }
    return table;
}

bool BListView::exportCsv(QIODevice *device, QString *error) const
{
    return bcsv::write(device, visibleTable(), error);
}

bool BListView::exportCsv(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (!exportCsv(&file, error)) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

void BListView::slotExportCsv()
{
    QFileDialog dialog(this, tr("Export to CSV"));
    dialog.setObjectName(QStringLiteral("exportCsvDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({tr("CSV files (*.csv)"), tr("All files (*)")});
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    saveCsv(dialog.selectedFiles().constFirst());
}

bool BListView::saveCsv(const QString &path)
{
    QString error;
    if (exportCsv(path, &error))
        return true;
    bmessagebox::critical(this,
                          tr("<nobr>The list could not be written to %1:<br>%2</nobr>")
                                  .arg(path.toHtmlEscaped(), error.toHtmlEscaped()));
    return false;
}

QList<BListViewItem *> BListView::selectedItemsInOrder() const
{
    publish();
    QModelIndexList rows = selectionModel()->selectedRows();
    QList<BListViewItem *> items;
    items.reserve(rows.size());
    if (rows.size() > 1) {
        // Display order: by the chain of rows from the top.
        auto path = [](QModelIndex index) {
            QList<int> places;
            for (; index.isValid(); index = index.parent())
                places.prepend(index.row());
            return places;
        };
        std::sort(rows.begin(), rows.end(), [&](const QModelIndex &a, const QModelIndex &b) {
            if (a.parent() == b.parent())
                return a.row() < b.row();
            return path(a) < path(b);
        });
    }
    for (const QModelIndex &index : std::as_const(rows))
        items.append(itemFromIndex(index));
    return items;
}

BListUpdater::BListUpdater(BListView *view)
    : m_view(view)
    , m_updatesWereEnabled(view->updatesEnabled())
{
    m_view->setUpdatesEnabled(false);
    m_view->beginFill();
}

void BListUpdater::finish()
{
    if (!m_filling)
        return;
    m_filling = false;
    m_view->endFill();
}

BListUpdater::~BListUpdater()
{
    finish();
    m_view->setUpdatesEnabled(m_updatesWereEnabled);
    if (m_updatesWereEnabled)
        m_view->viewport()->update();
}

#include "forms/blistview.h"

#include "forms/bcsvwriter.h"
#include "forms/bdlgcolumns.h"
#include "forms/blistitems.h"
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
    : QTreeWidget(parent)
    , m_menu(new QMenu(this))
{
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
    qDeleteAll(m_waiting);
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
    for (int i = 0; i < m_cols.count(); ++i) {
        headerItem()->setTextAlignment(i, Qt::Alignment(m_cols.column(i).alignment()));
    }
    m_cols.loadLayout();
    applyLayout();
}

void BListView::applyLayout()
{
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

void BListView::slotContextMenuRequested(QTreeWidgetItem *, const QPoint &globalPos, int)
{
    QMenu *menu = m_menu;
    emit signalShowMenu(currentItem(), menu);
    if (menu)
        menu->popup(globalPos);
}

void BListView::contextMenuEvent(QContextMenuEvent *event)
{
    QTreeWidgetItem *item = itemAt(event->pos());
    const int column = item ? header()->logicalIndexAt(event->pos().x()) : -1;
    slotContextMenuRequested(item, event->globalPos(), column);
    event->accept();
}

const BCol *BListView::columnDefinition(int column) const
{
    return column >= 0 && column < m_cols.count() ? &m_cols.column(column) : nullptr;
}

// --- sorting ---

void BListView::setSortingEnabled(bool enable)
{
    QTreeWidget::setSortingEnabled(false); // the toolkit's own sorting never runs
    header()->setSectionsClickable(true);
    header()->setSortIndicatorShown(enable);
    m_sortingEnabled = enable;
    if (enable)
        sortRows(header()->sortIndicatorSection(), header()->sortIndicatorOrder());
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

void BListView::sortItems(int column, Qt::SortOrder order)
{
    sortRows(column, order);
}

void BListView::ensureSorted()
{
    if (m_sortPending && m_sortingEnabled && m_fillDepth == 0)
        sortRows(header()->sortIndicatorSection(), header()->sortIndicatorOrder());
}

void BListView::scheduleSort()
{
    if (!m_sortingEnabled || m_fillDepth > 0 || m_reordering)
        return;
    m_sortPending = true;
    if (m_sortScheduled)
        return;
    m_sortScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_sortScheduled = false;
        ensureSorted();
    });
}

void BListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QTreeWidget::rowsInserted(parent, start, end);
    scheduleSort();
}

void BListView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                            const QList<int> &roles)
{
    QTreeWidget::dataChanged(topLeft, bottomRight, roles);
    const int column = header()->sortIndicatorSection();
    const bool display
            = roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole);
    if (display && topLeft.column() <= column && column <= bottomRight.column())
        scheduleSort();
}

// The keys of the rows of one sort, collected one row at a time. Each row
// becomes a 24-byte entry: its key with the start of a text packed into two
// integers, so that most comparisons never leave the entry array, and its
// place before the sort. Code units compare as unsigned numbers, as
// QString::compare does; while no text starts with a unit above 0xff, 16
// units of one byte are packed, else 8 units of two bytes.
class BListRowSorter
{
public:
    explicit BListRowSorter(qsizetype expected = 0)
    {
        m_keys.reserve(size_t(expected));
        m_entries.reserve(size_t(expected));
    }

    void add(BSortKey key)
    {
        const quint32 index = quint32(m_keys.size());
        m_keys.push_back(std::move(key));
        const BSortKey &added = m_keys.back();
        (added.isNumber() ? m_anyNumber : m_anyText) = true;
        m_anyBelow = m_anyBelow || added.isBelowOthers();
        SortEntry entry;
        if (!makeEntry(added, index, m_narrow, &entry)) {
            // The first text with a wide unit: every entry is packed again.
            m_narrow = false;
            for (SortEntry &earlier : m_entries)
                makeEntry(m_keys[earlier.index], earlier.index, false, &earlier);
            makeEntry(added, index, false, &entry);
        }
        m_entries.push_back(entry);
    }

    qsizetype size() const { return qsizetype(m_keys.size()); }

    // The places before the sort in sorted order; equal keys keep their order
    // both ways.
    std::vector<quint32> order(Qt::SortOrder order)
    {
        const qsizetype packedUnits = m_narrow ? narrowUnits : narrowUnits / 2;
        const bool mixed = m_anyNumber && m_anyText;
        const bool descending = order == Qt::DescendingOrder;
        const std::vector<BSortKey> &keys = m_keys;
        std::sort(m_entries.begin(), m_entries.end(), [&](const SortEntry &a, const SortEntry &b) {
            if (!mixed || (a.length == numberMark) == (b.length == numberMark)) {
                if (a.head != b.head)
                    return (a.head < b.head) != descending;
                if (a.tail != b.tail)
                    return (a.tail < b.tail) != descending;
                if (a.length == b.length && (a.length == numberMark || a.length <= packedUnits))
                    return a.index < b.index; // the same number or text
            }
            const int result = BSortKey::compare(keys[a.index], keys[b.index]);
            if (result != 0)
                return (result < 0) != descending;
            return a.index < b.index;
        });
        if (m_anyBelow) {
            std::stable_partition(m_entries.begin(), m_entries.end(), [&](const SortEntry &e) {
                return !keys[e.index].isBelowOthers();
            });
        }
        std::vector<quint32> places;
        places.reserve(m_entries.size());
        for (const SortEntry &entry : m_entries)
            places.push_back(entry.index);
        return places;
    }

private:
    struct SortEntry
    {
        quint64 head; // the number (offset to unsigned), or the first units
        quint64 tail; // the next units
        quint32 index;
        quint32 length; // of a text (texts no longer than the packed part are whole)
    };
    static constexpr qsizetype narrowUnits = 16;
    static constexpr quint32 numberMark = 0xffffffff;

    // False when narrow packing meets a unit above 0xff.
    static bool makeEntry(const BSortKey &key, quint32 index, bool narrow, SortEntry *entry)
    {
        if (key.isNumber()) {
            *entry = {quint64(key.number()) ^ (quint64(1) << 63), 0, index, numberMark};
            return true;
        }
        const QString &text = key.text();
        const ushort *units = text.utf16();
        quint64 words[2] = {0, 0};
        if (narrow) {
            const qsizetype count = std::min(text.size(), narrowUnits);
            ushort seen = 0;
            for (qsizetype i = 0; i < count; ++i) {
                seen |= units[i];
                words[i / 8] |= quint64(units[i] & 0xff) << (56 - 8 * (i % 8));
            }
            if (seen & 0xff00)
                return false;
        } else {
            const qsizetype count = std::min(text.size(), narrowUnits / 2);
            for (qsizetype i = 0; i < count; ++i)
                words[i / 4] |= quint64(units[i]) << (48 - 16 * (i % 4));
        }
        *entry = {words[0], words[1], index,
                  quint32(std::min<qsizetype>(text.size(), numberMark - 1))};
        return true;
    }

    std::vector<BSortKey> m_keys;
    std::vector<SortEntry> m_entries;
    bool m_narrow = true;
    bool m_anyNumber = false;
    bool m_anyText = false;
    bool m_anyBelow = false;
};

namespace {

BSortKey keyOf(const QTreeWidgetItem *item, int column, const BCol *definition)
{
    if (const auto *row = dynamic_cast<const BListViewItem *>(item))
        return row->sortKey(column, definition);
    return BSortKey::fromText(item->text(column));
}

void applyOrder(QList<QTreeWidgetItem *> &items, const std::vector<quint32> &places)
{
    QList<QTreeWidgetItem *> sorted;
    sorted.reserve(items.size());
    for (quint32 place : places)
        sorted.append(items.at(place));
    items.swap(sorted);
}

} // namespace

void BListView::sortList(QList<QTreeWidgetItem *> &items, int column, Qt::SortOrder order) const
{
    const BCol *definition = columnDefinition(column);
    BListRowSorter sorter(items.size());
    for (QTreeWidgetItem *item : std::as_const(items)) {
        sorter.add(keyOf(item, column, definition));
        sortChildren(item, column, order);
    }
    applyOrder(items, sorter.order(order));
}

void BListView::sortChildren(QTreeWidgetItem *item, int column, Qt::SortOrder order) const
{
    // Children sort below their parent while it is outside the tree.
    if (item->childCount() > 1 && !item->treeWidget()) {
        QList<QTreeWidgetItem *> children = item->takeChildren();
        sortList(children, column, order);
        item->addChildren(children);
    }
}

// True when the top-level rows, none with children, already stand in the
// order a sort would give them (equal keys keep their places).
bool BListView::rowsInOrder(int column, Qt::SortOrder order) const
{
    const BCol *definition = columnDefinition(column);
    QTreeWidgetItem *root = invisibleRootItem();
    BSortKey previous;
    for (int i = 0; i < root->childCount(); ++i) {
        const QTreeWidgetItem *item = root->child(i);
        if (item->childCount() > 0)
            return false;
        BSortKey key = keyOf(item, column, definition);
        if (i > 0) {
            if (previous.isBelowOthers() != key.isBelowOthers()) {
                if (previous.isBelowOthers())
                    return false;
            } else {
                const int result = BSortKey::compare(previous, key);
                if (order == Qt::AscendingOrder ? result > 0 : result < 0)
                    return false;
            }
        }
        previous = std::move(key);
    }
    return true;
}

void BListView::sortRows(int column, Qt::SortOrder order)
{
    m_sortPending = false;
    if (column < 0 || column >= columnCount() || m_fillDepth > 0)
        return;
    QTreeWidgetItem *root = invisibleRootItem();
    if (root->childCount() < 2 || rowsInOrder(column, order))
        return;

    // Taking the rows out of the tree and putting them back in order is one
    // removal and one insertion; what the view kept about them is restored.
    QTreeWidgetItem *current = currentItem();
    const QList<QTreeWidgetItem *> selected = selectedItems();
    QList<QTreeWidgetItem *> expanded;
    for (QTreeWidgetItemIterator it(this); *it; ++it) {
        if ((*it)->childCount() > 0 && (*it)->isExpanded())
            expanded.append(*it);
    }
    const int scroll = verticalScrollBar()->value();
    const int hscroll = horizontalScrollBar()->value();

    m_reordering = true;
    {
        // Cleared first so that the items' own selected flags follow the
        // selection model both ways.
        selectionModel()->clear();
        QList<QTreeWidgetItem *> items = root->takeChildren();
        sortList(items, column, order);
        root->addChildren(items);
        for (QTreeWidgetItem *item : std::as_const(expanded))
            item->setExpanded(true);
        if (current)
            selectionModel()->setCurrentIndex(indexFromItem(current),
                                              QItemSelectionModel::NoUpdate);
        QItemSelection selection;
        for (QTreeWidgetItem *item : selected) {
            const QModelIndex index = indexFromItem(item);
            selection.select(index, index);
        }
        selectionModel()->select(selection,
                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    m_reordering = false;
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(scroll);
    horizontalScrollBar()->setValue(hscroll);
    viewport()->update();
}

// --- filling ---

void BListView::beginFill()
{
    if (m_fillDepth++ > 0)
        return;
    // What the fill sorts by, looked up once rather than for every row.
    const int column = header()->sortIndicatorSection();
    m_fillColumn = m_sortingEnabled && column >= 0 && column < columnCount() ? column : -1;
    m_fillDefinition = columnDefinition(m_fillColumn);
    m_fillOrder = header()->sortIndicatorOrder();
}

void BListView::endFill()
{
    if (m_fillDepth == 0 || --m_fillDepth > 0)
        return;
    QList<QTreeWidgetItem *> waiting;
    waiting.swap(m_waiting);
    std::unique_ptr<BListRowSorter> sorter = std::move(m_fillSorter);
    m_lastAdopted = nullptr;
    const int column = header()->sortIndicatorSection();
    const Qt::SortOrder order = header()->sortIndicatorOrder();
    const bool sorting = m_sortingEnabled && column >= 0 && column < columnCount();
    if (sorting && topLevelItemCount() > 0) {
        // Rows were there before the fill: everything is sorted together.
        m_reordering = true;
        invisibleRootItem()->addChildren(waiting);
        m_reordering = false;
        sortRows(column, order);
        return;
    }
    if (sorting && !waiting.isEmpty()) {
        const BCol *definition = columnDefinition(column);
        if (!sorter || sorter->size() != waiting.size() - 1 || m_fillColumn != column
            || m_fillOrder != order) {
            sorter = std::make_unique<BListRowSorter>(waiting.size());
            for (qsizetype i = 0; i + 1 < waiting.size(); ++i) {
                sorter->add(keyOf(waiting.at(i), column, definition));
                sortChildren(waiting.at(i), column, order);
            }
        }
        sorter->add(keyOf(waiting.constLast(), column, definition));
        sortChildren(waiting.constLast(), column, order);
        applyOrder(waiting, sorter->order(order));
    }
    m_reordering = true;
    insertInChunks(waiting);
    m_reordering = false;
    m_sortPending = false;
}

int BListView::fillSortColumn() const
{
    return m_fillDepth > 0 ? m_fillColumn : -1;
}

// Sorted rows lie scattered in memory. Inserting them a chunk at a time, with
// the chunk's items fetched ahead together, lets the processor wait for many
// of them at once instead of for each in turn.
void BListView::insertInChunks(const QList<QTreeWidgetItem *> &items)
{
    constexpr qsizetype chunk = 256;
    QTreeWidgetItem *root = invisibleRootItem();
    for (qsizetype from = 0; from < items.size(); from += chunk) {
        const QList<QTreeWidgetItem *> part = items.mid(from, chunk);
        for (QTreeWidgetItem *item : part)
            __builtin_prefetch(item, 1);
        root->addChildren(part);
    }
}

// A row is complete when the next one is created: its key is taken then,
// while its texts are still in the processor's cache.
void BListView::adoptItem(BListViewItem *item)
{
    if (m_fillDepth == 0) {
        addTopLevelItem(item);
        return;
    }
    if (m_fillColumn >= 0) {
        if (!m_fillSorter)
            m_fillSorter = std::make_unique<BListRowSorter>();
        if (m_lastAdopted && m_fillSorter->size() == m_waiting.size() - 1) {
            m_fillSorter->add(m_lastAdopted->sortKey(m_fillColumn, m_fillDefinition));
            sortChildren(m_lastAdopted, m_fillColumn, m_fillOrder);
        }
    }
    m_waiting.append(item);
    m_lastAdopted = item;
}

void BListView::clear()
{
    qDeleteAll(m_waiting);
    m_waiting.clear();
    m_fillSorter.reset();
    m_lastAdopted = nullptr;
    QTreeWidget::clear();
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

QTreeWidgetItem *BListView::dropAfter(const QPoint &position) const
{
    QTreeWidgetItem *target = itemAt(position);
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
    QTreeWidget::startDrag(supportedActions);
    m_dragging = false;
}

void BListView::dragMoveEvent(QDragMoveEvent *event)
{
    QTreeWidget::dragMoveEvent(event);
    if (!m_dragging)
        event->ignore();
}

void BListView::dropEvent(QDropEvent *event)
{
    const QList<QTreeWidgetItem *> moving = selectedItems();
    if (!m_dragging || moving.size() != 1) {
        event->ignore();
        return;
    }
    // The view moves nothing itself (and removes nothing after the drag):
    // the receiver gives the row its new place.
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    QTreeWidgetItem *after = dropAfter(event->position().toPoint());
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
    for (QTreeWidgetItemIterator it(const_cast<BListView *>(this)); *it; ++it) {
        if ((*it)->isHidden())
            continue;
        QStringList texts;
        texts.reserve(columns.size());
        for (int column : std::as_const(columns))
            texts << (*it)->text(column);
        table.append(texts);
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

QList<QTreeWidgetItem *> BListView::selectedItemsInOrder() const
{
    // From the selection model (the items' own flags can lag behind it after
    // the rows were reordered), put in display order.
    QSet<QTreeWidgetItem *> selected;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        selected.insert(itemFromIndex(index));
    QList<QTreeWidgetItem *> items;
    if (selected.isEmpty())
        return items;
    items.reserve(selected.size());
    for (QTreeWidgetItemIterator it(const_cast<BListView *>(this)); *it; ++it) {
        if (selected.contains(*it)) {
            items.append(*it);
            if (items.size() == selected.size())
                break;
        }
    }
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

#include "forms/blistview.h"

#include "forms/bdlgcolumns.h"
#include "forms/blistitems.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

#include <algorithm>

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

    QHeaderView *head = header();
    head->setSectionsMovable(true);
    head->setSectionsClickable(true);
    head->setStretchLastSection(false);
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
        head->setSortIndicatorShown(false);
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
    if (m_applyingLayout || !m_cols.isSortable())
        return;
    const int order = header()->sortIndicatorOrder() == Qt::DescendingOrder ? 1 : 0;
    m_cols.setSort(section, order);
    m_cols.saveLayout();
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

QList<QTreeWidgetItem *> BListView::selectedItemsInOrder() const
{
    QList<QTreeWidgetItem *> items;
    for (QTreeWidgetItemIterator it(const_cast<BListView *>(this),
                                    QTreeWidgetItemIterator::Selected);
         *it; ++it)
        items.append(*it);
    return items;
}

BListUpdater::BListUpdater(BListView *view)
    : m_view(view)
    , m_updatesWereEnabled(view->updatesEnabled())
    , m_sortingWasEnabled(view->isSortingEnabled())
{
    m_view->setUpdatesEnabled(false);
    m_view->setSortingEnabled(false);
}

BListUpdater::~BListUpdater()
{
    if (m_sortingWasEnabled)
        m_view->setSortingEnabled(true); // sorts once, by the header's indicator
    m_view->setUpdatesEnabled(m_updatesWereEnabled);
    if (m_updatesWereEnabled)
        m_view->viewport()->update();
}

#pragma once

#include "forms/bcols.h"

#include <QHash>
#include <QTreeWidget>

#include <memory>

class BCheckListItem;
class BListRowSorter;
class BListViewItem;
class QAction;
class QIODevice;
class QMenu;

// The list view of every list in the console: a declared column set the
// administrator can show, hide, reorder, resize and sort, remembered across
// restarts, and a context menu whose entries become list commands.
//
// Sorting never goes through the toolkit's pairwise item comparison: each
// sort asks every row once for its key (BListViewItem::sortKey) and orders
// the rows on the keys. The sorting functions of the toolkit view are
// replaced by the ones below; call them through a BListView.
class BListView : public QTreeWidget
{
    Q_OBJECT
public:
    enum Command {
        CommandAdd = 1,
        CommandEdit = 2,
        CommandRemove = 3,
        CommandColumns = 4,
        CommandExportCsv = 5,
    };
    // Rows beyond those on screen a column fitted to its contents measures.
    static constexpr int kFitRows = 100;

    explicit BListView(QWidget *parent = nullptr);
    ~BListView() override;

    // Takes a copy of the column set, loads the stored layout and applies it.
    void setCols(const BCols &cols);
    const BCols &cols() const { return m_cols; }
    BCols &cols() { return m_cols; }
    // Shows the column set on the header: positions, widths, visibility, sort.
    void applyLayout();

    QMenu *contextMenu() const { return m_menu; }
    QAction *menuAction(int id) const { return m_actions.value(id); }
    void setMenuItemEnabled(int id, bool enabled);
    // Adds an entry with an id to the context menu (before the entry at
    // beforePosition, or at the end); triggering it emits signalCommand(id).
    QAction *insertMenuItem(int id, const QString &text, int beforePosition = -1);

    // The selected items in display order.
    QList<QTreeWidgetItem *> selectedItemsInOrder() const;
    // The column definition of a header section, or null.
    const BCol *columnDefinition(int column) const;

    // Sorting by keys. setSortingEnabled(true) sorts by the header's sort
    // indicator; rows added or changed later are sorted in again when control
    // returns to the event loop (ensureSorted() does it at once).
    void setSortingEnabled(bool enable);
    bool isSortingEnabled() const { return m_sortingEnabled && m_fillDepth == 0; }
    void sortByColumn(int column, Qt::SortOrder order);
    void sortItems(int column, Qt::SortOrder order);
    void ensureSorted();

    // Filling: between beginFill() and endFill() new items of this view wait
    // outside the tree (treeWidget() is null, the view does not count them)
    // and join it in one insertion, already sorted, when the last fill ends.
    // BListUpdater is the scoped way to use it.
    void beginFill();
    void endFill();
    bool isFilling() const { return m_fillDepth > 0; }
    // The column a fill sorts by, or -1 when there is no fill or no sorting.
    int fillSortColumn() const;
    // Inserts a new top-level row, or keeps it for the end of the fill.
    void adoptItem(BListViewItem *item);
    // Deletes every item, the waiting ones too.
    void clear();

    // Lets the administrator drag a single row to another place in the list
    // (reported by signalItemDropped).
    void setRowDragging(bool on);
    // The row a drop at a viewport position goes behind; null for the top.
    QTreeWidgetItem *dropAfter(const QPoint &position) const;

    // The visible columns in display order: their titles first, then the
    // texts of every row shown (children after their parent).
    QList<QStringList> visibleTable() const;
    // Writes visibleTable() as CSV; false with *error set when writing fails.
    bool exportCsv(QIODevice *device, QString *error = nullptr) const;
    bool exportCsv(const QString &path, QString *error = nullptr) const;
    // exportCsv(path), telling the administrator when the file could not be
    // written.
    bool saveCsv(const QString &path);

public slots:
    void slotCols();
    void slotContextMenuRequested(QTreeWidgetItem *item, const QPoint &globalPos, int column);
    void slotIndexChanged(int section, int fromPosition, int toPosition);
    void slotSizeChanged(int section, int oldSize, int newSize);
    void slotSizeChangedDefault(int section);
    void slotSortChanged(int section);
    void slotItemChecked(BCheckListItem *item);
    void slotPopup(int id);
    // Asks for a file and writes the list into it as CSV.
    void slotExportCsv();

signals:
    void signalBListUpdateNeeded();
    void signalItemChecked(BCheckListItem *item);
    void signalCommand(int id);
    void signalShowMenu(QTreeWidgetItem *item, QMenu *&menu);
    // Row drags (setRowDragging): a drag of this list's rows began; a single
    // row was dropped behind after (null: at the top). The rows are not moved
    // by the view: the receiver orders them.
    void signalDragStarted();
    void signalItemDropped(QTreeWidgetItem *item, QTreeWidgetItem *after, bool flag);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;

private:
    void readPositionsFromHeader();
    // Orders items (and, below them, their children) by their keys.
    void sortList(QList<QTreeWidgetItem *> &items, int column, Qt::SortOrder order) const;
    void sortChildren(QTreeWidgetItem *item, int column, Qt::SortOrder order) const;
    // Sorts the rows in the tree, keeping selection, current row, open
    // branches and scroll position.
    void sortRows(int column, Qt::SortOrder order);
    bool rowsInOrder(int column, Qt::SortOrder order) const;
    void scheduleSort();
    void insertInChunks(const QList<QTreeWidgetItem *> &items);

    BCols m_cols;
    QMenu *m_menu;
    QHash<int, QAction *> m_actions;
    QList<QTreeWidgetItem *> m_waiting; // created during a fill
    std::unique_ptr<BListRowSorter> m_fillSorter; // their keys, taken as they come
    int m_fillColumn = -1; // what the fill sorts by, -1 for nothing
    const BCol *m_fillDefinition = nullptr;
    Qt::SortOrder m_fillOrder = Qt::AscendingOrder;
    BListViewItem *m_lastAdopted = nullptr; // its key is taken at the next adoption
    int m_fillDepth = 0;
    bool m_applyingLayout = false;
    bool m_sortingEnabled = false;
    bool m_sortPending = false;
    bool m_sortScheduled = false;
    bool m_reordering = false;
    bool m_explicitSort = false;
    bool m_dragging = false; // a drag of this list's rows is running
};

// Suspends painting of a list and fills it (BListView::beginFill) while in
// scope; the new rows join the list sorted, once, when it goes out of scope or
// at finish(). Painting resumes at the end of the scope.
class BListUpdater
{
public:
    explicit BListUpdater(BListView *view);
    ~BListUpdater();
    BListUpdater(const BListUpdater &) = delete;
    BListUpdater &operator=(const BListUpdater &) = delete;

    // Ends the fill early (the rows are in the list afterwards); painting
    // stays suspended until the end of the scope.
    void finish();

private:
    BListView *m_view;
    bool m_updatesWereEnabled;
    bool m_filling = true;
};

#pragma once

#include "forms/bcols.h"

#include "forms/blistitems.h"

#include <QHash>
#include <QTreeView>

class BListModel;
class QAction;
class QIODevice;
class QMenu;

// The list view of every list in the console: a declared column set the
// administrator can show, hide, reorder, resize and sort, remembered across
// restarts, and a context menu whose entries become list commands.
//
// The rows are BListViewItem objects in a BListModel; the view formats only
// the cells it paints. Sorting never goes through pairwise row comparison:
// each sort asks every row once for its key (BListViewItem::sortKey) and
// orders the rows on the keys. The sorting functions of the toolkit view are
// replaced by the ones below; call them through a BListView.
class BListView : public QTreeView
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

    // Rows and columns.
    BListModel *listModel() const { return m_model; }
    int columnCount() const;
    void setColumnCount(int columns);
    void setHeaderLabels(const QStringList &labels);
    BListViewItem *headerItem() const;
    BListViewItem *invisibleRootItem() const;
    int topLevelItemCount() const;
    BListViewItem *topLevelItem(int index) const;
    int indexOfTopLevelItem(const BListViewItem *item) const;
    void addTopLevelItem(BListViewItem *item);
    void addTopLevelItems(const QList<BListViewItem *> &items);
    void insertTopLevelItem(int index, BListViewItem *item);
    BListViewItem *takeTopLevelItem(int index);
    // Takes rows out of the list and deletes them, in one change.
    void deleteItems(const QList<BListViewItem *> &items);
    // Rows whose text in a column matches (top-level rows, or every row
    // with Qt::MatchRecursive); hidden rows too.
    QList<BListViewItem *> findItems(const QString &text, Qt::MatchFlags flags,
                                     int column = 0) const;

    // Rows and the view. These first show the view every pending change.
    BListViewItem *itemFromIndex(const QModelIndex &index) const;
    QModelIndex indexFromItem(const BListViewItem *item, int column = 0) const;
    BListViewItem *currentItem() const;
    void setCurrentItem(BListViewItem *item);
    void setCurrentItem(BListViewItem *item, int column,
                        QItemSelectionModel::SelectionFlags command);
    QList<BListViewItem *> selectedItems() const;
    // The selected items in display order.
    QList<BListViewItem *> selectedItemsInOrder() const;
    BListViewItem *itemAt(const QPoint &position) const;
    BListViewItem *itemAt(int x, int y) const { return itemAt(QPoint(x, y)); }
    BListViewItem *itemAbove(const BListViewItem *item) const;
    BListViewItem *itemBelow(const BListViewItem *item) const;
    QRect visualItemRect(const BListViewItem *item) const;
    void scrollToItem(const BListViewItem *item, ScrollHint hint = EnsureVisible);
    void expandItem(const BListViewItem *item);
    void collapseItem(const BListViewItem *item);
    // The column definition of a header section, or null.
    const BCol *columnDefinition(int column) const;

    // Sorting by keys. setSortingEnabled(true) sorts by the header's sort
    // indicator; rows added or changed later are sorted in again when control
    // returns to the event loop (ensureSorted() does it at once).
    void setSortingEnabled(bool enable);
    bool isSortingEnabled() const { return m_sortingEnabled && m_fillDepth == 0; }
    void sortByColumn(int column, Qt::SortOrder order);
    int sortColumn() const;
    void ensureSorted();

    // Filling: between beginFill() and endFill() nothing is sorted or shown;
    // the rows join the view in one change, sorted, when the last fill ends.
    // BListUpdater is the scoped way to use it.
    void beginFill();
    void endFill();
    // Adds a new top-level row (the rows' constructors call it).
    void adoptItem(BListViewItem *item);
    // Deletes every row.
    void clear();

    // Lets the administrator drag a single row to another place in the list
    // (reported by signalItemDropped).
    void setRowDragging(bool on);
    // The row a drop at a viewport position goes behind; null for the top.
    BListViewItem *dropAfter(const QPoint &position) const;

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
    void slotContextMenuRequested(BListViewItem *item, const QPoint &globalPos, int column);
    void slotIndexChanged(int section, int fromPosition, int toPosition);
    void slotSizeChanged(int section, int oldSize, int newSize);
    void slotSizeChangedDefault(int section);
    void slotSortChanged(int section);
    void slotItemChecked(BCheckListItem *item);
    void slotPopup(int id);
    // Asks for a file and writes the list into it as CSV.
    void slotExportCsv();

signals:
    void itemDoubleClicked(BListViewItem *item, int column);
    void itemSelectionChanged();
    void currentItemChanged(BListViewItem *current, BListViewItem *previous);
    void itemExpanded(BListViewItem *item);
    void itemCollapsed(BListViewItem *item);
    void signalBListUpdateNeeded();
    void signalItemChecked(BCheckListItem *item);
    void signalCommand(int id);
    void signalShowMenu(BListViewItem *item, QMenu *&menu);
    // Row drags (setRowDragging): a drag of this list's rows began; a single
    // row was dropped behind after (null: at the top). The rows are not moved
    // by the view: the receiver orders them.
    void signalDragStarted();
    void signalItemDropped(BListViewItem *item, BListViewItem *after, bool flag);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    friend class BListModel;
    friend class BListViewItem;

    // Notes from the model and the rows.
    void rowsAdded();
    void cellChanged(int column);
    void rowsAboutToBePublished();
    void rowsPublished();
    void expandedChanged(BListViewItem *item);
    bool isItemSelected(const BListViewItem *item) const;
    void setItemSelected(const BListViewItem *item, bool selected);

    void publish() const;
    void readPositionsFromHeader();
    // Orders rows (and, below them, their children) by their keys.
    void sortChildren(BListViewItem *parent, int column, Qt::SortOrder order) const;
    // Sorts the rows, keeping selection, current row, open branches and
    // scroll position.
    void sortRows(int column, Qt::SortOrder order);
    void scheduleSort();
    void sortAll(int column, Qt::SortOrder order);

    BCols m_cols;
    BListModel *m_model;
    QMenu *m_menu;
    QHash<int, QAction *> m_actions;
    int m_fillDepth = 0;
    std::unique_ptr<BListItemArena> m_fillArena; // rows made while filling
    int m_scrollBeforePublish = -1;
    int m_hscrollBeforePublish = -1;
    bool m_applyingLayout = false;
    bool m_sortingEnabled = false;
    bool m_sortPending = false;
    // The order the rows were last sorted in, until a row is added or a
    // sorted cell changes (column -1: no order known).
    int m_sortedColumn = -1;
    Qt::SortOrder m_sortedOrder = Qt::AscendingOrder;
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

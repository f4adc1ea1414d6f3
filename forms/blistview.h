#pragma once

#include "forms/bcols.h"

#include <QHash>
#include <QTreeWidget>

class BCheckListItem;
class QAction;
class QMenu;

// The list view of every list in the console: a declared column set the
// administrator can show, hide, reorder, resize and sort, remembered across
// restarts, and a context menu whose entries become list commands.
class BListView : public QTreeWidget
{
    Q_OBJECT
public:
    enum Command { CommandAdd = 1, CommandEdit = 2, CommandRemove = 3, CommandColumns = 4 };

    explicit BListView(QWidget *parent = nullptr);

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

public slots:
    void slotCols();
    void slotContextMenuRequested(QTreeWidgetItem *item, const QPoint &globalPos, int column);
    void slotIndexChanged(int section, int fromPosition, int toPosition);
    void slotSizeChanged(int section, int oldSize, int newSize);
    void slotSizeChangedDefault(int section);
    void slotSortChanged(int section);
    void slotItemChecked(BCheckListItem *item);
    void slotPopup(int id);

signals:
    void signalBListUpdateNeeded();
    void signalItemChecked(BCheckListItem *item);
    void signalCommand(int id);
    void signalShowMenu(QTreeWidgetItem *item, QMenu *&menu);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void readPositionsFromHeader();

    BCols m_cols;
    QMenu *m_menu;
    QHash<int, QAction *> m_actions;
    bool m_applyingLayout = false;
};

// Suspends painting and sorting of a list while it is filled, and resumes
// (sorting once) when it goes out of scope.
class BListUpdater
{
public:
    explicit BListUpdater(BListView *view);
    ~BListUpdater();
    BListUpdater(const BListUpdater &) = delete;
    BListUpdater &operator=(const BListUpdater &) = delete;

private:
    BListView *m_view;
    bool m_updatesWereEnabled;
    bool m_sortingWasEnabled;
};

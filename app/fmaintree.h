#pragma once

#include "app/fmaintreeitem.h"

#include <QHash>
#include <QList>
#include <QTreeWidget>

#include <functional>

// The navigation tree. Items are kept by id: adding an id that exists reuses
// the item and only updates its visibility, so the tree can be rebuilt in place
// and keeps its order (creation order). Roots and folders are pushed on a stack
// of parents when added; closeFolder() pops; every item becomes a child of the
// top of the stack.
class FMainTree : public QTreeWidget
{
    Q_OBJECT

public:
    // Registry key of the open folders: their ids, each followed by ";".
    static constexpr const char *kOpenFoldersKey = "/mainTreeItems";

    explicit FMainTree(QWidget *parent = nullptr);

    // Starts a build in place: the parent stack is emptied, the items stay.
    void beginBuild();
    FMainTreeItem *addItem(int id, FMainTreeItem::Kind kind, const QString &text,
                           const QString &description, const QString &iconBase,
                           bool visible = true);
    // Adds (or reuses) an item below parent, right after "after" (or first when null).
    FMainTreeItem *addItemAfter(FMainTreeItem *parent, QTreeWidgetItem *after, int id,
                                FMainTreeItem::Kind kind, const QString &text,
                                const QString &description, const QString &iconBase,
                                const QString &suffix32 = QStringLiteral("32"));
    void closeFolder();
    // Deletes the children of an item.
    void removeChildren(FMainTreeItem *parent);
    // The current top of the parent stack, or null.
    FMainTreeItem *currentParent() const;

    FMainTreeItem *item(int id) const;
    FMainTreeItem *currentTreeItem() const;
    QList<int> ids() const;
    // The width that shows every label of the visible items in full, with each
    // folder open.
    int widthForLabels() const;
    // Selects the item with the id; false when there is none or it is hidden.
    bool selectId(int id);

    // Asked before a mouse or key press changes the current item; false keeps it.
    void setCanLeave(std::function<bool()> canLeave) { m_canLeave = std::move(canLeave); }

    // Opens the root and every folder listed in the saved open-folder text.
    void restoreOpenFolders();
    // Writes the ids of the open folders (see kOpenFoldersKey).
    void saveOpenFolders();
    static QList<int> parseOpenFolders(const QString &text);

signals:
    void signalSelectionChanged(FMainTreeItem *item, const QString &text);
    // The item under the mouse pointer, or null.
    void signalOnItem(FMainTreeItem *item);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private slots:
    void slotCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *previous);
    void slotExpandedOrCollapsed(QTreeWidgetItem *item);

private:
    FMainTreeItem *reuse(int id, bool visible);
    bool askCanLeave();
    static QTreeWidgetItem *firstVisibleChild(QTreeWidgetItem *parent);
    // Whether the current item is below the folder.
    bool hidesCurrentItem(QTreeWidgetItem *folder) const;

    QHash<int, FMainTreeItem *> m_items;
    QList<FMainTreeItem *> m_parents;
    std::function<bool()> m_canLeave;
    bool m_restoring = false;
};

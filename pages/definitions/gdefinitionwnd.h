#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"
#include "pages/definitions/gformdialogview.h"

#include <QHash>

#include <functional>

// The top-level node of a definition tree: one per distinct name, holding the
// entries of that name as its children. It has no row of its own. Its
// children are made when it is first opened: a large installation has tens of
// thousands of names and ten times as many entries.
class GNameNode : public BListViewItem
{
public:
    GNameNode(BListView *view, const QString &name);
    QString name() const { return text(0); }
    bool canEdit() const override { return false; }

    // Rows of this name that have no item yet.
    QList<DBRow *> &pendingRows() { return m_pending; }
    bool hasPendingRows() const { return !m_pending.isEmpty(); }

private:
    QList<DBRow *> m_pending;
};

// An entry below a name node: its check box is "Enabled", its cells are
// formatted from its row when the view asks. An entry that lets go of its
// row keeps the texts of the shown columns.
class GEntryItem : public BCheckRowTextItem
{
public:
    explicit GEntryItem(DBRow *row);
};

// Remembers which name nodes were open under a settings prefix
// ("/GWndIPGroup/OpenedItems/").
class GOpenedNodes : public BListCollapser
{
public:
    // open populates and opens a node (its children are made on demand).
    GOpenedNodes(const QString &prefix, std::function<void(BListViewItem *)> open)
        : m_prefix(prefix)
        , m_open(std::move(open))
    { }
    // Each change is stored as it happens (store()).
    void remember(BListView *view) override { Q_UNUSED(view); }
    void restore(BListView *view) override;
    void forget() override { }
    void store(const QString &name, bool open);
    // Whether any node was ever stored as open or closed.
    bool hasStoredState() const;

private:
    QString m_prefix;
    std::function<void(BListViewItem *)> m_open;
};

// The common part of the IP address group and time range pages: a tree of
// names over one remote table whose rows sharing a "Name" make one
// definition. Restricted to one name, it selects only the rows of that name.
// Shown in GFormDialog, it keeps its edits out of the connection's pending
// operations and saves its table on its own.
class GDefinitionWnd : public BFormList<>, public GFormDialogView
{
public:
    GDefinitionWnd(QWidget *parent, const QString &tableName, const QString &restrictedName,
                   const QString &openedPrefix);

    // The name the page is restricted to; empty for the whole table.
    QString restrictedName() const { return m_restrictedName; }
    DBTable *table() override { return &m_table; }
    BListViewItem *createItem(DBRow *row) override;
    // Edited entries show their new values; one whose name changed moves to
    // the node of that name.
    void updateItems(const QList<BListViewItem *> &items) override;
    void remove() override;
    void itemChecked(BCheckListItem *item) override;
    bool fillView() override;
    void discard() override;

    void load(bool first) override;
    bool save() override;
    void registerChanges() override;
    void afterFirstLoad() override;

    // The name node of this name, or null.
    GNameNode *nameNode(const QString &name) const { return m_nodes.value(name); }
    // Makes the items of the node's entries that have none yet.
    void populate(GNameNode *node);
    // Populates and opens a node.
    void openNode(GNameNode *node);
    // The name of the node that is selected or holds the selected entry.
    QString selectedName() const;

    // GFormDialogView
    QWidget *dialogWidget() override { return this; }
    void enterDialogMode(std::function<void()> changed) override;
    bool hasDialogChanges() const override;
    bool applyDialogChanges() override;
    void discardDialogChanges() override;
    bool isDialogReadOnly() const override { return sessionReadOnly(); }

protected:
    // The child item of an entry row.
    virtual GEntryItem *createEntryItem(DBRow *row) = 0;
    // Adds further tables to the group before the first load.
    DBTransTab &tables() { return m_trans; }

    DBTable m_table;

private:
    GNameNode *nodeFor(const QString &name);
    void dropEmptyNode(GNameNode *node);
    // The rows are about to be replaced: the nodes let go of those without items.
    void forgetPendingRows();

    DBTransTab m_trans;
    QString m_restrictedName;
    QHash<QString, GNameNode *> m_nodes;
    GOpenedNodes m_opened;
    std::function<void()> m_dialogChanged;
    bool m_dialogMode = false;
};

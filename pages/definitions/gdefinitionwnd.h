#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"
#include "pages/definitions/gformdialogview.h"

#include <QHash>

#include <functional>

// The top-level node of a definition tree: one per distinct name, holding the
// entries of that name as its children. It has no row of its own.
class GNameNode : public BListViewItem
{
public:
    GNameNode(BListView *view, const QString &name);
    QString name() const { return text(0); }
    bool canEdit() const override { return false; }
};

// Remembers which name nodes were open under a settings prefix
// ("/GWndIPGroup/OpenedItems/").
class GOpenedNodes : public BListCollapser
{
public:
    explicit GOpenedNodes(const QString &prefix)
        : m_prefix(prefix)
    { }
    void remember(BListView *view) override;
    void restore(BListView *view) override;
    void forget() override { }
    void store(const QString &name, bool open);

private:
    QString m_prefix;
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
    void updateItems(const QList<QTreeWidgetItem *> &items) override;
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
    // The child item of an entry row (its check box shows "Enabled").
    virtual BCheckListItem *createEntryItem(DBRow *row) = 0;
    virtual void refreshEntryItem(BCheckListItem *item) = 0;
    // Adds further tables to the group before the first load.
    DBTransTab &tables() { return m_trans; }

    DBTable m_table;

private:
    GNameNode *nodeFor(const QString &name);
    void dropEmptyNode(GNameNode *node);

    DBTransTab m_trans;
    QString m_restrictedName;
    QHash<QString, GNameNode *> m_nodes;
    GOpenedNodes m_opened;
    std::function<void()> m_dialogChanged;
    bool m_dialogMode = false;
};

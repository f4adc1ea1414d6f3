#include "pages/definitions/gdefinitionwnd.h"

#include "db/dbquote.h"
#include "forms/bmessagebox.h"
#include "registry/utkontainer.h"

#include <QMessageBox>
#include <QTreeWidgetItemIterator>

GNameNode::GNameNode(BListView *view, const QString &name)
    : BListViewItem(view, nullptr, QStringList{name})
{
    setFlags(flags() & ~Qt::ItemIsUserCheckable);
}

void GOpenedNodes::store(const QString &name, bool open)
{
    const QString key = m_prefix + name;
    UtKontainer::setBool(key, open, key);
}

void GOpenedNodes::remember(BListView *view)
{
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem *node = view->topLevelItem(i);
        store(node->text(0), node->isExpanded());
    }
}

void GOpenedNodes::restore(BListView *view)
{
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem *node = view->topLevelItem(i);
        const QString key = m_prefix + node->text(0);
        node->setExpanded(UtKontainer::getBool(key, false, key));
    }
}

namespace {

DBTable::Options optionsFor(const QString &restrictedName)
{
    DBTable::Options options;
    if (!restrictedName.isEmpty())
        options.filter = QStringLiteral("Name=\"%1\"").arg(dbEscape(restrictedName));
    return options;
}

} // namespace

GDefinitionWnd::GDefinitionWnd(QWidget *parent, const QString &tableName,
                               const QString &restrictedName, const QString &openedPrefix)
    : BFormList<>(parent)
    , m_table(bobject::connection(), tableName, QList<DBKol>(), optionsFor(restrictedName))
    , m_trans(bobject::connection())
    , m_restrictedName(restrictedName)
    , m_opened(openedPrefix)
{
    m_trans.addTable(&m_table);
    listView()->setRootIsDecorated(true);
    setCollapser(&m_opened);
    connect(listView(), &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        if (!item->parent() && !m_updating)
            m_opened.store(item->text(0), true);
    });
    connect(listView(), &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        if (!item->parent() && !m_updating)
            m_opened.store(item->text(0), false);
    });
}

GNameNode *GDefinitionWnd::nodeFor(const QString &name)
{
    GNameNode *&node = m_nodes[name];
    if (!node)
        node = new GNameNode(listView(), name);
    return node;
}

void GDefinitionWnd::dropEmptyNode(GNameNode *node)
{
    if (node && node->childCount() == 0) {
        m_nodes.remove(node->name());
        delete node;
    }
}

BListViewItem *GDefinitionWnd::createItem(DBRow *row)
{
    GNameNode *node = nodeFor(row->text("Name"));
    BCheckListItem *item = createEntryItem(row);
    if (sessionReadOnly())
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    node->addChild(item);
    if (!m_updating)
        node->setExpanded(true);
    return item;
}

void GDefinitionWnd::updateItems(const QList<QTreeWidgetItem *> &items)
{
    for (QTreeWidgetItem *item : items) {
        auto *entry = dynamic_cast<BCheckListItem *>(item);
        if (!entry || !entry->row())
            continue;
        refreshEntryItem(entry);
        auto *node = static_cast<GNameNode *>(entry->parent());
        const QString name = entry->row()->text("Name");
        if (node && node->name() != name) {
            node->removeChild(entry);
            dropEmptyNode(node);
            GNameNode *target = nodeFor(name);
            target->addChild(entry);
            target->setExpanded(true);
            selectItem(entry);
        }
    }
}

QString GDefinitionWnd::selectedName() const
{
    const QList<QTreeWidgetItem *> selected = listView()->selectedItemsInOrder();
    if (selected.isEmpty())
        return QString();
    QTreeWidgetItem *item = selected.first();
    return item->parent() ? item->parent()->text(0) : item->text(0);
}

void GDefinitionWnd::remove()
{
    if (!removeButton()->isEnabled() || m_detached)
        return;
    const QList<QTreeWidgetItem *> selected = listView()->selectedItemsInOrder();
    QList<GNameNode *> nodes;
    QList<QTreeWidgetItem *> entries;
    for (QTreeWidgetItem *item : selected) {
        if (!item->parent())
            nodes.append(static_cast<GNameNode *>(item));
        else
            entries.append(item);
    }
    if (!nodes.isEmpty()
        && QMessageBox::question(this, bmessagebox::caption(),
                                 tr("All items with this name will be deleted!"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                != QMessageBox::Yes)
        return;
    for (GNameNode *node : std::as_const(nodes)) {
        while (node->childCount() > 0) {
            QTreeWidgetItem *child = node->takeChild(0);
            entries.removeAll(child);
            if (BBaseListItem *base = baseListItem(child); base && base->row())
                m_table.removeRow(base->row());
            delete child;
        }
        m_nodes.remove(node->name());
        delete node;
    }
    for (QTreeWidgetItem *item : std::as_const(entries)) {
        auto *node = static_cast<GNameNode *>(item->parent());
        if (BBaseListItem *base = baseListItem(item); base && base->row())
            m_table.removeRow(base->row());
        delete item;
        dropEmptyNode(node);
    }
    if (!nodes.isEmpty() || !entries.isEmpty()) {
        registerChanges();
        selectionChanged();
    }
}

void GDefinitionWnd::itemChecked(BCheckListItem *item)
{
    if (m_updating || !item || !item->row() || sessionReadOnly())
        return;
    const QString enabled = item->isOn() ? QStringLiteral("1") : QStringLiteral("0");
    if (item->row()->text("Enabled") == enabled)
        return;
    item->row()->setText("Enabled", enabled);
    registerChanges();
}

bool GDefinitionWnd::fillView()
{
    listView()->clear();
    m_nodes.clear();
    for (DBRow *row : m_table.rows())
        createItem(row);
    return true;
}

void GDefinitionWnd::discard()
{
    m_nodes.clear();
    BFormList<>::discard();
}

void GDefinitionWnd::load(bool first)
{
    m_nodes.clear();
    if (m_dialogMode) {
        // The requests of the page below the dialog stay queued.
        bview::KeepRequests keep;
        loadTables(&m_trans, first);
        return;
    }
    loadTables(&m_trans, first);
}

bool GDefinitionWnd::save()
{
    if (m_dialogMode)
        return applyDialogChanges();
    return saveTables(&m_trans);
}

void GDefinitionWnd::registerChanges()
{
    if (m_dialogMode) {
        if (m_dialogChanged)
            m_dialogChanged();
        return;
    }
    registerTables(&m_trans);
}

void GDefinitionWnd::afterFirstLoad()
{
    listView()->applyLayout();
    // Restricted to one name, that name's entries are what the page is for.
    if (!m_restrictedName.isEmpty()) {
        if (GNameNode *node = nameNode(m_restrictedName))
            node->setExpanded(true);
    }
}

void GDefinitionWnd::enterDialogMode(std::function<void()> changed)
{
    m_dialogMode = true;
    m_dialogChanged = std::move(changed);
    bview::disconnectFromFrameWindow(viewSlot());
}

bool GDefinitionWnd::hasDialogChanges() const
{
    return m_table.isModified();
}

bool GDefinitionWnd::applyDialogChanges()
{
    if (!m_table.isModified())
        return true;
    if (!m_table.save()) {
        bobject::showServerError(this, m_table.errorText());
        return false;
    }
    return true;
}

void GDefinitionWnd::discardDialogChanges()
{
    if (m_table.isModified())
        discard();
}

#include "pages/definitions/gdefinitionwnd.h"

#include "db/dbquote.h"
#include "forms/bmessagebox.h"
#include "registry/utkontainer.h"

#include <QMessageBox>
#include <QSettings>

GNameNode::GNameNode(BListView *view, const QString &name)
    : BListViewItem(view, nullptr, QStringList{name})
{
    setFlags(flags() & ~Qt::ItemIsUserCheckable);
}

GEntryItem::GEntryItem(DBRow *row)
    : BCheckRowTextItem(row)
{
    // The dialogs never change "Enabled": only the check box does, and it
    // writes the row itself (itemChecked).
    if (row)
        setCheckState(0,
                      row->text(QStringLiteral("Enabled")) == QLatin1String("0") ? Qt::Unchecked
                                                                                 : Qt::Checked);
}

void GOpenedNodes::store(const QString &name, bool open)
{
    const QString key = m_prefix + name;
    UtKontainer::setBool(key, open, key);
}

bool GOpenedNodes::hasStoredState() const
{
    QSettings *settings = UtKontainer::store();
    if (!settings)
        return false;
    settings->beginGroup(UtKontainer::normalizeKey(m_prefix));
    const bool stored = !settings->childKeys().isEmpty();
    settings->endGroup();
    return stored;
}

void GOpenedNodes::restore(BListView *view)
{
    // One pass over the names stored as open, not one look-up per node: a
    // large installation has tens of thousands of names.
    QSettings *settings = UtKontainer::store();
    if (!settings)
        return;
    QHash<QString, BListViewItem *> nodes;
    nodes.reserve(view->topLevelItemCount());
    for (int i = 0; i < view->topLevelItemCount(); ++i)
        nodes.insert(view->topLevelItem(i)->text(0), view->topLevelItem(i));
    settings->beginGroup(UtKontainer::normalizeKey(m_prefix));
    const QStringList names = settings->childKeys();
    for (const QString &name : names) {
        if (BListViewItem *node = nodes.value(name); node && settings->value(name).toBool())
            m_open(node);
    }
    settings->endGroup();
}

namespace {

// Up to this many entries, a page opened for the first time opens every name.
constexpr int kOpenAllRows = 100;

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
    , m_opened(openedPrefix,
               [this](BListViewItem *node) { openNode(static_cast<GNameNode *>(node)); })
{
    m_trans.addTable(&m_table);
    listView()->setRootIsDecorated(true);
    setCollapser(&m_opened);
    connect(listView(), &BListView::itemExpanded, this, [this](BListViewItem *item) {
        if (!item->parent() && !m_updating)
            m_opened.store(item->text(0), true);
    });
    connect(listView(), &BListView::itemCollapsed, this, [this](BListViewItem *item) {
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

void GDefinitionWnd::populate(GNameNode *node)
{
    if (!node || !node->hasPendingRows())
        return;
    const bool readOnly = sessionReadOnly();
    QList<BListViewItem *> items;
    items.reserve(node->pendingRows().size());
    for (DBRow *row : std::as_const(node->pendingRows())) {
        GEntryItem *item = createEntryItem(row);
        if (readOnly)
            item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
        items.append(item);
    }
    node->pendingRows().clear();
    const bool updating = m_updating;
    m_updating = true; // new items report their check state
    node->addChildren(items);
    m_updating = updating;
}

void GDefinitionWnd::openNode(GNameNode *node)
{
    populate(node);
    node->setExpanded(true);
}

void GDefinitionWnd::forgetPendingRows()
{
    for (GNameNode *node : std::as_const(m_nodes))
        node->pendingRows().clear();
}

void GDefinitionWnd::dropEmptyNode(GNameNode *node)
{
    if (node && node->childCount() == 0 && !node->hasPendingRows()) {
        m_nodes.remove(node->name());
        delete node;
    }
}

BListViewItem *GDefinitionWnd::createItem(DBRow *row)
{
    GNameNode *node = nodeFor(row->text(QStringLiteral("Name")));
    populate(node);
    GEntryItem *item = createEntryItem(row);
    if (sessionReadOnly())
        item->setFlags(item->flags() & ~Qt::ItemIsUserCheckable);
    node->addChild(item);
    node->setExpanded(true);
    return item;
}

void GDefinitionWnd::updateItems(const QList<BListViewItem *> &items)
{
    for (BListViewItem *item : items) {
        auto *entry = dynamic_cast<GEntryItem *>(item);
        if (!entry || !entry->row())
            continue;
        entry->emitDataChanged();
        auto *node = static_cast<GNameNode *>(entry->parent());
        const QString name = entry->row()->text(QStringLiteral("Name"));
        if (node && node->name() != name) {
            node->removeChild(entry);
            dropEmptyNode(node);
            GNameNode *target = nodeFor(name);
            populate(target);
            target->addChild(entry);
            target->setExpanded(true);
            selectItem(entry);
        }
    }
}

QString GDefinitionWnd::selectedName() const
{
    const QList<BListViewItem *> selected = listView()->selectedItemsInOrder();
    if (selected.isEmpty())
        return QString();
    BListViewItem *item = selected.first();
    return item->parent() ? item->parent()->text(0) : item->text(0);
}

void GDefinitionWnd::remove()
{
    if (!removeButton()->isEnabled() || m_detached)
        return;
    const QList<BListViewItem *> selected = listView()->selectedItemsInOrder();
    QList<GNameNode *> nodes;
    QList<BListViewItem *> entries;
    for (BListViewItem *item : selected) {
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
        for (DBRow *row : std::as_const(node->pendingRows()))
            m_table.removeRow(row);
        node->pendingRows().clear();
        while (node->childCount() > 0) {
            BListViewItem *child = node->takeChild(0);
            entries.removeAll(child);
            if (BBaseListItem *base = baseListItem(child); base && base->row())
                m_table.removeRow(base->row());
            delete child;
        }
        m_nodes.remove(node->name());
        delete node;
    }
    for (BListViewItem *item : std::as_const(entries)) {
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
    if (item->row()->text(QStringLiteral("Enabled")) == enabled)
        return;
    item->row()->setText("Enabled", enabled);
    registerChanges();
}

bool GDefinitionWnd::fillView()
{
    listView()->clear();
    m_nodes.clear();
    // Only the name nodes now; each node makes its entries when opened.
    const int nameColumn = m_table.columns().indexOf(QStringLiteral("Name"));
    GNameNode *node = nullptr;
    QString nodeName;
    for (DBRow *row : m_table.rows()) {
        const QString name = row->text(nameColumn);
        if (!node || name != nodeName) {
            node = nodeFor(name);
            nodeName = name;
        }
        node->pendingRows().append(row);
    }
    for (GNameNode *named : std::as_const(m_nodes))
        named->setChildIndicatorPolicy(BListViewItem::ShowIndicator);
    return true;
}

void GDefinitionWnd::discard()
{
    forgetPendingRows();
    m_nodes.clear();
    if (m_dialogMode) {
        // The connection's pending operations belong to the page below.
        detachItems();
        m_table.revert();
        return;
    }
    BFormList<>::discard();
}

void GDefinitionWnd::load(bool first)
{
    forgetPendingRows();
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
    if (!m_restrictedName.isEmpty()) {
        // Restricted to one name, that name's entries are what the page is for.
        if (GNameNode *node = nameNode(m_restrictedName))
            openNode(node);
    } else if (m_table.rowCount() <= kOpenAllRows && !m_opened.hasStoredState()) {
        // A small installation seen for the first time shows every entry.
        for (GNameNode *node : std::as_const(m_nodes))
            openNode(node);
    }
    // Columns without a stored width fit the rows shown, entries included.
    listView()->applyLayout();
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

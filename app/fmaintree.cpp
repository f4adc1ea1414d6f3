#include "app/fmaintree.h"

#include "app/ftrace.h"
#include "forms/sectionids.h"
#include "registry/utkontainer.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTreeWidgetItemIterator>

FMainTree::FMainTree(QWidget *parent)
    : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setObjectName(QStringLiteral("FMainTree"));
    setAccessibleName(tr("Navigation"));
    setAccessibleDescription(tr("Sections of the server"));
    connect(this, &QTreeWidget::currentItemChanged, this, &FMainTree::slotCurrentItemChanged);
    connect(this, &QTreeWidget::itemExpanded, this, &FMainTree::slotExpandedOrCollapsed);
    connect(this, &QTreeWidget::itemCollapsed, this, &FMainTree::slotExpandedOrCollapsed);
}

void FMainTree::beginBuild()
{
    m_parents.clear();
}

FMainTreeItem *FMainTree::reuse(int id, bool visible)
{
    FMainTreeItem *existing = m_items.value(id);
    if (existing)
        existing->setHidden(!visible);
    return existing;
}

FMainTreeItem *FMainTree::addItem(int id, FMainTreeItem::Kind kind, const QString &text,
                                  const QString &description, const QString &iconBase, bool visible)
{
    FMainTreeItem *item = reuse(id, visible);
    if (!item) {
        item = new FMainTreeItem(id, kind, text, description, iconBase);
        if (FMainTreeItem *parent = currentParent())
            parent->addChild(item);
        else
            addTopLevelItem(item);
        item->setHidden(!visible);
        m_items.insert(id, item);
    }
    if (item->isFolderLike())
        m_parents.append(item);
    return item;
}

FMainTreeItem *FMainTree::addItemAfter(FMainTreeItem *parent, QTreeWidgetItem *after, int id,
                                       FMainTreeItem::Kind kind, const QString &text,
                                       const QString &description, const QString &iconBase,
                                       const QString &suffix32)
{
    if (FMainTreeItem *existing = reuse(id, true))
        return existing;
    auto *item = new FMainTreeItem(id, kind, text, description, iconBase, suffix32);
    if (parent) {
        const int index = after && after->parent() == parent ? parent->indexOfChild(after) + 1 : 0;
        parent->insertChild(index, item);
    } else {
        const int index = after ? indexOfTopLevelItem(after) + 1 : 0;
        insertTopLevelItem(index, item);
    }
    m_items.insert(id, item);
    return item;
}

void FMainTree::closeFolder()
{
    if (!m_parents.isEmpty())
        m_parents.removeLast();
}

void FMainTree::removeChildren(FMainTreeItem *parent)
{
    const QList<QTreeWidgetItem *> children = parent->takeChildren();
    for (QTreeWidgetItem *child : children) {
        auto *entry = static_cast<FMainTreeItem *>(child);
        removeChildren(entry);
        m_items.remove(entry->id());
        delete entry;
    }
}

FMainTreeItem *FMainTree::currentParent() const
{
    return m_parents.isEmpty() ? nullptr : m_parents.last();
}

FMainTreeItem *FMainTree::item(int id) const
{
    return m_items.value(id);
}

FMainTreeItem *FMainTree::currentTreeItem() const
{
    return static_cast<FMainTreeItem *>(currentItem());
}

QList<int> FMainTree::ids() const
{
    return m_items.keys();
}

int FMainTree::widthForLabels() const
{
    const QFontMetrics metrics(font());
    const int iconAndSpacing = iconSize().isValid() ? iconSize().width() + 8 : 24;
    int widest = 0;
    for (QTreeWidgetItemIterator it(const_cast<FMainTree *>(this)); *it; ++it) {
        QTreeWidgetItem *entry = *it;
        int depth = 0;
        bool hidden = entry->isHidden();
        for (QTreeWidgetItem *up = entry->parent(); up; up = up->parent()) {
            ++depth;
            hidden = hidden || up->isHidden();
        }
        if (hidden)
            continue;
        const int indent = (depth + (rootIsDecorated() ? 1 : 0)) * indentation();
        widest = qMax(widest, indent + iconAndSpacing + metrics.horizontalAdvance(entry->text(0)));
    }
    return widest + 2 * frameWidth() + 8;
}

bool FMainTree::selectId(int id)
{
    FMainTreeItem *target = item(id);
    if (!target || target->isHidden())
        return false;
    for (QTreeWidgetItem *parent = target->parent(); parent; parent = parent->parent())
        parent->setExpanded(true);
    setCurrentItem(target);
    return currentItem() == target;
}

bool FMainTree::askCanLeave()
{
    return !m_canLeave || m_canLeave();
}

void FMainTree::mousePressEvent(QMouseEvent *event)
{
    QTreeWidgetItem *target = itemAt(event->position().toPoint());
    const bool onExpander = target && event->position().x() < visualItemRect(target).x();
    if (target && target != currentItem() && !onExpander && !askCanLeave())
        return;
    QTreeWidget::mousePressEvent(event);
}

void FMainTree::keyPressEvent(QKeyEvent *event)
{
    // Left and Right are handled here: QTreeView::moveCursor() expands or collapses
    // as a side effect, so asking it where they lead would act twice.
    if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
        QTreeWidgetItem *current = currentItem();
        if (!current || (event->modifiers() & ~Qt::KeypadModifier)) {
            QTreeWidget::keyPressEvent(event);
            return;
        }
        event->accept();
        const bool opens = event->key() == Qt::Key_Right;
        if (current->childCount() > 0 && current->isExpanded() != opens) {
            current->setExpanded(opens);
            return;
        }
        QTreeWidgetItem *next = opens ? firstVisibleChild(current) : current->parent();
        if (next && askCanLeave())
            setCurrentItem(next);
        return;
    }
    static const QHash<int, CursorAction> moves
            = {{Qt::Key_Up, MoveUp},         {Qt::Key_Down, MoveDown},
               {Qt::Key_PageUp, MovePageUp}, {Qt::Key_PageDown, MovePageDown},
               {Qt::Key_Home, MoveHome},     {Qt::Key_End, MoveEnd}};
    const auto move = moves.constFind(event->key());
    if (move != moves.constEnd()) {
        const QModelIndex next = moveCursor(*move, event->modifiers());
        if (next.isValid() && next != currentIndex() && !askCanLeave())
            return;
    }
    QTreeWidget::keyPressEvent(event);
}

QTreeWidgetItem *FMainTree::firstVisibleChild(QTreeWidgetItem *parent)
{
    for (int i = 0; i < parent->childCount(); ++i) {
        if (!parent->child(i)->isHidden())
            return parent->child(i);
    }
    return nullptr;
}

void FMainTree::mouseMoveEvent(QMouseEvent *event)
{
    emit signalOnItem(static_cast<FMainTreeItem *>(itemAt(event->position().toPoint())));
    QTreeWidget::mouseMoveEvent(event);
}

void FMainTree::leaveEvent(QEvent *event)
{
    emit signalOnItem(nullptr);
    QTreeWidget::leaveEvent(event);
}

void FMainTree::slotCurrentItemChanged(QTreeWidgetItem *current, QTreeWidgetItem *)
{
    auto *item = static_cast<FMainTreeItem *>(current);
    if (!item)
        return;
    fTrace(QStringLiteral("maintree change: %1").arg(item->id()));
    emit signalSelectionChanged(item, item->text(0));
}

void FMainTree::slotExpandedOrCollapsed(QTreeWidgetItem *changed)
{
    static_cast<FMainTreeItem *>(changed)->updateIcon();
    if (!changed->isExpanded() && !m_restoring && hidesCurrentItem(changed)) {
        // The current page's item disappears into the closed folder: the folder
        // becomes current so that the selection still names the page shown. When
        // the page may not be left, the folder stays open.
        if (askCanLeave()) {
            setCurrentItem(changed);
        } else {
            changed->setExpanded(true);
            return;
        }
    }
    if (!m_restoring)
        saveOpenFolders();
}

bool FMainTree::hidesCurrentItem(QTreeWidgetItem *folder) const
{
    for (QTreeWidgetItem *item = currentItem(); item; item = item->parent()) {
        if (item->parent() == folder)
            return true;
    }
    return false;
}

QList<int> FMainTree::parseOpenFolders(const QString &text)
{
    QList<int> ids;
    const QStringList parts = text.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        bool ok = false;
        const int id = part.trimmed().toInt(&ok);
        if (ok)
            ids.append(id);
    }
    return ids;
}

void FMainTree::saveOpenFolders()
{
    const QString key = QString::fromLatin1(kOpenFoldersKey);
    const QList<int> previous = parseOpenFolders(UtKontainer::getText(key, {}, key));
    QString text;
    QList<int> sorted = m_items.keys();
    std::sort(sorted.begin(), sorted.end());
    for (int id : sorted) {
        FMainTreeItem *entry = m_items.value(id);
        if (entry->isFolderLike() && entry->isExpanded())
            text += QString::number(id) + QLatin1Char(';');
    }
    // The Logs folder arrives later than the rest: keep its saved state until then.
    if (!item(SectionId::Logs) && previous.contains(SectionId::Logs))
        text += QString::number(SectionId::Logs) + QLatin1Char(';');
    UtKontainer::setText(key, text, key);
}

void FMainTree::restoreOpenFolders()
{
    const QString key = QString::fromLatin1(kOpenFoldersKey);
    const QList<int> open = parseOpenFolders(UtKontainer::getText(key, {}, key));
    m_restoring = true;
    for (FMainTreeItem *entry : std::as_const(m_items)) {
        if (entry->kind() == FMainTreeItem::Root || open.contains(entry->id()))
            entry->setExpanded(true);
    }
    m_restoring = false;
}

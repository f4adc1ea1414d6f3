#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include "forms/bformlist.h"

#include <algorithm>

namespace bformlistorder {
// Context-menu commands of an ordered list.
enum Command { CommandDuplicate = 41, CommandUp = 42, CommandDown = 43 };
} // namespace bformlistorder

// An editable list whose rows carry an order number the administrator changes
// with Up and Down (buttons, context menu, Ctrl+Up and Ctrl+Down), Duplicate
// (Ctrl+D) and by dragging a row. Rows are BOrderListItems; the list shows
// them by order. Duplicate, a drop and Remove number the rows again from the
// lowest order number, one apart, in display order; Up and Down exchange two
// numbers, which keeps such a sequence as it is.
template<class Layout = TBFormListOrder>
class BFormListOrder : public BFormList<Layout>, public BFormListOrderInterface
{
public:
    template<class... Args>
    requires(!bforms::isSelfCopy<BFormListOrder, Args...>) explicit BFormListOrder(Args &&...args)
        : BFormList<Layout>(std::forward<Args>(args)...)
        , m_orderSlot(new bformlistorder::BFormListOrderSlot(this, this))
        , m_changes(new bformlistwidget::BFormListObject(this))
    {
        QObject::connect(this->upButton(), &QPushButton::clicked, m_orderSlot,
                         &bformlistorder::BFormListOrderSlot::slotUp);
        QObject::connect(this->downButton(), &QPushButton::clicked, m_orderSlot,
                         &bformlistorder::BFormListOrderSlot::slotDown);

        using namespace bformlistorder;
        BListView *list = this->listView();
        const struct
        {
            int id;
            const char *text;
            const char *keys;
        } entries[] = {
                {CommandDuplicate, QT_TRANSLATE_NOOP("BFormListOrder", "&Duplicate"),
                 QT_TRANSLATE_NOOP("BFormListOrder", "Ctrl+D")},
                {CommandUp, QT_TRANSLATE_NOOP("BFormListOrder", "Move &Up"),
                 QT_TRANSLATE_NOOP("BFormListOrder", "Ctrl+Up")},
                {CommandDown, QT_TRANSLATE_NOOP("BFormListOrder", "Move &Down"),
                 QT_TRANSLATE_NOOP("BFormListOrder", "Ctrl+Down")},
        };
        int position = 3; // below Remove
        for (const auto &entry : entries) {
            QAction *action = list->insertMenuItem(
                    entry.id, QCoreApplication::translate("BFormListOrder", entry.text),
                    position++);
            action->setShortcut(
                    QKeySequence(QCoreApplication::translate("BFormListOrder", entry.keys)));
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            list->addAction(action); // the keys work while the list has the focus
        }

        list->setRowDragging(true);
        QObject::connect(list, &BListView::signalItemDropped, m_orderSlot,
                         &BFormListOrderSlot::slotItemDropped);
        QObject::connect(list, &BListView::signalDragStarted, m_orderSlot,
                         &BFormListOrderSlot::slotDragStarted);
    }

    // Exchanges the order numbers of two rows (items and table rows). The
    // default swaps the items' numbers and writes them into orderColumn().
    virtual bool swapOrder(BOrderListItem *first, BOrderListItem *second)
    {
        const int order = first->order();
        first->setOrder(second->order());
        second->setOrder(order);
        const QString column = orderColumn();
        if (!column.isEmpty()) {
            if (first->row())
                first->row()->setNumber(column, first->order());
            if (second->row())
                second->row()->setNumber(column, second->order());
        }
        return true;
    }
    // The table column that holds the order number; empty when none.
    virtual QString orderColumn() const { return {}; }
    // Copies a row for Duplicate; false when the page does not duplicate.
    virtual bool duplicateRow(DBRow *source, DBRow *copy)
    {
        Q_UNUSED(source);
        Q_UNUSED(copy);
        return false;
    }

    void up() override { move(-1); }
    void down() override { move(1); }

    // The selected row's copy goes directly below it.
    void duplicate() override
    {
        const QList<BListViewItem *> selected = this->listView()->selectedItemsInOrder();
        DBTable *main = this->table();
        auto *source
                = selected.size() == 1 ? dynamic_cast<BOrderListItem *>(selected.first()) : nullptr;
        if (!main || !source || !source->row() || this->m_detached || this->sessionReadOnly())
            return;
        DBRow *copy = main->addRow();
        if (!duplicateRow(source->row(), copy)) {
            main->removeRow(copy);
            return;
        }
        auto *item = dynamic_cast<BOrderListItem *>(this->createItem(copy));
        if (!item) {
            main->removeRow(copy);
            return;
        }
        QList<BOrderListItem *> items = displayedItems();
        items.removeOne(item);
        items.insert(items.indexOf(source) + 1, item);
        renumber(items);
        this->selectItem(item);
        this->registerChanges();
        m_changes->notify();
    }

    // Drag and drop: the dropped row moves behind after (to the top when
    // after is null).
    void itemDropped(BListViewItem *item, BListViewItem *after, bool) override
    {
        auto *moved = dynamic_cast<BOrderListItem *>(item);
        QList<BOrderListItem *> items = displayedItems();
        if (!moved || moved == after || !items.contains(moved) || this->m_detached
            || this->sessionReadOnly())
            return;
        const QList<BOrderListItem *> before = items;
        items.removeOne(moved);
        qsizetype at = 0;
        if (after) {
            at = items.indexOf(dynamic_cast<BOrderListItem *>(after));
            if (at < 0)
                return; // not a row of this list
            ++at;
        }
        items.insert(at, moved);
        if (items == before)
            return;
        renumber(items);
        BListView *list = this->listView();
        // Explicitly: a held Ctrl would otherwise turn this into a toggle.
        list->setCurrentItem(moved, 0,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list->scrollToItem(moved);
        this->registerChanges();
        m_changes->notify();
    }
    // The order shown is the order the drop positions refer to.
    void dragStarted() override { this->listView()->ensureSorted(); }

    void command(int id) override
    {
        switch (id) {
        case bformlistorder::CommandDuplicate:
            duplicate();
            break;
        case bformlistorder::CommandUp:
            up();
            break;
        case bformlistorder::CommandDown:
            down();
            break;
        default:
            BFormList<Layout>::command(id);
        }
    }

    void selectionChanged() override
    {
        BFormList<Layout>::selectionChanged();
        BListView *list = this->listView();
        const QList<BListViewItem *> selected = this->m_detached || this->sessionReadOnly()
                ? QList<BListViewItem *>()
                : list->selectedItemsInOrder();
        BListViewItem *single = selected.size() == 1 ? selected.first() : nullptr;
        list->setMenuItemEnabled(bformlistorder::CommandDuplicate, single != nullptr);
        list->setMenuItemEnabled(bformlistorder::CommandUp, single && list->itemAbove(single));
        list->setMenuItemEnabled(bformlistorder::CommandDown, single && list->itemBelow(single));
    }

    bformlistwidget::BFormListObject *changesObject() const { return m_changes; }

protected:
    QList<BOrderListItem *> orderedItems() const
    {
        QList<BOrderListItem *> items;
        BListView *list = this->listView();
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            if (auto *item = dynamic_cast<BOrderListItem *>(list->topLevelItem(i)))
                items.append(item);
        }
        return items;
    }

    // The rows in the order they are shown (sorted by order number).
    QList<BOrderListItem *> displayedItems()
    {
        this->listView()->ensureSorted();
        return orderedItems();
    }

    int nextOrder() const
    {
        int highest = 0;
        for (BOrderListItem *item : orderedItems())
            highest = std::max(highest, item->order());
        return highest;
    }

    // Numbers the rows one apart in the given order, from the lowest order
    // number they had (1 for a list without numbers), and shows them so.
    void renumber(const QList<BOrderListItem *> &items)
    {
        if (items.isEmpty())
            return;
        int first = items.first()->order();
        for (BOrderListItem *item : items)
            first = std::min(first, item->order());
        first = std::max(first, 1);
        const QString column = orderColumn();
        for (qsizetype i = 0; i < items.size(); ++i) {
            BOrderListItem *item = items.at(i);
            const int order = first + int(i);
            item->setOrder(order);
            if (!column.isEmpty() && item->row() && item->row()->text(column).toInt() != order)
                item->row()->setNumber(column, order);
        }
        this->updateItems(QList<BListViewItem *>(items.cbegin(), items.cend()));
        resort();
        this->selectionChanged(); // Up and Down depend on the places
    }

    // Removing rows leaves no gap in the numbers.
    void rowsRemoved() override { renumber(displayedItems()); }

    void resort()
    {
        // Rows sort by order number in every column; ascending is the order.
        BListView *list = this->listView();
        list->sortByColumn(std::max(0, list->sortColumn()), Qt::AscendingOrder);
    }

    void move(int step)
    {
        BListView *list = this->listView();
        const QList<BListViewItem *> selected = list->selectedItemsInOrder();
        if (selected.size() != 1 || this->sessionReadOnly())
            return;
        auto *item = dynamic_cast<BOrderListItem *>(selected.first());
        auto *neighbour = dynamic_cast<BOrderListItem *>(step < 0 ? list->itemAbove(item)
                                                                  : list->itemBelow(item));
        if (!item || !neighbour || this->m_detached)
            return;
        {
            BListUpdater updater(list);
            if (!swapOrder(item, neighbour))
                return;
            this->updateItems({item, neighbour});
        }
        resort();
        // Explicitly: Ctrl+Up and Ctrl+Down would otherwise turn this into a toggle.
        list->setCurrentItem(item, 0,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list->scrollToItem(item);
        this->selectionChanged(); // Up and Down depend on the places
        this->registerChanges();
        m_changes->notify();
    }

    bformlistorder::BFormListOrderSlot *m_orderSlot;
    bformlistwidget::BFormListObject *m_changes;
};

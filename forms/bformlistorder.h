#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include "forms/bformlist.h"

// An editable list whose rows carry an order number the administrator changes
// with Up and Down. Rows are BOrderListItems; the list shows them by order.
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

    void duplicate() override
    {
        const QList<QTreeWidgetItem *> selected = this->listView()->selectedItemsInOrder();
        DBTable *main = this->table();
        auto *source
                = selected.size() == 1 ? dynamic_cast<BOrderListItem *>(selected.first()) : nullptr;
        if (!main || !source || !source->row())
            return;
        DBRow *copy = main->addRow();
        if (!duplicateRow(source->row(), copy)) {
            main->removeRow(copy);
            return;
        }
        auto *item = dynamic_cast<BOrderListItem *>(this->createItem(copy));
        if (item) {
            item->setOrder(nextOrder() + 1);
            if (!orderColumn().isEmpty())
                copy->setNumber(orderColumn(), item->order());
            this->selectItem(item);
        }
        resort();
        this->registerChanges();
        m_changes->notify();
    }

    // Drag and drop: the dropped row moves behind after; orders are renumbered
    // in display order.
    void itemDropped(QTreeWidgetItem *item, QTreeWidgetItem *after, bool) override
    {
        BListView *list = this->listView();
        const int from = list->indexOfTopLevelItem(item);
        if (from < 0 || item == after)
            return;
        QList<BOrderListItem *> items = orderedItems();
        auto *moved = dynamic_cast<BOrderListItem *>(item);
        items.removeOne(moved);
        const qsizetype at = after ? items.indexOf(dynamic_cast<BOrderListItem *>(after)) + 1 : 0;
        items.insert(at, moved);
        QList<int> orders;
        for (BOrderListItem *each : orderedItems())
            orders.append(each->order());
        for (qsizetype i = 0; i < items.size(); ++i) {
            items[i]->setOrder(orders.at(i));
            if (!orderColumn().isEmpty() && items[i]->row())
                items[i]->row()->setNumber(orderColumn(), orders.at(i));
        }
        resort();
        this->registerChanges();
        m_changes->notify();
    }
    void dragStarted() override { }

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

    int nextOrder() const
    {
        int highest = 0;
        for (BOrderListItem *item : orderedItems())
            highest = std::max(highest, item->order());
        return highest;
    }

    void resort()
    {
        BListView *list = this->listView();
        list->sortItems(std::max(0, list->sortColumn()), Qt::AscendingOrder);
    }

    void move(int step)
    {
        BListView *list = this->listView();
        const QList<QTreeWidgetItem *> selected = list->selectedItemsInOrder();
        if (selected.size() != 1)
            return;
        auto *item = dynamic_cast<BOrderListItem *>(selected.first());
        auto *neighbour = dynamic_cast<BOrderListItem *>(step < 0 ? list->itemAbove(item)
                                                                  : list->itemBelow(item));
        if (!item || !neighbour)
            return;
        {
            BListUpdater updater(list);
            if (!swapOrder(item, neighbour))
                return;
            this->updateItems({item, neighbour});
        }
        resort();
        list->setCurrentItem(item);
        list->scrollToItem(item);
        this->registerChanges();
        m_changes->notify();
    }

    bformlistorder::BFormListOrderSlot *m_orderSlot;
    bformlistwidget::BFormListObject *m_changes;
};

#include "forms/bformlistslot.h"

namespace bformlist {

BFormListSlot::BFormListSlot(BFormListInterface *owner, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
{ }

void BFormListSlot::slotAdd()
{
    m_owner->add();
}

void BFormListSlot::slotEdit()
{
    m_owner->edit();
}

void BFormListSlot::slotRemove()
{
    m_owner->remove();
}

void BFormListSlot::slotSelectionChanged()
{
    m_owner->selectionChanged();
}

void BFormListSlot::slotCommand(int id)
{
    m_owner->command(id);
}

void BFormListSlot::slotItemChecked(BCheckListItem *item)
{
    m_owner->itemChecked(item);
}

} // namespace bformlist

namespace bformlistorder {

BFormListOrderSlot::BFormListOrderSlot(BFormListOrderInterface *owner, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
{ }

void BFormListOrderSlot::slotUp()
{
    m_owner->up();
}

void BFormListOrderSlot::slotDown()
{
    m_owner->down();
}

void BFormListOrderSlot::slotDuplicate()
{
    m_owner->duplicate();
}

void BFormListOrderSlot::slotItemDropped(BListViewItem *item, BListViewItem *after, bool flag)
{
    m_owner->itemDropped(item, after, flag);
}

void BFormListOrderSlot::slotDragStarted()
{
    m_owner->dragStarted();
}

} // namespace bformlistorder

namespace statusformlist {

StatusFormListSlot::StatusFormListSlot(StatusFormListInterface *owner, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
{ }

void StatusFormListSlot::slotRefresh()
{
    m_owner->refresh();
}

void StatusFormListSlot::slotAutoRefresh(int id)
{
    m_owner->setAutoRefresh(id);
}

} // namespace statusformlist

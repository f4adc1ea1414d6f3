#pragma once

#include <QObject>

class BCheckListItem;
class BListViewItem;

// Operations of an editable list page.
class BFormListInterface
{
public:
    virtual ~BFormListInterface() = default;
    virtual void add() = 0;
    virtual void edit() = 0;
    virtual void remove() = 0;
    virtual void selectionChanged() = 0;
    virtual void command(int id) = 0;
    virtual void itemChecked(BCheckListItem *item) = 0;
};

// Operations of a list page whose rows have an order.
class BFormListOrderInterface
{
public:
    virtual ~BFormListOrderInterface() = default;
    virtual void up() = 0;
    virtual void down() = 0;
    virtual void duplicate() = 0;
    virtual void itemDropped(BListViewItem *item, BListViewItem *after, bool flag) = 0;
    virtual void dragStarted() = 0;
};

// Operations of a refreshable status list.
class StatusFormListInterface
{
public:
    virtual ~StatusFormListInterface() = default;
    virtual void refresh() = 0;
    virtual void setAutoRefresh(int id) = 0;
};

namespace bformlist {

class BFormListSlot : public QObject
{
    Q_OBJECT
public:
    BFormListSlot(BFormListInterface *owner, QObject *parent);

public slots:
    void slotAdd();
    void slotEdit();
    void slotRemove();
    void slotSelectionChanged();
    void slotCommand(int id);
    void slotItemChecked(BCheckListItem *item);

private:
    BFormListInterface *m_owner;
};

} // namespace bformlist

namespace bformlistorder {

class BFormListOrderSlot : public QObject
{
    Q_OBJECT
public:
    BFormListOrderSlot(BFormListOrderInterface *owner, QObject *parent);

public slots:
    void slotUp();
    void slotDown();
    void slotDuplicate();
    void slotItemDropped(BListViewItem *item, BListViewItem *after, bool flag);
    void slotDragStarted();

private:
    BFormListOrderInterface *m_owner;
};

} // namespace bformlistorder

namespace statusformlist {

class StatusFormListSlot : public QObject
{
    Q_OBJECT
public:
    StatusFormListSlot(StatusFormListInterface *owner, QObject *parent);

public slots:
    void slotRefresh();
    void slotAutoRefresh(int id);

private:
    StatusFormListInterface *m_owner;
};

} // namespace statusformlist

namespace bformlistwidget {

// Tells the page that an ordered list changed (order numbers moved).
class BFormListObject : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    void notify() { emit signalSetChanges(); }

signals:
    void signalSetChanges();
};

} // namespace bformlistwidget

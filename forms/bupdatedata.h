#pragma once

#include "forms/bformsmeta.h"

#include <type_traits>

#include <QObject>
#include <QTimer>

#include <utility>

class DBConn;

// Receives data the server pushes (the connection's signalUpdateData) and the
// ticks of a timer of its own, for a view that follows live data.
class BUpdateDataInterface
{
public:
    virtual ~BUpdateDataInterface() = default;
    virtual void updateData(uchar *data, int length) = 0;
    virtual void timeOut() { }
};

class BUpdateDataSlot : public QObject
{
    Q_OBJECT
public:
    BUpdateDataSlot(BUpdateDataInterface *owner, QObject *parent);

    QTimer *timer() const { return m_timer; }
    // Subscribes to the registered connection's pushed data.
    void connectToConnection(DBConn *connection);

public slots:
    void slotUpdateData(uchar *data, int length);
    void slotTimeOut();

private:
    BUpdateDataInterface *m_owner;
    QTimer *m_timer;
};

// A view that receives data pushed by the server.
template<class View, int = 1>
class BUpdateData : public View, public BUpdateDataInterface
{
public:
    template<class... Args>
    requires(!bforms::isSelfCopy<BUpdateData, Args...>) explicit BUpdateData(Args &&...args)
        : View(std::forward<Args>(args)...)
        , m_updateSlot(new BUpdateDataSlot(this, this))
    { }

    BUpdateDataSlot *updateSlot() const { return m_updateSlot; }

protected:
    BUpdateDataSlot *m_updateSlot;
};

// Base of data-layer objects whose signals pages must receive on the
// interface thread. An emission requested on any thread is posted as a DBEvent
// to the object; the object's event handler then calls the matching virtual
// operation, which emits the derived class's signal on the object's thread.
#ifndef DB_DBSAFESIGNAL_H
#define DB_DBSAFESIGNAL_H

#include <QObject>
#include <QVariant>

class DBSafeSignal : public QObject
{
    Q_OBJECT

public:
    explicit DBSafeSignal(QObject *parent = nullptr);
    ~DBSafeSignal() override;

    // Post event type 1001..1009 with its argument; safe from any thread.
    void postSafeSignal(int eventType, const QVariant &argument = QVariant());

protected:
    bool event(QEvent *event) override;

    // One operation per event type: odd types carry an argument.
    virtual void safeEmit1001(const QVariant &) { }
    virtual void safeEmit1002() { }
    virtual void safeEmit1003(const QVariant &) { }
    virtual void safeEmit1004() { }
    virtual void safeEmit1005(const QVariant &) { }
    virtual void safeEmit1006() { }
    virtual void safeEmit1007(const QVariant &) { }
    virtual void safeEmit1008() { }
    virtual void safeEmit1009(const QVariant &) { }
};

#endif // DB_DBSAFESIGNAL_H

// The posted event that carries a data-layer signal to the interface thread.
#ifndef DB_DBEVENT_H
#define DB_DBEVENT_H

#include <QEvent>
#include <QObject>
#include <QVariant>

#include <atomic>
#include <memory>

class DBEvent : public QEvent
{
public:
    // Data-layer signals use event types 1001..1010.
    static constexpr int FirstType = 1001;
    static constexpr int LastType = 1010;

    explicit DBEvent(int type, const QVariant &argument = QVariant(), QObject *owned = nullptr)
        : QEvent(QEvent::Type(type))
        , m_argument(argument)
        , m_owned(owned)
    { }

    static bool isDataLayerEvent(const QEvent *event)
    {
        return event->type() >= FirstType && event->type() <= LastType;
    }

    // Posting hands the event and everything written before it to the
    // receiving thread. Qt's queue does that, but it is not instrumented, so
    // the two sides also meet on this counter where thread checkers see it.
    static void beforePost() { fence().fetch_add(1, std::memory_order_release); }
    static void afterReceive() { fence().load(std::memory_order_acquire); }

    QVariant argument() const { return m_argument; }
    // An object that lives as long as the event (deleted with it).
    QObject *ownedObject() const { return m_owned.get(); }

private:
    static std::atomic<unsigned> &fence()
    {
        static std::atomic<unsigned> counter{0};
        return counter;
    }

    QVariant m_argument;
    std::unique_ptr<QObject> m_owned;
};

#endif // DB_DBEVENT_H

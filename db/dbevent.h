// The posted event that carries a data-layer signal to the interface thread.
#ifndef DB_DBEVENT_H
#define DB_DBEVENT_H

#include <QEvent>
#include <QObject>
#include <QVariant>

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

    QVariant argument() const { return m_argument; }
    // An object that lives as long as the event (deleted with it).
    QObject *ownedObject() const { return m_owned.get(); }

private:
    QVariant m_argument;
    std::unique_ptr<QObject> m_owned;
};

#endif // DB_DBEVENT_H

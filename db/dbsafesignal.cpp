#include "db/dbsafesignal.h"

#include "db/dbevent.h"

#include <QCoreApplication>

DBSafeSignal::DBSafeSignal(QObject *parent)
    : QObject(parent)
{ }

DBSafeSignal::~DBSafeSignal()
{
    // Events still on their way would reach a half-destroyed object.
    QCoreApplication::removePostedEvents(this);
}

void DBSafeSignal::postSafeSignal(int eventType, const QVariant &argument)
{
    auto *event = new DBEvent(eventType, argument);
    DBEvent::beforePost();
    QCoreApplication::postEvent(this, event);
}

bool DBSafeSignal::event(QEvent *event)
{
    DBEvent::afterReceive();
    if (!DBEvent::isDataLayerEvent(event))
        return QObject::event(event);
    const QVariant argument = static_cast<DBEvent *>(event)->argument();
    switch (int(event->type())) {
    case 1001:
        safeEmit1001(argument);
        break;
    case 1002:
        safeEmit1002();
        break;
    case 1003:
        safeEmit1003(argument);
        break;
    case 1004:
        safeEmit1004();
        break;
    case 1005:
        safeEmit1005(argument);
        break;
    case 1006:
        safeEmit1006();
        break;
    case 1007:
        safeEmit1007(argument);
        break;
    case 1008:
        safeEmit1008();
        break;
    case 1009:
        safeEmit1009(argument);
        break;
    default:
        return QObject::event(event);
    }
    return true;
}

#include "forms/bobject.h"

#include "db/dbconn.h"
#include "forms/bmainwindowinterface.h"
#include "forms/bmessagebox.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QWidget>

namespace bobject {

BObjectSlot::BObjectSlot(BObjectInterface *owner, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
{ }

void BObjectSlot::slotDataLoaded()
{
    m_owner->dataLoaded();
}

void BObjectSlot::slotDataError(const QString &message)
{
    m_owner->dataError(message);
}

void connectToMainWindow(BObjectSlot *slot)
{
    QObject *mainWindow = UtKontainer::object(UtKey::FMainWnd);
    if (!mainWindow)
        return;
    if (auto *window = dynamic_cast<BMainWindowInterface *>(mainWindow)) {
        QObject::connect(slot, &BObjectSlot::signalSetAnimationText, mainWindow,
                         [window](const QString &text) { window->setAnimationText(text); });
    }
}

DBConn *connection()
{
    return qobject_cast<DBConn *>(UtKontainer::object(UtKey::DBConn));
}

bool errorsShown()
{
    const DBConn *conn = connection();
    if (!conn)
        return false;
    const DBConn::StateEnum state = conn->state();
    return state == DBConn::Connected || state == DBConn::Working;
}

void showServerError(QObject *context, const QString &message)
{
    if (message.isEmpty() || !errorsShown())
        return;
    bmessagebox::warning(qobject_cast<QWidget *>(context), message);
}

} // namespace bobject

#include "forms/bupdatedata.h"

#include "db/dbconn.h"
#include "forms/bobject.h"

BUpdateDataSlot::BUpdateDataSlot(BUpdateDataInterface *owner, QObject *parent)
    : QObject(parent)
    , m_owner(owner)
    , m_timer(new QTimer(this))
{
    connect(m_timer, &QTimer::timeout, this, &BUpdateDataSlot::slotTimeOut);
    connectToConnection(bobject::connection());
}

void BUpdateDataSlot::connectToConnection(DBConn *connection)
{
    if (connection) {
        connect(connection, &DBConn::signalUpdateData, this, &BUpdateDataSlot::slotUpdateData,
                Qt::UniqueConnection);
    }
}

void BUpdateDataSlot::slotUpdateData(uchar *data, int length)
{
    if (data && length > 0)
        m_owner->updateData(data, length);
}

void BUpdateDataSlot::slotTimeOut()
{
    m_owner->timeOut();
}

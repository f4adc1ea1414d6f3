#include "status/messagequeuewnd.h"

MessageQueueWnd::MessageQueueWnd(QWidget *parent)
    : StatusTabPage<BFormTab<>>(parent)
    , m_queue(new BTabPageEx<MailQueueWnd>())
    , m_delivery(new BTabPageEx<DeliveryTaskWnd>())
{
    setObjectName(QStringLiteral("MessageQueueWnd"));
    tab()->addPage(m_queue, tr("&Message Queue"));
    tab()->addPage(m_delivery, tr("Message Queue &Processing"));
    readyWith(m_queue);
}

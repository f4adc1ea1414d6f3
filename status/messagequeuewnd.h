#pragma once

#include "forms/bformtab.h"
#include "status/deliverytaskwnd.h"
#include "status/mailqueuewnd.h"

// The message-queue section: the queue and the deliveries in progress.
class MessageQueueWnd : public StatusTabPage<BFormTab<>>
{
    Q_OBJECT
public:
    explicit MessageQueueWnd(QWidget *parent = nullptr);
    QString name() const override { return QStringLiteral("MessageQueueWnd"); }

    BTabPageEx<MailQueueWnd> *queuePage() const { return m_queue; }
    BTabPageEx<DeliveryTaskWnd> *deliveryPage() const { return m_delivery; }

private:
    BTabPageEx<MailQueueWnd> *m_queue;
    BTabPageEx<DeliveryTaskWnd> *m_delivery;
};

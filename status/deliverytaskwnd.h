#pragma once

#include "status/statuslistwnd.h"

// The deliveries in progress ("show_delivery()").
class DeliveryTaskWnd : public StatusListWnd
{
    Q_OBJECT
public:
    explicit DeliveryTaskWnd(QWidget *parent = nullptr);
    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;

    // The display text of a delivery state number.
    static QString statusText(qint64 status);
};

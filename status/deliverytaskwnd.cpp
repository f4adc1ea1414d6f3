#include "status/deliverytaskwnd.h"

#include "db/dbrow.h"
#include "forms/blistregistrations.h"
#include "status/statuscells.h"
#include "status/statusitems.h"

namespace {
enum Column { Id, Size, From, To, Status, Percent, Server, Time };
} // namespace

DeliveryTaskWnd::DeliveryTaskWnd(QWidget *parent)
    : StatusListWnd(QStringLiteral("DeliveryTaskWnd"), QStringLiteral("show_delivery()"), parent)
{
    listView()->setAccessibleName(tr("Message Queue Processing"));
}

void DeliveryTaskWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("deliverytask")));
    cols.addColumn(tr("ID"), QStringLiteral("ID"), BCol::Visible, 80);
    cols.addColumn(tr("Size"), QStringLiteral("Size"), BCol::Visible | BCol::AlignRight, 70);
    cols.addColumn(tr("From"), QStringLiteral("From"), BCol::Visible, 170);
    cols.addColumn(tr("To"), QStringLiteral("To"), BCol::Visible, 170);
    cols.addColumn(tr("Status"), QStringLiteral("Status"), BCol::Visible, 80);
    cols.addColumn(tr("Percent"), QStringLiteral("Percent"), BCol::Visible | BCol::AlignRight, 70);
    cols.addColumn(tr("Server"), QStringLiteral("Server"), BCol::Visible, 150);
    cols.addColumn(tr("Time"), QStringLiteral("Time"), BCol::Visible | BCol::AlignRight, 80);
}

QString DeliveryTaskWnd::statusText(qint64 status)
{
    switch (status) {
    case 0:
        return tr("Waiting");
    case 1:
        return tr("Sending");
    case 2:
        return tr("Finished");
    default:
        return QString::number(status);
    }
}

BListViewItem *DeliveryTaskWnd::createItem(DBRow *row)
{
    const qint64 size = row->text(QStringLiteral("Size")).toLongLong();
    const qint64 status = row->text(QStringLiteral("Status")).toLongLong();
    const qint64 percent = row->text(QStringLiteral("Percent")).toLongLong();
    const qint64 seconds = row->text(QStringLiteral("Time")).toLongLong();
    return new StatusNumberItem(
            listView(), row,
            {row->text(QStringLiteral("ID")), QString::number(size),
             row->text(QStringLiteral("From")), row->text(QStringLiteral("To")), statusText(status),
             QString::number(percent) + QStringLiteral(" %"), row->text(QStringLiteral("Server")),
             statuscells::duration(seconds)},
            {{Size, size}, {Status, status}, {Percent, percent}, {Time, seconds}});
}

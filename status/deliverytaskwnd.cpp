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
{ }

void DeliveryTaskWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("deliverytask")));
    cols.addColumn(tr("ID"), QStringLiteral("ID"));
    cols.addColumn(tr("Size"), QStringLiteral("Size"), BCol::Visible | BCol::AlignRight);
    cols.addColumn(tr("From"), QStringLiteral("From"));
    cols.addColumn(tr("To"), QStringLiteral("To"));
    cols.addColumn(tr("Status"), QStringLiteral("Status"));
    cols.addColumn(tr("Percent"), QStringLiteral("Percent"), BCol::Visible | BCol::AlignRight);
    cols.addColumn(tr("Server"), QStringLiteral("Server"));
    cols.addColumn(tr("Time"), QStringLiteral("Time"), BCol::Visible | BCol::AlignRight);
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

#include "pages/services/serviceitem.h"

#include "db/dbrow.h"

#include <QCoreApplication>
#include <QIcon>

namespace {
QString tr(const char *text)
{
    return QCoreApplication::translate("ServiceItem", text);
}
} // namespace

ServiceItem::ServiceItem(BListView *view, DBRow *row, const QString &table)
    : BRowTextItem(view, row)
{
    m_info.table = table;
    if (row) {
        m_name = row->text("Name");
        m_fullName = row->text("FullName");
    }
    setRunning(row && row->text("Running").toInt() != 0);
}

QString ServiceItem::cellText(int column) const
{
    switch (column) {
    case 0:
        return row()->text("FullName");
    case 1:
        return statusText(m_info.running);
    case 2:
        return row()->text("AutoStart").toInt() != 0 ? tr("Automatic") : tr("Manual");
    case 3:
        return row()->text("Acl");
    default:
        return QString();
    }
}

QString ServiceItem::statusText(bool running)
{
    return running ? tr("Running") : tr("Stopped");
}

void ServiceItem::setRunning(bool running)
{
    m_info.running = running;
    // The icon's change makes the view ask for the cell's text as well.
    setIcon(1,
            QIcon(running ? QStringLiteral(":/images/servicerun_list.png")
                          : QStringLiteral(":/images/servicestop_list.png")));
}

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
    : BListViewItem(view, row)
{
    m_info.table = table;
    m_info.running = row && row->text("Running").toInt() != 0;
    refresh();
}

QString ServiceItem::statusText(bool running)
{
    return running ? tr("Running") : tr("Stopped");
}

void ServiceItem::setRunning(bool running)
{
    m_info.running = running;
    setText(1, statusText(running));
    setIcon(1,
            QIcon(running ? QStringLiteral(":/images/servicerun_list.png")
                          : QStringLiteral(":/images/servicestop_list.png")));
}

void ServiceItem::refresh()
{
    const DBRow *source = row();
    if (!source)
        return;
    m_name = source->text("Name");
    m_fullName = source->text("FullName");
    setText(0, m_fullName);
    setRunning(m_info.running);
    setText(2, source->text("AutoStart").toInt() != 0 ? tr("Automatic") : tr("Manual"));
    setText(3, source->text("Acl"));
}

#include "status/activeconnectionswnd.h"

#include "db/dbrow.h"
#include "forms/blistregistrations.h"
#include "status/statuscells.h"
#include "status/statusitems.h"

namespace {
enum GeneralColumn { Protocol, Secure, Time, From, User, Info };
enum WebColumn { WebUser, ClientAddress, Expires, Component };
} // namespace

ActiveConnectionsGeneralWnd::ActiveConnectionsGeneralWnd(QWidget *parent)
    : StatusListWnd(QStringLiteral("ActiveConnectionsGeneralWnd"),
                    QStringLiteral("show_connections()"), parent)
{
    listView()->setAccessibleName(tr("Active Connections"));
}

void ActiveConnectionsGeneralWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("connections")));
    cols.addColumn(tr("Protocol"), QStringLiteral("Protocol"), BCol::Visible, 70);
    cols.addColumn(tr("Secure"), QStringLiteral("Secure"), BCol::Visible, 60);
    cols.addColumn(tr("Time"), QStringLiteral("Time"), BCol::Visible | BCol::AlignRight, 80);
    cols.addColumn(tr("From"), QStringLiteral("From"), BCol::Visible, 130);
    cols.addColumn(tr("User"), QStringLiteral("User"), BCol::Visible, 170);
    cols.addColumn(tr("Info"), QStringLiteral("Info"), BCol::Visible, 200);
}

BListViewItem *ActiveConnectionsGeneralWnd::createItem(DBRow *row)
{
    const qint64 secure = row->text(QStringLiteral("Secure")).toLongLong();
    const qint64 seconds = row->text(QStringLiteral("Time")).toLongLong();
    return new StatusNumberItem(
            listView(), row,
            {row->text(QStringLiteral("Protocol")), secure ? tr("Yes") : tr("No"),
             statuscells::duration(seconds), row->text(QStringLiteral("From")),
             row->text(QStringLiteral("User")), row->text(QStringLiteral("Info"))},
            {{Secure, secure}, {Time, seconds}});
}

QString ActiveConnectionsGeneralWnd::itemKey(const BListViewItem *item) const
{
    // A connection has no id: what it is, without its running time.
    return QStringList{item->text(Protocol), item->text(From), item->text(User), item->text(Info)}
            .join(QChar(0x1f));
}

ActiveConnectionsWebWnd::ActiveConnectionsWebWnd(QWidget *parent)
    : StatusListWnd(QStringLiteral("ActiveConnectionsWebWnd"), QStringLiteral("showWebSessions()"),
                    parent)
{
    listView()->setAccessibleName(tr("Web Sessions"));
}

void ActiveConnectionsWebWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("connectionsweb")));
    cols.addColumn(tr("User"), QStringLiteral("User"), BCol::Visible, 170);
    cols.addColumn(tr("Client Address"), QStringLiteral("ClientAddress"), BCol::Visible, 120);
    cols.addColumn(tr("Expires"), QStringLiteral("Expires"), BCol::Visible | BCol::AlignRight, 80);
    cols.addColumn(tr("Component"), QStringLiteral("Component"), BCol::Visible, 120);
}

BListViewItem *ActiveConnectionsWebWnd::createItem(DBRow *row)
{
    // "Expires" is the time the session has left.
    const qint64 expires = row->text(QStringLiteral("Expires")).toLongLong();
    return new StatusNumberItem(
            listView(), row,
            {row->text(QStringLiteral("User")), row->text(QStringLiteral("ClientAddress")),
             statuscells::duration(expires), row->text(QStringLiteral("Component"))},
            {{Expires, expires}});
}

QString ActiveConnectionsWebWnd::itemKey(const BListViewItem *item) const
{
    return QStringList{item->text(WebUser), item->text(ClientAddress), item->text(Component)}.join(
            QChar(0x1f));
}

ActiveConnectionsWnd::ActiveConnectionsWnd(QWidget *parent)
    : StatusTabPage<BFormTab<>>(parent)
    , m_general(new BTabPageEx<ActiveConnectionsGeneralWnd>())
    , m_web(new BTabPageEx<ActiveConnectionsWebWnd>())
{
    setObjectName(QStringLiteral("ActiveConnectionsWnd"));
    tab()->addPage(m_general, tr("&Connections"));
    tab()->addPage(m_web, tr("&Web Sessions"));
    readyWith(m_general);
}

#include "pages/services/servicewnd.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "pages/services/aclchoice.h"
#include "pages/services/servicedlg.h"
#include "pages/services/serviceitem.h"
#include "pages/services/servicerestartdlg.h"

#include <QMessageBox>
#include <QPushButton>
#include <QSet>

namespace {

QList<DBKol> serviceColumns()
{
    // "MaxConnections" is edited by the dialog: without it here the table
    // would neither read nor write it.
    return {DBKol(DBType::Text, QStringLiteral("Name")),
            DBKol(DBType::Text, QStringLiteral("FullName")),
            DBKol(DBType::Port, QStringLiteral("DefaultPort")),
            DBKol(DBType::Int, QStringLiteral("Running")),
            DBKol(DBType::Int, QStringLiteral("AutoStart")),
            DBKol(DBType::Text, QStringLiteral("Acl")),
            DBKol(DBType::Int, QStringLiteral("MaxConnections"))};
}

// The listen addresses of one service as comparable texts.
QSet<QString> addressesOf(const QString &service, const QList<const DBRow *> &rows)
{
    QSet<QString> result;
    for (const DBRow *row : rows) {
        if (row->text("Service") == service)
            result.insert(row->text("IPAddress") + QLatin1Char(' ') + row->text("Port"));
    }
    return result;
}

// The first value of the first row as an integer; nullopt without a row.
std::optional<int> firstValue(const DBReq &req)
{
    if (req.rowCount() < 1 || req.columnCount() < 1)
        return std::nullopt;
    QString name;
    int type = 0;
    bool attribute = false;
    int extra = 0;
    if (!req.columnInfo(0, &name, &type, &attribute, &extra))
        return std::nullopt;
    if (type == DBType::Int)
        return req.readInt(0, 0).value();
    if (type == DBType::Int64)
        return int(req.readInt64(0, 0).value());
    return req.readStr(0, 0, type).toString().toInt();
}

} // namespace

TServiceWnd::TServiceWnd(QWidget *parent)
    : TBFormList(parent)
    , m_btnStart(addButtonBelow(tr("St&art"), QStringLiteral("m_btnStart")))
    , m_btnStop(addButtonBelow(tr("S&top"), QStringLiteral("m_btnStop")))
    , m_btnRestart(addButtonBelow(tr("&Restart"), QStringLiteral("m_btnRestart")))
{
    // Services come with the server: nothing to add or remove.
    addButton()->hide();
    removeButton()->hide();
    listView()->setAccessibleName(tr("Services"));
    connect(m_btnStart, &QPushButton::clicked, this, &TServiceWnd::slotStart);
    connect(m_btnStop, &QPushButton::clicked, this, &TServiceWnd::slotStop);
    connect(m_btnRestart, &QPushButton::clicked, this, &TServiceWnd::slotRestart);
}

const std::array<const char *, ServiceWnd::kServiceCount> &ServiceWnd::serviceTables()
{
    static const std::array<const char *, kServiceCount> tables
            = {"service-smtp", "service-smtps", "service-pop3", "service-pop3s",
               "service-imap", "service-imaps", "service-nntp", "service-nntps",
               "service-ldap", "service-ldaps", "service-http", "service-https"};
    return tables;
}

ServiceWnd::ServiceWnd(QWidget *parent)
    : BFormList<TServiceWnd>(parent)
    , m_ports(bobject::connection(), QStringLiteral("ServicePorts"),
              {DBKol(DBType::Text, QStringLiteral("Service"), true),
               DBKol(DBType::IpAddr, QStringLiteral("IPAddress"), true),
               DBKol(DBType::Port, QStringLiteral("Port"), true)})
    , m_groups(bobject::connection(), QStringLiteral("IpAccessList"),
               {DBKol(DBType::Text, QStringLiteral("Name"))})
    , m_addresses(bobject::connection(), QStringLiteral("GetInterfaceAddresses()"),
                  {DBKol(DBType::IpAddr, QStringLiteral("Address"))})
    , m_nntp(bobject::connection(), QStringLiteral("Nntp"),
             {DBKol(DBType::Int, QStringLiteral("AnonymousAccess"))})
    , m_trans(bobject::connection())
{
    setObjectName(QStringLiteral("ServiceWnd"));
    for (int i = 0; i < kServiceCount; ++i) {
        m_services[i] = std::make_unique<DBTable>(
                bobject::connection(), QString::fromLatin1(serviceTables()[i]), serviceColumns());
        m_trans.addTable(m_services[i].get());
    }
    m_trans.addTable(&m_ports);
    m_trans.addTable(&m_nntp);
    const DBTransTab::MemberOptions readOnly{.leftOutOfTransactions = true};
    m_trans.addTable(&m_groups, readOnly);
    m_trans.addTable(&m_addresses, readOnly);

    BListView *list = listView();
    list->setMenuItemEnabled(BListView::CommandAdd, false);
    if (QAction *action = list->menuAction(BListView::CommandAdd))
        action->setVisible(false);
    if (QAction *action = list->menuAction(BListView::CommandRemove))
        action->setVisible(false);
    // Start, Stop, Restart and a separator before "&Edit...".
    list->insertMenuItem(CommandStart, tr("St&art"), 0);
    list->insertMenuItem(CommandStop, tr("S&top"), 1);
    list->insertMenuItem(CommandRestart, tr("&Restart"), 2);
    list->contextMenu()->insertSeparator(list->contextMenu()->actions().at(3));
}

ServiceWnd::~ServiceWnd() = default;

void ServiceWnd::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("services")));
    cols.addColumn(tr("Service"), QStringLiteral("FullName"), BCol::AlwaysVisible);
    cols.addColumn(tr("Status"), QStringLiteral("Running"), BCol::Visible);
    cols.addColumn(tr("Startup Type"), QStringLiteral("AutoStart"), BCol::Visible);
    cols.addColumn(tr("Limit Access"), QStringLiteral("Acl"), BCol::Visible);
}

BListViewItem *ServiceWnd::createItem(DBRow *row)
{
    for (const auto &table : m_services) {
        if (row->table() != table.get())
            continue;
        auto *item = new ServiceItem(listView(), row, table->tableName());
        if (const auto known = m_running.constFind(item->name()); known != m_running.cend())
            item->setRunning(*known);
        return item;
    }
    return nullptr;
}

bool ServiceWnd::fillView()
{
    listView()->clear();
    for (const auto &table : m_services) {
        if (table->rowCount() > 0)
            createItem(table->row(0));
    }
    return true;
}

bool ServiceWnd::editRow(DBRow *row)
{
    ServiceDlg::Context context;
    context.ports = &m_ports;
    context.groups = groupNames();
    for (const DBRow *address : m_addresses.rows())
        context.addresses.append(address->text("Address"));
    const QString table = row->table() ? row->table()->tableName() : QString();
    if ((table == QLatin1String("service-nntp") || table == QLatin1String("service-nntps"))
        && m_nntp.rowCount() > 0)
        context.nntp = m_nntp.row(0);
    context.reloadGroups = [this] {
        m_groups.selectSync();
        return groupNames();
    };
    ServiceDlg dialog(row, context, this);
    return dialog.exec() == QDialog::Accepted;
}

QStringList ServiceWnd::groupNames() const
{
    QStringList names;
    names.reserve(m_groups.rowCount());
    for (const DBRow *row : m_groups.rows())
        names.append(row->text("Name"));
    return AclChoice::distinctNames(names);
}

ServiceItem *ServiceWnd::selectedService() const
{
    if (m_detached)
        return nullptr;
    const QList<BListViewItem *> selected = listView()->selectedItemsInOrder();
    return selected.isEmpty() ? nullptr : static_cast<ServiceItem *>(selected.first());
}

ServiceItem *ServiceWnd::serviceItem(const QString &name) const
{
    for (int i = 0; i < listView()->topLevelItemCount(); ++i) {
        auto *item = static_cast<ServiceItem *>(listView()->topLevelItem(i));
        if (item->name() == name)
            return item;
    }
    return nullptr;
}

void ServiceWnd::selectionChanged()
{
    const ServiceItem *item = selectedService();
    const bool mayAct = item && item->row() && !sessionReadOnly();
    const bool running = item && item->isRunning();
    const bool edit = item && item->row();
    startButton()->setEnabled(mayAct && !running);
    stopButton()->setEnabled(mayAct && running);
    restartButton()->setEnabled(mayAct && running);
    editButton()->setEnabled(edit);
    addButton()->setEnabled(false);
    removeButton()->setEnabled(false);
    BListView *list = listView();
    list->setMenuItemEnabled(CommandStart, startButton()->isEnabled());
    list->setMenuItemEnabled(CommandStop, stopButton()->isEnabled());
    list->setMenuItemEnabled(CommandRestart, restartButton()->isEnabled());
    list->setMenuItemEnabled(BListView::CommandEdit, edit);
    list->setMenuItemEnabled(BListView::CommandAdd, false);
    list->setMenuItemEnabled(BListView::CommandRemove, false);
}

void ServiceWnd::command(int id)
{
    switch (id) {
    case CommandStart:
        slotStart();
        break;
    case CommandStop:
        slotStop();
        break;
    case CommandRestart:
        slotRestart();
        break;
    default:
        BFormList<TServiceWnd>::command(id);
        break;
    }
}

bool ServiceWnd::portsChanged(const QString &service) const
{
    QList<const DBRow *> edited;
    for (const DBRow *row : m_ports.rows())
        edited.append(row);
    QList<const DBRow *> confirmed;
    for (int i = 0; i < m_ports.confirmedCount(); ++i)
        confirmed.append(&m_ports.confirmedRow(i));
    return addressesOf(service, edited) != addressesOf(service, confirmed);
}

void ServiceWnd::setStatusText(const QString &text)
{
    emit objectSlot()->signalSetAnimationText(text);
}

bool ServiceWnd::savePortsFirst(ServiceItem *item)
{
    if (!portsChanged(item->name()))
        return true;
    const auto answer = QMessageBox::information(
            this, bmessagebox::caption(),
            tr("<nobr>You have changed listen IP addresses and ports. These changes must be "
               "applied before starting of the service.<br>Do you want to apply these "
               "changes?</nobr>"),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return false;
    setStatusText(tr("Saving..."));
    const bool saved = m_ports.save();
    setStatusText(QString());
    if (!saved) {
        if (bobject::errorsShown())
            bmessagebox::warning(this, m_ports.errorText());
        return false;
    }
    // The saved rows are the confirmed copy now; the page's pending
    // operations no longer hold them.
    registerChanges();
    return true;
}

int ServiceWnd::callService(const QString &function, const QString &name)
{
    DBConn *conn = bobject::connection();
    if (!conn)
        return -1;
    DBReq req(QStringLiteral("select ") + dbFunctionCall(function, {name}));
    if (!conn->execSync(&req))
        return -1;
    return firstValue(req).value_or(-1);
}

void ServiceWnd::readState(ServiceItem *item)
{
    DBConn *conn = bobject::connection();
    if (!conn)
        return;
    DBReq req(QStringLiteral("select running FROM ") + item->table());
    if (!conn->execSync(&req))
        return;
    // The flag lives in the item: the row's "Running" is the server's and
    // never goes back as an edit.
    if (const std::optional<int> running = firstValue(req)) {
        item->setRunning(*running != 0);
        m_running.insert(item->name(), *running != 0);
    }
    selectionChanged();
}

bool ServiceWnd::startStop(ServiceItem *item, bool start)
{
    if (!item || sessionReadOnly())
        return false;
    if (start && !savePortsFirst(item))
        return false;
    setStatusText(start ? tr("Starting service...") : tr("Stopping service..."));
    const int result = callService(
            start ? QStringLiteral("start_service") : QStringLiteral("stop_service"), item->name());
    setStatusText(QString());
    if (result == 0) {
        const QString text = start ? tr("<nobr>Failed to start the service %1.<br>Another "
                                        "application is probably using service's port "
                                        "number.</nobr>")
                                   : tr("Failed to stop the service %1.");
        QMessageBox box(QMessageBox::Warning, bmessagebox::caption(),
                        text.arg(item->fullName().toHtmlEscaped()), QMessageBox::NoButton, this);
        box.addButton(tr("Close"), QMessageBox::RejectRole);
        box.exec();
    }
    readState(item);
    return result > 0;
}

void ServiceWnd::slotStart()
{
    if (startButton()->isEnabled())
        startStop(selectedService(), true);
}

void ServiceWnd::slotStop()
{
    if (stopButton()->isEnabled())
        startStop(selectedService(), false);
}

void ServiceWnd::slotRestart()
{
    ServiceItem *item = selectedService();
    if (!restartButton()->isEnabled() || !item)
        return;
    // Unsaved addresses are settled before the service goes down: No leaves
    // it running.
    if (!savePortsFirst(item))
        return;
    startStop(item, false);
    startStop(item, true);
}

bool ServiceWnd::save()
{
    // In the order of the service tables, whatever the list's sorting.
    QList<ServiceItem *> restart;
    for (const auto &table : m_services) {
        ServiceItem *item
                = table->rowCount() > 0 ? serviceItem(table->row(0)->text("Name")) : nullptr;
        if (item && item->isRunning() && portsChanged(item->name()))
            restart.append(item);
    }
    if (!saveTables(&m_trans))
        return false;
    if (!restart.isEmpty()) {
        ServiceRestartDlg dialog(restart, this);
        dialog.exec();
    }
    return true;
}

void ServiceWnd::load(bool first)
{
    m_running.clear();
    loadTables(&m_trans, first);
}

void ServiceWnd::discard()
{
    detachItems();
    m_trans.revert();
    bformlist::clearPendingOperations();
}

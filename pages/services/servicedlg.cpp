#include "pages/services/servicedlg.h"

#include "forms/bcols.h"
#include "forms/blistregistrations.h"
#include "forms/bmessagebox.h"
#include "forms/bspinbox.h"
#include "forms/bview.h"
#include "pages/services/aclchoice.h"
#include "pages/services/groupeditor.h"
#include "pages/services/serviceportdlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
// The largest connection limit the box offers.
constexpr int kMaxConnections = 1000000;
} // namespace

ServiceFormList::ServiceFormList(DBTable *ports, const QString &service,
                                 const QStringList &addresses, const QString &defaultPort,
                                 QWidget *parent)
    : BFormList<>(parent)
    , m_ports(ports)
    , m_service(service)
    , m_addresses(addresses)
    , m_defaultPort(defaultPort)
{
    setObjectName(QStringLiteral("ServiceFormList"));
    // A list inside a dialog: the main window's Apply and Reset are the page's.
    bview::disconnectFromFrameWindow(viewSlot());
    listView()->setAccessibleName(tr("Listen IP addresses and ports"));
}

void ServiceFormList::load(bool first)
{
    Q_UNUSED(first);
    dataLoaded();
}

void ServiceFormList::defineColumns(BCols &cols)
{
    cols.setRegistration(*BListRegistrations::find(QStringLiteral("serviceports")));
    const int address
            = cols.addColumn(tr("IP address"), QStringLiteral("IPAddress"), BCol::AlwaysVisible);
    cols.setCell(address, [](const DBRow &row) {
        return ServicePortDlg::addressText(row.text("IPAddress"));
    });
    const int port = cols.addColumn(tr("Port"), QStringLiteral("Port"), BCol::Visible);
    cols.setCell(port, [](const DBRow &row) { return row.text("Port"); });
}

bool ServiceFormList::fillView()
{
    listView()->clear();
    for (DBRow *row : m_ports->rows()) {
        if (row->text("Service") == m_service)
            createItem(row);
    }
    return true;
}

bool ServiceFormList::initNewRow(DBRow *row)
{
    row->setText("Service", m_service);
    row->setText("IPAddress", QStringLiteral("0.0.0.0"));
    return true;
}

bool ServiceFormList::editRow(DBRow *row)
{
    ServicePortDlg dialog(row, m_addresses, m_defaultPort, this);
    return dialog.exec() == QDialog::Accepted;
}

void ServiceFormList::selectionChanged()
{
    BFormList<>::selectionChanged();
    // Some address must stay: not every row may go.
    const int selected = int(listView()->selectedItemsInOrder().size());
    const bool removable = removeButton()->isEnabled() && selected > 0
            && selected < listView()->topLevelItemCount();
    removeButton()->setEnabled(removable);
    listView()->setMenuItemEnabled(BListView::CommandRemove, removable);
}

TServiceDlg::TServiceDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Service"));
    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("m_tab"));

    auto *properties = new QWidget(m_tab);
    m_lblName = new QLabel(properties);
    m_lblName->setObjectName(QStringLiteral("m_lblName"));
    m_cboStartup = new QComboBox(properties);
    m_cboStartup->setObjectName(QStringLiteral("m_cboStartup"));
    m_cboStartup->addItems({tr("Manual"), tr("Automatic")});
    m_gbPorts = new QGroupBox(tr("Listen IP addresses and ports"), properties);
    m_gbPorts->setObjectName(QStringLiteral("m_gbPorts"));
    new QVBoxLayout(m_gbPorts);
    auto *nameLabel = new QLabel(tr("Name:"), properties);
    nameLabel->setBuddy(m_lblName);
    auto *startupLabel = new QLabel(tr("&Startup:"), properties);
    startupLabel->setBuddy(m_cboStartup);
    auto *form = new QFormLayout;
    form->addRow(nameLabel, m_lblName);
    form->addRow(startupLabel, m_cboStartup);
    auto *propertiesLayout = new QVBoxLayout(properties);
    propertiesLayout->addLayout(form);
    propertiesLayout->addWidget(m_gbPorts, 1);

    auto *access = new QWidget(m_tab);
    m_chkAcl = new QCheckBox(tr("Allow access only from selected IP address &group"), access);
    m_chkAcl->setObjectName(QStringLiteral("m_chkAcl"));
    m_cboAcl = new QComboBox(access);
    m_cboAcl->setObjectName(QStringLiteral("m_cboAcl"));
    m_cboAcl->setAccessibleName(tr("IP address group"));
    m_btnEditAcl = new QPushButton(tr("&Edit..."), access);
    m_btnEditAcl->setObjectName(QStringLiteral("m_btnEditAcl"));
    m_chkMaxConnections = new QCheckBox(tr("Max. number of &concurrent connections:"), access);
    m_chkMaxConnections->setObjectName(QStringLiteral("m_chkMaxConnections"));
    m_spMaxConnections = new BSpinBox(access);
    m_spMaxConnections->setObjectName(QStringLiteral("m_spMaxConnections"));
    m_spMaxConnections->setAccessibleName(tr("Max. number of concurrent connections"));
    m_frmAnonymous = new QFrame(access);
    m_frmAnonymous->setObjectName(QStringLiteral("m_frmAnonymous"));
    m_frmAnonymous->setFrameShape(QFrame::StyledPanel);
    m_chkAnonymous = new QCheckBox(tr("Allow &anonymous access"), m_frmAnonymous);
    m_chkAnonymous->setObjectName(QStringLiteral("m_chkAnonymous"));
    (new QVBoxLayout(m_frmAnonymous))->addWidget(m_chkAnonymous);

    auto *aclRow = new QHBoxLayout;
    aclRow->addSpacing(20);
    aclRow->addWidget(m_cboAcl, 1);
    aclRow->addWidget(m_btnEditAcl);
    auto *limitRow = new QHBoxLayout;
    limitRow->addWidget(m_chkMaxConnections);
    limitRow->addWidget(m_spMaxConnections);
    limitRow->addStretch();
    auto *accessLayout = new QVBoxLayout(access);
    accessLayout->addWidget(m_chkAcl);
    accessLayout->addLayout(aclRow);
    accessLayout->addLayout(limitRow);
    accessLayout->addWidget(m_frmAnonymous);
    accessLayout->addStretch();

    m_tab->addTab(properties, tr("Properties"));
    m_tab->addTab(access, tr("Access"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_btnOk = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tab);
    layout->addWidget(buttons);
}

ServiceDlg::ServiceDlg(DBRow *row, const Context &context, QWidget *parent)
    : BDialog<TServiceDlg>(parent)
    , m_context(context)
    , m_acl(new AclChoice(m_chkAcl, m_cboAcl, m_btnEditAcl, this))
{
    setObjectName(QStringLiteral("ServiceDlg"));
    setRow(row);
    if (m_context.ports) {
        // The list edits a copy; OK writes it back, Cancel leaves the page's
        // rows as they were.
        m_ports = std::make_unique<DBTable>(*m_context.ports);
        m_portsList = new ServiceFormList(m_ports.get(), row->text("Name"), m_context.addresses,
                                          row->text("DefaultPort"), m_gbPorts);
        m_gbPorts->layout()->addWidget(m_portsList);
    }
    m_spMaxConnections->setRange(0, kMaxConnections);
    m_acl->setGroups(m_context.groups);
    m_frmAnonymous->setVisible(m_context.nntp != nullptr);
    connect(m_chkMaxConnections, &QCheckBox::toggled, this, [this](bool on) { limitToggled(on); });
    connect(m_btnEditAcl, &QPushButton::clicked, this, [this] { editGroup(); });
}

ServiceDlg::~ServiceDlg()
{
    // The list refers to the copy: it goes first.
    delete m_portsList;
}

bool ServiceDlg::fillView()
{
    if (!m_row)
        return false;
    m_lblName->setText(m_row->text("FullName"));
    m_loadedStartup = m_row->text("AutoStart").toInt() != 0 ? 1 : 0;
    m_cboStartup->setCurrentIndex(m_loadedStartup);
    m_acl->load(m_row->text("Acl"));
    const int limit = m_row->text("MaxConnections").toInt();
    m_lastLimit = limit > 0 ? limit : 1;
    m_chkMaxConnections->setChecked(limit > 0);
    limitToggled(limit > 0);
    if (m_context.nntp)
        m_chkAnonymous->setChecked(m_context.nntp->text("AnonymousAccess").toInt() != 0);
    if (m_portsList)
        m_portsList->load(true);
    if (!bview::sessionMayModify()) {
        bview::makeReadOnly(m_tab);
        m_acl->setEnabled(false);
        m_btnOk->setEnabled(false);
    }
    return true;
}

void ServiceDlg::limitToggled(bool on)
{
    if (on) {
        m_spMaxConnections->setEnabled(true);
        m_spMaxConnections->setMinimum(1);
        m_spMaxConnections->_setValue(m_lastLimit);
    } else {
        if (m_spMaxConnections->value() > 0)
            m_lastLimit = m_spMaxConnections->value();
        m_spMaxConnections->setMinimum(0);
        m_spMaxConnections->_setValue(0);
        m_spMaxConnections->setEnabled(false);
    }
}

bool ServiceDlg::validate()
{
    if (!m_acl->isValid()) {
        m_tab->setCurrentIndex(1);
        bmessagebox::warning(this, AclChoice::missingGroupText());
        m_cboAcl->setFocus();
        return false;
    }
    if (m_chkMaxConnections->isChecked() && !m_spMaxConnections->hasAcceptableInput()) {
        m_tab->setCurrentIndex(1);
        bmessagebox::warning(this,
                             tr("Specify correct 'Max. number of concurrent "
                                "connections' value, please."));
        m_spMaxConnections->setFocus();
        return false;
    }
    return true;
}

void ServiceDlg::storeView()
{
    if (m_cboStartup->currentIndex() != m_loadedStartup)
        m_row->setText("AutoStart", QString::number(m_cboStartup->currentIndex()));
    m_row->setText("Acl", m_acl->value());
    m_row->setText("MaxConnections", QString::number(m_spMaxConnections->value()));
    if (m_context.nntp)
        m_context.nntp->setText("AnonymousAccess",
                                m_chkAnonymous->isChecked() ? QStringLiteral("1")
                                                            : QStringLiteral("0"));
    storePorts();
}

void ServiceDlg::storePorts()
{
    if (!m_ports || !m_context.ports)
        return;
    const QString service = m_row->text("Name");
    QHash<int, DBRow *> edited;
    for (DBRow *row : m_ports->rows()) {
        if (row->text("Service") == service)
            edited.insert(row->rowNumber(), row);
    }
    DBTable *page = m_context.ports;
    QSet<int> kept;
    const QList<DBRow *> rows = page->rows();
    for (DBRow *row : rows) {
        if (row->text("Service") != service)
            continue;
        const DBRow *copy = edited.value(row->rowNumber());
        if (!copy) {
            page->removeRow(row);
            continue;
        }
        kept.insert(row->rowNumber());
        for (const char *column : {"IPAddress", "Port"}) {
            if (row->text(column) != copy->text(column))
                row->setText(column, copy->text(column));
        }
    }
    for (const DBRow *copy : m_ports->rows()) {
        if (copy->text("Service") != service || kept.contains(copy->rowNumber()))
            continue;
        DBRow *added = page->addRow();
        added->setText("Service", service);
        added->setText("IPAddress", copy->text("IPAddress"));
        added->setText("Port", copy->text("Port"));
    }
}

void ServiceDlg::editGroup()
{
    if (!groupeditor::edit(m_acl->currentName(), this) || !m_context.reloadGroups)
        return;
    m_acl->setGroups(m_context.reloadGroups());
}

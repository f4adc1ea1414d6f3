#include "pages/smtp/smtpserversecuritywnd.h"

#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "forms/bspinbox.h"
#include "forms/bview.h"
#include "pages/services/aclchoice.h"
#include "pages/services/groupeditor.h"
#include "pages/smtp/limitbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using bview::named;

namespace {

constexpr int kMaxCount = 1000000;
// The message size is in kilobytes: up to 2 GB.
constexpr int kMaxMessageSizeKb = 2097151;
constexpr int kMaxHops = 1000;

} // namespace

TSmtpServerSecurityWnd::TSmtpServerSecurityWnd(QWidget *parent)
    : BForm(parent)
{
    auto *ipBox = new QGroupBox(tr("IP address limits"), this);
    auto *optionsBox = new QGroupBox(tr("SMTP options"), this);
    auto limitRow = [](QGridLayout *grid, QWidget *owner, const QString &text,
                       const char *checkName, const char *spinName, QCheckBox **check,
                       BSpinBox **spin, const QString &unit = QString()) {
        *check = named(new QCheckBox(text, owner), checkName);
        *spin = named(new BSpinBox(owner), spinName);
        (*spin)->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
        const int row = grid->rowCount();
        grid->addWidget(*check, row, 0);
        grid->addWidget(*spin, row, 1);
        if (!unit.isEmpty())
            grid->addWidget(new QLabel(unit, owner), row, 2);
    };
    auto *ip = new QGridLayout(ipBox);
    limitRow(ip, ipBox, tr("Max. number of &messages per hour from one IP address:"),
             "m_chkMaxMessagesIP", "m_spMaxMessagesIP", &m_chkMaxMessagesIP, &m_spMaxMessagesIP);
    limitRow(ip, ipBox, tr("Max. number of &concurrent SMTP connections from one IP address:"),
             "m_chkMaxConnectionsIP", "m_spMaxConnectionsIP", &m_chkMaxConnectionsIP,
             &m_spMaxConnectionsIP);
    limitRow(ip, ipBox,
             tr("Max. number of &unknown recipients (directory harvest attack protection):"),
             "m_chkMaxFailedRCPTIP", "m_spMaxFailedRCPTIP", &m_chkMaxFailedRCPTIP,
             &m_spMaxFailedRCPTIP);
    m_chkNoLimitAcl
            = named(new QCheckBox(tr("&Do not apply these limits to IP address group:"), ipBox),
                    "m_chkNoLimitAcl");
    m_cboNoLimitAcl = named(new QComboBox(ipBox), "m_cboNoLimitAcl");
    m_cboNoLimitAcl->setAccessibleName(tr("IP address group"));
    m_btnEditNoLimitAcl = named(new QPushButton(tr("&Edit..."), ipBox), "m_btnEditNoLimitAcl");
    auto *aclRow = new QHBoxLayout;
    aclRow->addWidget(m_cboNoLimitAcl, 1);
    aclRow->addWidget(m_btnEditNoLimitAcl);
    const int row = ip->rowCount();
    ip->addWidget(m_chkNoLimitAcl, row, 0);
    ip->addLayout(aclRow, row, 1, 1, 2);

    auto *options = new QGridLayout(optionsBox);
    m_chkVerifySenderDomain = named(
            new QCheckBox(tr("&Block if sender's mail domain was not found in DNS"), optionsBox),
            "m_chkVerifySenderDomain");
    options->addWidget(m_chkVerifySenderDomain, 0, 0, 1, 3);
    limitRow(options, optionsBox, tr("Max. number of &recipients in a message:"),
             "m_chkMaxRecipients", "m_spMaxRecipients", &m_chkMaxRecipients, &m_spMaxRecipients);
    limitRow(options, optionsBox, tr("Max. number of &failed commands in SMTP session:"),
             "m_chkMaxBadCommands", "m_spMaxBadCommands", &m_chkMaxBadCommands,
             &m_spMaxBadCommands);
    limitRow(options, optionsBox, tr("&Limit maximum incoming SMTP message size to:"),
             "m_chkMaxMessageSize", "m_spMaxMessageSize", &m_chkMaxMessageSize, &m_spMaxMessageSize,
             tr("kB"));
    limitRow(options, optionsBox, tr("Maximum number of accepted Received &headers (hops):"),
             "m_chkMaxHops", "m_spMaxHops", &m_chkMaxHops, &m_spMaxHops);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(ipBox);
    layout->addWidget(optionsBox);
    layout->addStretch();
}

SmtpServerSecurityWnd::SmtpServerSecurityWnd(QWidget *parent)
    : TSmtpServerSecurityWnd(parent)
    , m_security(bobject::connection(), QStringLiteral("SmtpSecurity"),
                 {DBKol(DBType::Int, QStringLiteral("MaxMessagesIP")),
                  DBKol(DBType::Int, QStringLiteral("MaxConnectionsIP")),
                  DBKol(DBType::Int, QStringLiteral("MaxFailedRCPTIP")),
                  DBKol(DBType::Text, QStringLiteral("NoLimitAcl"))})
    , m_smtp(bobject::connection(), QStringLiteral("Smtp"),
             {DBKol(DBType::Int, QStringLiteral("VerifySenderDomain")),
              DBKol(DBType::Int, QStringLiteral("MaxRecipients")),
              DBKol(DBType::Int, QStringLiteral("MaxBadCommands")),
              DBKol(DBType::Int, QStringLiteral("MaxMessageSize")),
              DBKol(DBType::Int, QStringLiteral("MaxHops"))})
    , m_groups(bobject::connection(), QStringLiteral("IpAccessList"),
               {DBKol(DBType::Text, QStringLiteral("Name"))})
    , m_trans(bobject::connection())
    , m_acl(new AclChoice(m_chkNoLimitAcl, m_cboNoLimitAcl, m_btnEditNoLimitAcl, this))
{
    setObjectName(QStringLiteral("SmtpServerSecurityWnd"));
    m_trans.addTable(&m_security);
    m_trans.addTable(&m_smtp);
    m_trans.addTable(&m_groups, DBTransTab::MemberOptions{.leftOutOfTransactions = true});
    const auto limit = [this](QCheckBox *check, BSpinBox *spin, int maximum, DBTable *table,
                              const char *column, const QString &message) {
        auto *box = new LimitBox(check, spin, maximum, this);
        connect(box, &LimitBox::signalChanged, this, &BForm::slotChange);
        m_limits.append({box, table, column, message});
    };
    limit(m_chkMaxMessagesIP, m_spMaxMessagesIP, kMaxCount, &m_security, "MaxMessagesIP",
          tr("Specify correct 'Max. number of messages...' value before applying, please."));
    limit(m_chkMaxConnectionsIP, m_spMaxConnectionsIP, kMaxCount, &m_security, "MaxConnectionsIP",
          tr("Specify correct 'Max. number of concurrent SMTP connections...' value before "
             "applying, please."));
    limit(m_chkMaxFailedRCPTIP, m_spMaxFailedRCPTIP, kMaxCount, &m_security, "MaxFailedRCPTIP",
          tr("Specify correct 'Max. number of unknown recipients...' value before applying, "
             "please."));
    limit(m_chkMaxRecipients, m_spMaxRecipients, kMaxCount, &m_smtp, "MaxRecipients",
          tr("Specify correct 'Max. number of recipients in a message' value before applying, "
             "please."));
    limit(m_chkMaxBadCommands, m_spMaxBadCommands, kMaxCount, &m_smtp, "MaxBadCommands",
          tr("Specify correct 'Max. number of failed commands...' value before applying, "
             "please."));
    limit(m_chkMaxMessageSize, m_spMaxMessageSize, kMaxMessageSizeKb, &m_smtp, "MaxMessageSize",
          tr("Specify correct 'Limit maximum incoming SMTP message size' value before "
             "applying, please."));
    limit(m_chkMaxHops, m_spMaxHops, kMaxHops, &m_smtp, "MaxHops",
          tr("Specify correct 'Maximum number of accepted Received headers' value before "
             "applying, please."));
    connect(m_acl, &AclChoice::signalChanged, this, &BForm::slotChange);
    connect(m_chkVerifySenderDomain, &QCheckBox::toggled, this, &BForm::slotChange);
    connect(m_btnEditNoLimitAcl, &QPushButton::clicked, this, [this] { editGroup(); });
}

SmtpServerSecurityWnd::~SmtpServerSecurityWnd() = default;

bool SmtpServerSecurityWnd::fillView()
{
    if (m_security.rowCount() < 1 || m_smtp.rowCount() < 1)
        return false;
    QStringList names;
    for (const DBRow *row : m_groups.rows())
        names.append(row->text("Name"));
    m_acl->setGroups(AclChoice::distinctNames(names));
    m_acl->load(m_security.row(0)->text("NoLimitAcl"));
    m_chkVerifySenderDomain->setChecked(m_smtp.row(0)->text("VerifySenderDomain").toInt() != 0);
    for (const Limit &limit : std::as_const(m_limits))
        limit.box->load(limit.table->row(0)->text(limit.column));
    return true;
}

bool SmtpServerSecurityWnd::validate()
{
    for (const Limit &limit : std::as_const(m_limits)) {
        if (!limit.box->isValid()) {
            bmessagebox::warning(this, limit.message);
            limit.box->spin()->setFocus();
            return false;
        }
    }
    if (!m_acl->isValid()) {
        bmessagebox::warning(this, AclChoice::missingGroupText());
        m_cboNoLimitAcl->setFocus();
        return false;
    }
    return true;
}

void SmtpServerSecurityWnd::storeView()
{
    if (m_security.rowCount() < 1 || m_smtp.rowCount() < 1)
        return;
    // Column order of the writes: the per-IP limits, then the SMTP options.
    for (const Limit &limit : std::as_const(m_limits)) {
        if (limit.table == &m_security)
            limit.table->row(0)->setText(limit.column, limit.box->value());
    }
    m_security.row(0)->setText("NoLimitAcl", m_acl->value());
    m_smtp.row(0)->setText("VerifySenderDomain",
                           m_chkVerifySenderDomain->isChecked() ? QStringLiteral("1")
                                                                : QStringLiteral("0"));
    for (const Limit &limit : std::as_const(m_limits)) {
        if (limit.table == &m_smtp)
            limit.table->row(0)->setText(limit.column, limit.box->value());
    }
}

void SmtpServerSecurityWnd::applyReadOnly()
{
    TSmtpServerSecurityWnd::applyReadOnly();
    for (const Limit &limit : std::as_const(m_limits))
        limit.box->setEnabled(false);
    m_acl->setEnabled(false);
}

void SmtpServerSecurityWnd::editGroup()
{
    if (!groupeditor::edit(m_acl->currentName(), this))
        return;
    m_groups.selectSync();
    QStringList names;
    for (const DBRow *row : m_groups.rows())
        names.append(row->text("Name"));
    m_acl->setGroups(AclChoice::distinctNames(names));
}

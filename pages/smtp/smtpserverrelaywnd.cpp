#include "pages/smtp/smtpserverrelaywnd.h"

#include "forms/bmessagebox.h"
#include "forms/bspinbox.h"
#include "forms/bview.h"
#include "pages/services/aclchoice.h"
#include "pages/services/groupeditor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// A POP3 login opens relaying for at most a day.
constexpr int kMaxPop3Minutes = 1440;

QStringList groupNames(const DBTable &groups)
{
    QStringList names;
    for (const DBRow *row : groups.rows())
        names.append(row->text("Name"));
    return AclChoice::distinctNames(names);
}
} // namespace

TSmtpServerRelayWnd::TSmtpServerRelayWnd(QWidget *parent)
    : BForm(parent)
{
    auto *box = new QGroupBox(tr("SMTP relay options"), this);
    m_rbOpenRelay = new QRadioButton(tr("&Open relay"), box);
    m_rbOpenRelay->setObjectName(QStringLiteral("m_rbOpenRelay"));
    m_rbRestricted = new QRadioButton(tr("Allow relay &only for:"), box);
    m_rbRestricted->setObjectName(QStringLiteral("m_rbRestricted"));
    auto *choice = new QButtonGroup(this);
    choice->addButton(m_rbOpenRelay);
    choice->addButton(m_rbRestricted);
    m_chkAcl = new QCheckBox(tr("Users from IP address &group:"), box);
    m_chkAcl->setObjectName(QStringLiteral("m_chkAcl"));
    m_cboAcl = new QComboBox(box);
    m_cboAcl->setObjectName(QStringLiteral("m_cboAcl"));
    m_cboAcl->setAccessibleName(tr("IP address group"));
    m_btnEditAcl = new QPushButton(tr("&Edit..."), box);
    m_btnEditAcl->setObjectName(QStringLiteral("m_btnEditAcl"));
    m_chkAuth = new QCheckBox(tr("Users &authenticated through SMTP for outgoing mail"), box);
    m_chkAuth->setObjectName(QStringLiteral("m_chkAuth"));
    m_chkPop3 = new QCheckBox(tr("Users previously authenticated through &POP3 from the same "
                                 "IP address (POP3 before SMTP)"),
                              box);
    m_chkPop3->setObjectName(QStringLiteral("m_chkPop3"));
    m_spPop3Timeout = new BSpinBox(box);
    m_spPop3Timeout->setObjectName(QStringLiteral("m_spPop3Timeout"));
    auto *allowFor = new QLabel(tr("Allow SMTP &relay for"), box);
    allowFor->setBuddy(m_spPop3Timeout);

    auto *aclRow = new QHBoxLayout;
    aclRow->addWidget(m_chkAcl);
    aclRow->addWidget(m_cboAcl, 1);
    aclRow->addWidget(m_btnEditAcl);
    auto *timeoutRow = new QHBoxLayout;
    timeoutRow->addSpacing(20);
    timeoutRow->addWidget(allowFor);
    timeoutRow->addWidget(m_spPop3Timeout);
    timeoutRow->addWidget(new QLabel(tr("minutes after successful POP3 login."), box));
    timeoutRow->addStretch();
    auto *options = new QVBoxLayout;
    options->setContentsMargins(20, 0, 0, 0);
    options->addLayout(aclRow);
    options->addWidget(m_chkAuth);
    options->addWidget(m_chkPop3);
    options->addLayout(timeoutRow);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->addWidget(m_rbOpenRelay);
    boxLayout->addWidget(m_rbRestricted);
    boxLayout->addLayout(options);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addStretch();
}

SmtpServerRelayWnd::SmtpServerRelayWnd(QWidget *parent)
    : TSmtpServerRelayWnd(parent)
    , m_relay(bobject::connection(), QStringLiteral("SmtpRelay"),
              {DBKol(DBType::Int, QStringLiteral("Enabled")),
               DBKol(DBType::Text, QStringLiteral("AllowAcl")),
               DBKol(DBType::Int, QStringLiteral("AllowAuth")),
               DBKol(DBType::Int, QStringLiteral("AllowPop3BeforeSmtp")),
               DBKol(DBType::Int, QStringLiteral("Pop3BeforeSmtpTimeout"))})
    , m_groups(bobject::connection(), QStringLiteral("IpAccessList"),
               {DBKol(DBType::Text, QStringLiteral("Name"))})
    , m_trans(bobject::connection())
    , m_acl(new AclChoice(m_chkAcl, m_cboAcl, m_btnEditAcl, this))
{
    setObjectName(QStringLiteral("SmtpServerRelayWnd"));
    m_trans.addTable(&m_relay);
    m_trans.addTable(&m_groups, DBTransTab::MemberOptions{.leftOutOfTransactions = true});
    m_spPop3Timeout->setRange(1, kMaxPop3Minutes);
    connect(m_rbOpenRelay, &QRadioButton::toggled, this, [this] {
        updateEnabled();
        slotChange();
    });
    connect(m_chkPop3, &QCheckBox::toggled, this, [this] {
        updateEnabled();
        slotChange();
    });
    connect(m_chkAuth, &QCheckBox::toggled, this, &BForm::slotChange);
    connect(m_spPop3Timeout, &BSpinBoxBase::valueChanged, this, &BForm::slotChange);
    connect(m_acl, &AclChoice::signalChanged, this, &BForm::slotChange);
    connect(m_btnEditAcl, &QPushButton::clicked, this, [this] { editGroup(); });
}

bool SmtpServerRelayWnd::fillView()
{
    if (m_relay.rowCount() < 1)
        return false;
    const DBRow *row = m_relay.row(0);
    m_acl->setGroups(groupNames(m_groups));
    (row->text("Enabled").toInt() != 0 ? m_rbRestricted : m_rbOpenRelay)->setChecked(true);
    m_acl->load(row->text("AllowAcl"));
    m_chkAuth->setChecked(row->text("AllowAuth").toInt() != 0);
    m_chkPop3->setChecked(row->text("AllowPop3BeforeSmtp").toInt() != 0);
    const int minutes = row->text("Pop3BeforeSmtpTimeout").toInt();
    m_spPop3Timeout->_setValue(minutes > 0 ? minutes : m_spPop3Timeout->minimum());
    updateEnabled();
    return true;
}

void SmtpServerRelayWnd::updateEnabled()
{
    const bool restricted = !m_rbOpenRelay->isChecked();
    const bool editable = bview::sessionMayModify();
    m_acl->setEnabled(editable && restricted);
    m_chkAuth->setEnabled(editable && restricted);
    m_chkPop3->setEnabled(editable && restricted);
    m_spPop3Timeout->setEnabled(editable && restricted && m_chkPop3->isChecked());
}

void SmtpServerRelayWnd::applyReadOnly()
{
    TSmtpServerRelayWnd::applyReadOnly();
    updateEnabled();
}

bool SmtpServerRelayWnd::validate()
{
    if (m_rbOpenRelay->isChecked()) {
        // Opening the relay lets anyone send mail through the server.
        const bool wasRestricted = m_relay.confirmedCount() > 0
                && m_relay.confirmedRow(0).text("Enabled").toInt() != 0;
        if (wasRestricted
            && QMessageBox::warning(this, bmessagebox::caption(),
                                    tr("<nobr>An open relay lets anyone send mail to other "
                                       "domains through this server.<br>Do you really want "
                                       "to allow open relay?</nobr>"),
                                    QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                    != QMessageBox::Yes) {
            m_rbRestricted->setFocus();
            return false;
        }
        return true;
    }
    if (m_chkPop3->isChecked() && !m_spPop3Timeout->hasAcceptableInput()) {
        bmessagebox::warning(this,
                             tr("Specify correct 'Allow SMTP relay for' value before "
                                "applying, please."));
        m_spPop3Timeout->setFocus();
        return false;
    }
    if (!m_chkAcl->isChecked() && !m_chkAuth->isChecked() && !m_chkPop3->isChecked()) {
        bmessagebox::warning(this,
                             tr("<nobr>You should choose users who can send email to "
                                "other domains<br>or select the 'Open Relay' "
                                "option.</nobr>"));
        m_chkAcl->setFocus();
        return false;
    }
    if (!m_acl->isValid()) {
        bmessagebox::warning(this, AclChoice::missingGroupText());
        m_cboAcl->setFocus();
        return false;
    }
    return true;
}

void SmtpServerRelayWnd::storeView()
{
    if (m_relay.rowCount() < 1)
        return;
    DBRow *row = m_relay.row(0);
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    row->setText("Enabled", flag(m_rbRestricted->isChecked()));
    row->setText("AllowAcl", m_acl->value());
    row->setText("AllowAuth", flag(m_chkAuth->isChecked()));
    row->setText("AllowPop3BeforeSmtp", flag(m_chkPop3->isChecked()));
    row->setText("Pop3BeforeSmtpTimeout", QString::number(m_spPop3Timeout->value()));
}

void SmtpServerRelayWnd::editGroup()
{
    if (!groupeditor::edit(m_acl->currentName(), this))
        return;
    m_groups.selectSync();
    m_acl->setGroups(groupNames(m_groups));
}

#include "pages/domains/domaindlgforwardingtab.h"

#include "db/dbrow.h"
#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bnamed.h"
#include "forms/bportedit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using bview::named;

DomainDlgForwardingTab::DomainDlgForwardingTab(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("DomainDlgForwardingTab"));
    m_chkForward = named(new QCheckBox(tr("&If recipient was not found in this domain, forward "
                                          "the message to another host"),
                                       this),
                         "m_chkForward");
    m_edHost = named(new BLineEdit(this), "m_edHost");
    m_edPort = named(new BPortEdit(this), "m_edPort");
    m_btnDefaultPort = named(new QPushButton(tr("&Default"), this), "m_btnDefaultPort");

    auto *hostLabel = new QLabel(tr("Forward &to:"), this);
    hostLabel->setBuddy(m_edHost);
    auto *portLabel = new QLabel(tr("&Port:"), this);
    portLabel->setBuddy(m_edPort);
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(m_edPort, 1);
    portRow->addWidget(m_btnDefaultPort);
    auto *form = new QFormLayout;
    form->addRow(hostLabel, m_edHost);
    form->addRow(portLabel, portRow);

    auto *delivery = new QGroupBox(tr("Delivery"), this);
    m_rbOnline = named(new QRadioButton(tr("&Online delivery - deliver the messages "
                                           "immediately"),
                                        delivery),
                       "m_rbOnline");
    m_rbScheduler = named(new QRadioButton(tr("Offline delivery - delivery is started by "
                                              "&scheduler"),
                                           delivery),
                          "m_rbScheduler");
    m_rbEtrn = named(new QRadioButton(tr("Offline delivery - delivery is triggered by &ETRN "
                                         "command from remote host"),
                                      delivery),
                     "m_rbEtrn");
    auto *deliveryLayout = new QVBoxLayout(delivery);
    deliveryLayout->addWidget(m_rbOnline);
    deliveryLayout->addWidget(m_rbScheduler);
    deliveryLayout->addWidget(m_rbEtrn);

    auto *aliases
            = new QGroupBox(tr("If the message is addressed to an alias of this domain"), this);
    m_rbForwardAlias
            = named(new QRadioButton(tr("&forward this message"), aliases), "m_rbForwardAlias");
    m_rbNoForwardAlias = named(new QRadioButton(tr("do&n't forward such messages (prevent "
                                                   "loops in distributed domain scenarios)"),
                                                aliases),
                               "m_rbNoForwardAlias");
    // No choice at all stays possible: a stored mode without a button.
    auto *aliasChoice = new QButtonGroup(this);
    aliasChoice->addButton(m_rbForwardAlias);
    aliasChoice->addButton(m_rbNoForwardAlias);
    auto *aliasLayout = new QVBoxLayout(aliases);
    aliasLayout->addWidget(m_rbForwardAlias);
    aliasLayout->addWidget(m_rbNoForwardAlias);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chkForward);
    layout->addLayout(form);
    layout->addWidget(delivery);
    layout->addWidget(aliases);
    layout->addStretch();

    connect(m_chkForward, &QCheckBox::toggled, this, [this] {
        followForwarding();
        emit signalChanged();
    });
    connect(m_btnDefaultPort, &QPushButton::clicked, this, [this] {
        m_edPort->setText(QStringLiteral("25"));
        emit signalChanged();
    });
    for (QLineEdit *edit : {static_cast<QLineEdit *>(m_edHost), static_cast<QLineEdit *>(m_edPort)})
        connect(edit, &QLineEdit::textEdited, this, &DomainDlgForwardingTab::signalChanged);
    for (QRadioButton *button :
         {m_rbOnline, m_rbScheduler, m_rbEtrn, m_rbForwardAlias, m_rbNoForwardAlias})
        connect(button, &QRadioButton::toggled, this, &DomainDlgForwardingTab::signalChanged);
    followForwarding();
}

void DomainDlgForwardingTab::followForwarding()
{
    const bool on = m_chkForward->isChecked();
    for (QWidget *widget : std::initializer_list<QWidget *>{m_edHost, m_edPort, m_btnDefaultPort,
                                                            m_rbOnline, m_rbScheduler, m_rbEtrn})
        widget->setEnabled(on);
}

void DomainDlgForwardingTab::fill(const DBRow &row)
{
    const int mode = row.text("FwMode").toInt();
    m_chkForward->setChecked(mode != 0);
    m_edHost->setText(row.text("FwHost"));
    m_edPort->setText(row.text("FwPort"));
    // The delivery shown is the one stored, also while forwarding is off.
    if (mode == 2)
        m_rbEtrn->setChecked(true);
    else if (row.text("FwOffline").toInt() == 1)
        m_rbScheduler->setChecked(true);
    else
        m_rbOnline->setChecked(true);
    switch (row.text("FwAliasMode").toInt()) {
    case 0:
        m_rbForwardAlias->setChecked(true);
        break;
    case 2:
        m_rbNoForwardAlias->setChecked(true);
        break;
    default:
        break; // neither: the stored mode is kept
    }
    followForwarding();
}

bool DomainDlgForwardingTab::validate()
{
    if (!m_chkForward->isChecked())
        return true; // the port matters only for forwarding
    if (!m_edPort->hasAcceptableInput() || m_edPort->text().toInt() == 0) {
        bmessagebox::warning(this, tr("Specify a valid port, please."));
        m_edPort->setFocus();
        m_edPort->selectAll();
        return false;
    }
    if (m_edHost->text().trimmed().isEmpty()
        && bcorrection::askToCorrect(this, tr("You should specify the forward host."))) {
        m_edHost->setFocus();
        return false;
    }
    return true;
}

void DomainDlgForwardingTab::store(DBRow &row) const
{
    const bool on = m_chkForward->isChecked();
    row.setText("FwMode", QString::number(!on ? 0 : m_rbEtrn->isChecked() ? 2 : 1));
    row.setText("FwOffline",
                m_rbScheduler->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    row.setText("FwHost", m_edHost->text().trimmed());
    if (m_edPort->hasAcceptableInput() && m_edPort->text().toInt() != 0)
        row.setText("FwPort", m_edPort->text());
    if (m_rbForwardAlias->isChecked())
        row.setText("FwAliasMode", QStringLiteral("0"));
    else if (m_rbNoForwardAlias->isChecked())
        row.setText("FwAliasMode", QStringLiteral("2"));
}

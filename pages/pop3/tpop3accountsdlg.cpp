#include "pages/pop3/tpop3accountsdlg.h"

#include "forms/blineedit.h"
#include "forms/bnamed.h"
#include "forms/bportedit.h"
#include "forms/bpwdlineedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using bview::named;

namespace {

QLabel *buddyLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TPop3AccountsDlg::TPop3AccountsDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("POP3 Account"));
    m_tab = named(new QTabWidget(this), "m_tab");
    m_tabGeneral = named(new QWidget(m_tab), "m_tabGeneral");
    m_tabAdvanced = named(new QWidget(m_tab), "m_tabAdvanced");

    // General: the mailbox and where its messages go.
    m_edServer = named(new BLineEdit(m_tabGeneral), "m_edServer");
    m_edUser = named(new BLineEdit(m_tabGeneral), "m_edUser");
    m_edDescription = named(new BLineEdit(m_tabGeneral), "m_edDescription");
    m_edPassword = named(new BPwdLineEdit(m_tabGeneral), "m_edPassword");
    auto *general = new QFormLayout;
    general->addRow(buddyLabel(tr("POP3 se&rver:"), m_edServer, m_tabGeneral), m_edServer);
    general->addRow(buddyLabel(tr("POP3 &username:"), m_edUser, m_tabGeneral), m_edUser);
    general->addRow(buddyLabel(tr("Descr&iption:"), m_edDescription, m_tabGeneral),
                    m_edDescription);
    general->addRow(buddyLabel(tr("Pass&word:"), m_edPassword, m_tabGeneral), m_edPassword);

    m_gbDelivery = named(new QGroupBox(tr("Sorting and Delivery"), m_tabGeneral), "m_gbDelivery");
    m_rbAddress = named(new QRadioButton(tr("&Deliver to address:"), m_gbDelivery), "m_rbAddress");
    m_edAddress = named(new BLineEdit(m_gbDelivery), "m_edAddress");
    m_edAddress->setAccessibleName(tr("Deliver to address"));
    m_btnSelect = named(new QPushButton(tr("&Select..."), m_gbDelivery), "m_btnSelect");
    m_rbSort = named(new QRadioButton(tr("Use s&orting rules"), m_gbDelivery), "m_rbSort");
    m_cboSort = named(new QComboBox(m_gbDelivery), "m_cboSort");
    m_lblHeader
            = named(buddyLabel(tr("Preferred &header:"), m_cboSort, m_gbDelivery), "m_lblHeader");
    auto *delivery = new QGridLayout(m_gbDelivery);
    delivery->addWidget(m_rbAddress, 0, 0);
    delivery->addWidget(m_edAddress, 0, 1);
    delivery->addWidget(m_btnSelect, 0, 2);
    delivery->addWidget(m_rbSort, 1, 0, 1, 3);
    delivery->addWidget(m_lblHeader, 2, 0);
    delivery->addWidget(m_cboSort, 2, 1, 1, 2);
    m_chkDropDuplicate = named(new QCheckBox(tr("Drop duplicate &messages"), m_tabGeneral),
                               "m_chkDropDuplicate");
    auto *generalPage = new QVBoxLayout(m_tabGeneral);
    generalPage->addLayout(general);
    generalPage->addWidget(m_gbDelivery);
    generalPage->addWidget(m_chkDropDuplicate);
    generalPage->addStretch();

    // Advanced: how to talk to the server and how much to take per session.
    m_cboAuth = named(new QComboBox(m_tabAdvanced), "m_cboAuth");
    m_chkSsl = named(new QCheckBox(tr("Use SS&L"), m_tabAdvanced), "m_chkSsl");
    m_cboMode = named(new QComboBox(m_tabAdvanced), "m_cboMode");
    m_edPort = named(new BPortEdit(m_tabAdvanced), "m_edPort");
    m_btnDefault = named(new QPushButton(tr("&Default"), m_tabAdvanced), "m_btnDefault");
    auto *advanced = new QGridLayout;
    advanced->addWidget(buddyLabel(tr("POP3 &authentication:"), m_cboAuth, m_tabAdvanced), 0, 0);
    advanced->addWidget(m_cboAuth, 0, 1, 1, 2);
    advanced->addWidget(m_chkSsl, 1, 0, 1, 3);
    advanced->addWidget(buddyLabel(tr("SSL &Mode:"), m_cboMode, m_tabAdvanced), 2, 0);
    advanced->addWidget(m_cboMode, 2, 1, 1, 2);
    advanced->addWidget(buddyLabel(tr("&Port:"), m_edPort, m_tabAdvanced), 3, 0);
    advanced->addWidget(m_edPort, 3, 1);
    advanced->addWidget(m_btnDefault, 3, 2);

    auto *limits
            = named(new QGroupBox(tr("Per Session Download Limits"), m_tabAdvanced), "m_gbLimits");
    m_edMaxMsg = named(new BLineEdit(limits), "m_edMaxMsg");
    m_edMaxSize = named(new BLineEdit(limits), "m_edMaxSize");
    m_cboKB = named(new QComboBox(limits), "m_cboKB");
    m_cboKB->setAccessibleName(tr("Size unit"));
    auto *limitsLayout = new QGridLayout(limits);
    limitsLayout->addWidget(buddyLabel(tr("Max. message &count:"), m_edMaxMsg, limits), 0, 0);
    limitsLayout->addWidget(m_edMaxMsg, 0, 1, 1, 2);
    limitsLayout->addWidget(buddyLabel(tr("&Total message size:"), m_edMaxSize, limits), 1, 0);
    limitsLayout->addWidget(m_edMaxSize, 1, 1);
    limitsLayout->addWidget(m_cboKB, 1, 2);
    auto *advancedPage = new QVBoxLayout(m_tabAdvanced);
    advancedPage->addLayout(advanced);
    advancedPage->addWidget(limits);
    advancedPage->addStretch();

    m_tab->addTab(m_tabGeneral, tr("General"));
    m_tab->addTab(m_tabAdvanced, tr("Advanced"));
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tab);
    layout->addWidget(m_buttons);

    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_btnDefault, &QPushButton::clicked, this, &TPop3AccountsDlg::slotDefaultPort);
    connect(m_btnSelect, &QPushButton::clicked, this, &TPop3AccountsDlg::slotSelect);
    connect(m_rbAddress, &QRadioButton::toggled, this, &TPop3AccountsDlg::slotEnableChanged);
    connect(m_rbSort, &QRadioButton::toggled, this, &TPop3AccountsDlg::slotEnableChanged);
    connect(m_chkSsl, &QCheckBox::toggled, this, &TPop3AccountsDlg::slotEnableChanged);
    connect(m_chkSsl, &QCheckBox::toggled, this, &TPop3AccountsDlg::slotPortChanged);
    connect(m_cboMode, &QComboBox::currentIndexChanged, this, &TPop3AccountsDlg::slotPortChanged);
    connect(m_cboKB, &QComboBox::activated, this, &TPop3AccountsDlg::slotUnitsChanged);
    connect(m_edPort, &QLineEdit::textChanged, this, &TPop3AccountsDlg::slotPortTextChanged);
}

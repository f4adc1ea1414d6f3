#include "pages/services/serviceportdlg.h"

#include "forms/blineedit.h"
#include "forms/utipvalidator.h"
#include "forms/utportvalidator.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
const QString kAllAddresses = QStringLiteral("0.0.0.0");
} // namespace

TServicePortDlg::TServicePortDlg(QWidget *parent)
    : QDialog(parent)
    , m_cboAddress(new QComboBox(this))
    , m_edPort(new BLineEdit(this))
    , m_btnDefault(new QPushButton(tr("&Default"), this))
{
    setWindowTitle(tr("Ports"));
    m_cboAddress->setObjectName(QStringLiteral("m_cboAddress"));
    m_cboAddress->setEditable(true);
    m_cboAddress->setInsertPolicy(QComboBox::NoInsert);
    m_edPort->setObjectName(QStringLiteral("m_edPort"));
    m_btnDefault->setObjectName(QStringLiteral("m_btnDefault"));

    auto *address = new QLabel(tr("&IP address:"), this);
    address->setBuddy(m_cboAddress);
    auto *port = new QLabel(tr("&Port:"), this);
    port->setBuddy(m_edPort);
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(m_edPort);
    portRow->addWidget(m_btnDefault);
    auto *form = new QFormLayout;
    form->addRow(address, m_cboAddress);
    form->addRow(port, portRow);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

ServicePortDlg::ServicePortDlg(DBRow *row, const QStringList &addresses, const QString &defaultPort,
                               QWidget *parent)
    : BDialog<TServicePortDlg>(parent)
    , m_defaultPort(defaultPort)
{
    setObjectName(QStringLiteral("ServicePortDlg"));
    m_cboAddress->addItem(allAddressesText());
    for (const QString &address : addresses) {
        if (address != kAllAddresses && m_cboAddress->findText(address) < 0)
            m_cboAddress->addItem(address);
    }
    m_edPort->setValidator(new UtPortValidator(1, 65535, false, m_edPort));
    connect(m_btnDefault, &QPushButton::clicked, this,
            [this] { m_edPort->setText(m_defaultPort); });
    setRow(row);
}

QString ServicePortDlg::allAddressesText()
{
    return tr("All addresses");
}

QString ServicePortDlg::addressText(const QString &stored)
{
    return stored.isEmpty() || stored == kAllAddresses ? allAddressesText() : stored;
}

bool ServicePortDlg::fillView()
{
    if (!m_row)
        return false;
    const QString address = m_row->text("IPAddress");
    if (address.isEmpty() || address == kAllAddresses)
        m_cboAddress->setCurrentIndex(0);
    else
        m_cboAddress->setEditText(address);
    const QString port = m_row->text("Port");
    m_edPort->setText(port == QLatin1String("0") ? QString() : port);
    return true;
}

bool ServicePortDlg::validate()
{
    const QString address = m_cboAddress->currentText().trimmed();
    if (address != allAddressesText()) {
        UtIPValidator ip;
        QString text = address;
        int pos = 0;
        if (ip.validate(text, pos) != QValidator::Acceptable) {
            bmessagebox::warning(this, tr("Specify the valid IP address, please."));
            m_cboAddress->setFocus();
            return false;
        }
    }
    QString port = m_edPort->text().trimmed();
    int pos = 0;
    if (m_edPort->validator()->validate(port, pos) != QValidator::Acceptable) {
        bmessagebox::warning(this, tr("Specify the valid port, please."));
        m_edPort->setFocus();
        return false;
    }
    return true;
}

void ServicePortDlg::storeView()
{
    const QString address = m_cboAddress->currentText().trimmed();
    m_row->setText("IPAddress", address == allAddressesText() ? kAllAddresses : address);
    m_row->setText("Port", QString::number(m_edPort->text().trimmed().toInt()));
}

#include "pages/pop3/pop3accountsdlg.h"

#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "forms/bportedit.h"
#include "forms/bpwdlineedit.h"
#include "forms/utmailaddressvalidator.h"
#include "forms/utnumvalidator.h"
#include "pages/pop3/finduserdlg.h"
#include "pages/pop3/pop3strings.h"
#include "pages/pop3/sizeunits.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace {
constexpr int kPlainPort = 110;
constexpr int kSslPort = 995;
} // namespace

QStringList Pop3AccountsDlg::headers()
{
    return {QStringLiteral("Received"), QStringLiteral("X-Envelope-To"),
            QStringLiteral("Delivered-To")};
}

Pop3AccountsDlg::Pop3AccountsDlg(DBRow *row, QWidget *parent)
    : BDialog<TPop3AccountsDlg>(parent)
{
    setObjectName(QStringLiteral("Pop3AccountsDlg"));
    m_cboSort->addItems(headers());
    m_cboAuth->addItems({pop3strings::authText(0), pop3strings::authText(1)});
    m_cboMode->addItems({pop3strings::sslModeText(1), pop3strings::sslModeText(2)});
    m_cboKB->addItems(sizeunits::unitNames());
    m_edAddress->setValidator(new UtMailAddressValidator(0, m_edAddress));
    m_edMaxMsg->setValidator(
            new UtNumValidator<int>(0, std::numeric_limits<int>::max(), m_edMaxMsg));
    m_edMaxSize->setValidator(new UtNumValidator<qint64>(
            0, std::numeric_limits<qint64>::max() / sizeunits::unitFactor(sizeunits::GB),
            m_edMaxSize));
    // Only a size the administrator changed is written back.
    connect(m_edMaxSize, &QLineEdit::textEdited, this, [this] { m_sizeEdited = true; });
    setRow(row);
}

QString Pop3AccountsDlg::duplicateMessage() const
{
    return tr("POP3 account with this name and server is already defined!");
}

int Pop3AccountsDlg::defaultPort() const
{
    return m_chkSsl->isChecked() && m_cboMode->currentIndex() == 0 ? kSslPort : kPlainPort;
}

bool Pop3AccountsDlg::fillView()
{
    if (!m_row)
        return false;
    m_filling = true;
    m_edServer->setText(m_row->text("Server"));
    m_edUser->setText(m_row->text("User"));
    m_edDescription->setText(m_row->text("Description"));
    m_edPassword->setPasswordStored(!m_row->text("Password").isEmpty());

    const QString mbox = m_row->text("Mbox");
    if (mbox.size() >= 2 && mbox.startsWith(QLatin1Char('{'))) {
        m_rbSort->setChecked(true);
        QString header = mbox.mid(1);
        if (header.endsWith(QLatin1Char('}')))
            header.chop(1);
        int index = m_cboSort->findText(header);
        if (index < 0) {
            m_cboSort->addItem(header); // a header set elsewhere stays as it is
            index = m_cboSort->count() - 1;
        }
        m_cboSort->setCurrentIndex(index);
        m_edAddress->clear();
    } else {
        m_rbAddress->setChecked(true);
        m_edAddress->setText(mbox);
    }
    m_chkDropDuplicate->setChecked(m_row->text("DropDuplicates").toInt() != 0);

    const int sslMode = m_row->text("SslMode").toInt();
    m_chkSsl->setChecked(sslMode != 0);
    m_cboMode->setCurrentIndex(sslMode == 2 ? 1 : 0);
    m_edPort->setText(m_row->text("Port"));
    m_cboAuth->setCurrentIndex(qBound(0, m_row->text("Auth_type").toInt(), 1));
    m_edMaxMsg->setText(QString::number(m_row->text("Max_msgcount").toLongLong()));

    const qint64 size = m_row->text("Max_msgsize").toLongLong();
    const int unit = sizeunits::largestExactUnit(size);
    m_cboKB->setCurrentIndex(unit);
    m_edMaxSize->setText(QString::number(size / sizeunits::unitFactor(unit)));
    m_sizeEdited = false;

    m_filling = false;
    slotEnableChanged();
    slotPortTextChanged();
    return true;
}

void Pop3AccountsDlg::slotEnableChanged()
{
    if (m_filling)
        return;
    m_cboMode->setEnabled(m_chkSsl->isChecked());
    const bool sort = m_rbSort->isChecked();
    m_cboSort->setEnabled(sort);
    m_lblHeader->setEnabled(sort);
    m_edAddress->setEnabled(!sort);
    m_btnSelect->setEnabled(!sort);
}

void Pop3AccountsDlg::slotDefaultPort()
{
    m_edPort->setText(QString::number(defaultPort()));
}

void Pop3AccountsDlg::slotPortTextChanged()
{
    if (m_filling)
        return;
    m_portIsDefault = m_edPort->text().trimmed() == QString::number(defaultPort());
}

void Pop3AccountsDlg::slotPortChanged()
{
    if (m_filling)
        return;
    // The port follows the SSL settings only while nobody chose another one.
    if (m_portIsDefault)
        slotDefaultPort();
}

void Pop3AccountsDlg::slotUnitsChanged()
{
    if (!m_filling)
        m_sizeEdited = true;
}

void Pop3AccountsDlg::slotSelect()
{
    FindUserDlg finder(this);
    if (finder.exec() == QDialog::Accepted && !finder.address().isEmpty())
        m_edAddress->setText(finder.address());
}

bool Pop3AccountsDlg::validate()
{
    if (m_edServer->text().trimmed().isEmpty() || m_edUser->text().trimmed().isEmpty()) {
        bmessagebox::warning(this, tr("You must enter the server name and the user name."));
        m_tab->setCurrentWidget(m_tabGeneral);
        if (m_edServer->text().trimmed().isEmpty())
            m_edServer->setFocus();
        else
            m_edUser->setFocus();
        return false;
    }
    if (!m_edPort->problem().isEmpty()) {
        bmessagebox::warning(this, tr("Specify the valid port, please."));
        m_tab->setCurrentWidget(m_tabAdvanced);
        m_edPort->setFocus();
        return false;
    }
    if (m_rbAddress->isChecked() && m_edAddress->text().trimmed().isEmpty()
        && bcorrection::askToCorrect(this, tr("You should enter the address field."))) {
        m_tab->setCurrentWidget(m_tabGeneral);
        m_edAddress->setFocus();
        return false;
    }
    return true;
}

void Pop3AccountsDlg::storeView()
{
    m_row->setText("Server", m_edServer->text().trimmed());
    m_row->setText("User", m_edUser->text().trimmed());
    m_row->setText("Description", m_edDescription->text());
    if (m_edPassword->isPasswordChanged())
        m_row->setText("Password", QStringLiteral("NUL:") + m_edPassword->value());
    m_row->setText("Auth_type", QString::number(m_cboAuth->currentIndex()));
    if (m_rbAddress->isChecked())
        m_row->setText("Mbox", m_edAddress->text().trimmed());
    else
        m_row->setText("Mbox", QLatin1Char('{') + m_cboSort->currentText() + QLatin1Char('}'));
    m_row->setText("DropDuplicates", m_chkDropDuplicate->isChecked() ? "1" : "0");
    m_row->setText("SslMode",
                   QString::number(m_chkSsl->isChecked() ? m_cboMode->currentIndex() + 1 : 0));
    m_row->setText("Port", m_edPort->text().trimmed());
    m_row->setText("Max_msgcount", QString::number(m_edMaxMsg->text().trimmed().toLongLong()));
    if (m_sizeEdited) {
        const qint64 size = sizeunits::toKilobytes(m_edMaxSize->text().trimmed().toLongLong(),
                                                   m_cboKB->currentIndex());
        m_row->setText("Max_msgsize", QString::number(qMax<qint64>(0, size)));
    }
}

#include "pages/usergroups/mailaddressdlg.h"

#include "forms/bmessagebox.h"
#include "forms/utmailaddressvalidator.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

MailAddressDlg::MailAddressDlg(const QString &domain, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_domain(domain)
    , m_edAddress(new QLineEdit(this))
{
    setObjectName(QStringLiteral("MailAddressDlg"));
    setWindowTitle(tr("Mail Address"));
    const bool localPart = !domain.isEmpty();
    m_edAddress->setObjectName(QStringLiteral("m_edAddress"));
    m_edAddress->setMaxLength(255);
    m_edAddress->setValidator(new UtMailAddressValidator(
            localPart ? UtMailAddressValidator::LocalPartOnly : 0, m_edAddress));

    auto *label = new QLabel(tr("&Email address:"), this);
    label->setBuddy(m_edAddress);
    auto *row = new QHBoxLayout;
    row->addWidget(m_edAddress, 1);
    if (localPart) {
        auto *domainLabel = new QLabel(QLatin1Char('@') + domain, this);
        domainLabel->setObjectName(QStringLiteral("m_lblDomain"));
        row->addWidget(domainLabel);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addWidget(buttons);
    resize(380, sizeHint().height());
}

QString MailAddressDlg::formatMessage()
{
    return tr("<nobr>The email address should be specified in a correct format.</nobr>");
}

void MailAddressDlg::setAddress(const QString &address)
{
    m_edAddress->setText(m_domain.isEmpty() ? address : address.section(QLatin1Char('@'), 0, 0));
}

QString MailAddressDlg::address() const
{
    const QString typed = m_edAddress->text().trimmed();
    return m_domain.isEmpty() ? typed : typed + QLatin1Char('@') + m_domain;
}

bool MailAddressDlg::validate()
{
    QString typed = m_edAddress->text().trimmed();
    int pos = 0;
    if (m_edAddress->validator()->validate(typed, pos) == QValidator::Acceptable)
        return true;
    bmessagebox::warning(this, formatMessage());
    m_edAddress->setFocus();
    m_edAddress->selectAll();
    return false;
}

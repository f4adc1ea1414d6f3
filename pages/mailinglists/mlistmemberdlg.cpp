#include "pages/mailinglists/mlistmemberdlg.h"

#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/utmailaddressvalidator.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

TMListMemberDlg::TMListMemberDlg(QWidget *parent)
    : QDialog(parent)
    , m_edEmail(new BLineEdit(this))
    , m_edFullName(new BLineEdit(this))
{
    m_edEmail->setObjectName(QStringLiteral("m_edEmail"));
    m_edFullName->setObjectName(QStringLiteral("m_edFullName"));
    auto *emailLabel = new QLabel(tr("&E-mail:"), this);
    emailLabel->setBuddy(m_edEmail);
    auto *nameLabel = new QLabel(tr("&Full name:"), this);
    nameLabel->setBuddy(m_edFullName);
    auto *form = new QFormLayout;
    form->addRow(emailLabel, m_edEmail);
    form->addRow(nameLabel, m_edFullName);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

MListMemberDlg::MListMemberDlg(DBRow *row, bool moderator, QWidget *parent)
    : BDialog<TMListMemberDlg>(parent)
{
    setObjectName(QStringLiteral("MListMemberDlg"));
    setWindowTitle(moderator ? tr("Moderator") : tr("Member"));
    m_edEmail->setValidator(new UtMailAddressValidator(0, m_edEmail));
    setRow(row);
}

bool MListMemberDlg::fillView()
{
    if (!m_row)
        return false;
    m_edEmail->setText(m_row->text("Email"));
    m_edFullName->setText(m_row->text("FullName"));
    return true;
}

bool MListMemberDlg::validate()
{
    QString email = m_edEmail->text().trimmed();
    int pos = 0;
    if (email.contains(QLatin1Char('@'))
        && m_edEmail->validator()->validate(email, pos) == QValidator::Acceptable)
        return true;
    bmessagebox::warning(this, tr("Enter a valid email address, please."));
    m_edEmail->setFocus();
    return false;
}

void MListMemberDlg::storeView()
{
    m_row->setText("Email", m_edEmail->text().trimmed());
    m_row->setText("FullName", m_edFullName->text().trimmed());
}

QString MListMemberDlg::duplicateMessage() const
{
    return tr("This address is already in the list.");
}

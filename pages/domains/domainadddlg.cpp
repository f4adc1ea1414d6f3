#include "pages/domains/domainadddlg.h"

#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/pvnuserloginvalidator.h"
#include "pages/domains/domaindlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

DomainAddDlg::DomainAddDlg(Check check, QWidget *parent)
    : BDialog<QDialog>(parent)
    , m_check(std::move(check))
{
    setObjectName(QStringLiteral("DomainAddDlg"));
    setWindowTitle(tr("Add Domain Alias"));
    m_edAlias = new BLineEdit(this);
    m_edAlias->setObjectName(QStringLiteral("m_edAlias"));
    m_edAlias->setValidator(new PvnUserLoginValidator(DomainDlg::namePattern(), false, m_edAlias));
    auto *label = new QLabel(tr("&Alias:"), this);
    label->setBuddy(m_edAlias);
    auto *form = new QFormLayout;
    form->addRow(label, m_edAlias);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QObject::connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

QString DomainAddDlg::aliasName() const
{
    return m_edAlias->text().trimmed();
}

bool DomainAddDlg::validate()
{
    const QString problem = m_check ? m_check(aliasName()) : QString();
    if (problem.isEmpty())
        return true;
    bmessagebox::warning(this, problem);
    m_edAlias->setFocus();
    m_edAlias->selectAll();
    return false;
}

#include "pages/usergroups/userldapdlg.h"

#include <QDialogButtonBox>
#include <QRadioButton>
#include <QVBoxLayout>

UserLdapDlg::UserLdapDlg(Mode mode, QWidget *parent)
    : QDialog(parent)
    , m_rbLocal(new QRadioButton(this))
    , m_rbDirectory(new QRadioButton(this))
{
    const bool groups = mode == Mode::Groups;
    setObjectName(QStringLiteral("UserLdapDlg"));
    setWindowTitle(groups ? tr("Add Group") : tr("Add User"));
    m_rbLocal->setObjectName(QStringLiteral("m_rbLocal"));
    m_rbDirectory->setObjectName(QStringLiteral("m_rbDirectory"));
    m_rbLocal->setText(groups ? tr("Create local group") : tr("Create local user"));
    m_rbDirectory->setText(groups ? tr("&Activate group in directory service")
                                  : tr("&Activate user in directory service"));
    m_rbLocal->setChecked(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_rbLocal);
    layout->addWidget(m_rbDirectory);
    layout->addWidget(buttons);
}

bool UserLdapDlg::activate() const
{
    return m_rbDirectory->isChecked();
}

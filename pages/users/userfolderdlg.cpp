#include "pages/users/userfolderdlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

UserFolderDlg::UserFolderDlg(const QStringList &accounts, const QStringList &targets,
                             QWidget *parent)
    : QDialog(parent)
    , m_accounts(accounts)
    , m_rbKeep(new QRadioButton(tr("&Keep the mail store on the server"), this))
    , m_rbDelete(new QRadioButton(tr("&Delete the mail store"), this))
    , m_rbMove(new QRadioButton(tr("&Move the mail store to user:"), this))
    , m_cboTarget(new QComboBox(this))
{
    setObjectName(QStringLiteral("UserFolderDlg"));
    setWindowTitle(tr("Mail Store of Removed Users"));
    m_rbKeep->setObjectName(QStringLiteral("m_rbKeep"));
    m_rbDelete->setObjectName(QStringLiteral("m_rbDelete"));
    m_rbMove->setObjectName(QStringLiteral("m_rbMove"));
    m_cboTarget->setObjectName(QStringLiteral("m_cboTarget"));
    m_cboTarget->setAccessibleName(tr("Receiving user"));
    m_cboTarget->addItems(targets);
    auto *label = new QLabel(
            tr("<nobr>What should happen to the mail of %1 when the removal is applied?</nobr>")
                    .arg(accounts.size() == 1
                                 ? QStringLiteral("'%1'").arg(accounts.first().toHtmlEscaped())
                                 : tr("%1 users").arg(accounts.size())),
            this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_rbKeep);
    layout->addWidget(m_rbDelete);
    layout->addWidget(m_rbMove);
    layout->addWidget(m_cboTarget);
    layout->addWidget(buttons);
    m_rbKeep->setChecked(true);
    m_rbMove->setEnabled(!targets.isEmpty());
    m_cboTarget->setEnabled(false);
    connect(m_rbMove, &QRadioButton::toggled, m_cboTarget, &QWidget::setEnabled);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

QList<UserFolderAction> UserFolderDlg::actions() const
{
    QList<UserFolderAction> out;
    for (const QString &account : m_accounts) {
        UserFolderAction action;
        action.account = account;
        if (m_rbDelete->isChecked()) {
            action.kind = UserFolderAction::Delete;
        } else if (m_rbMove->isChecked() && m_cboTarget->currentIndex() >= 0) {
            action.kind = UserFolderAction::Move;
            action.target = m_cboTarget->currentText();
        }
        out << action;
    }
    return out;
}

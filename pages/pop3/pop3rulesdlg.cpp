#include "pages/pop3/pop3rulesdlg.h"

#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "pages/pop3/finduserdlg.h"
#include "pages/pop3/pop3rulesvalidator.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

bool isAcceptable(const QLineEdit *edit)
{
    QString text = edit->text();
    int pos = 0;
    return edit->validator()->validate(text, pos) == QValidator::Acceptable;
}

} // namespace

TPop3RulesDlg::TPop3RulesDlg(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Sorting Rule"));
    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("m_tab"));
    auto *page = new QWidget(m_tab);
    m_edTo = new BLineEdit(page);
    m_edTo->setObjectName(QStringLiteral("m_edTo"));
    m_edDescription = new BLineEdit(page);
    m_edDescription->setObjectName(QStringLiteral("m_edDescription"));
    m_edAccount = new BLineEdit(page);
    m_edAccount->setObjectName(QStringLiteral("m_edAccount"));
    m_btnSelect = new QPushButton(tr("&Select..."), page);
    m_btnSelect->setObjectName(QStringLiteral("m_btnSelect"));

    auto *to = new QLabel(tr("Sort &address:"), page);
    to->setBuddy(m_edTo);
    auto *description = new QLabel(tr("Descr&iption:"), page);
    description->setBuddy(m_edDescription);
    auto *account = new QLabel(tr("Deliver &to:"), page);
    account->setBuddy(m_edAccount);
    auto *accountRow = new QHBoxLayout;
    accountRow->addWidget(m_edAccount);
    accountRow->addWidget(m_btnSelect);
    auto *form = new QFormLayout(page);
    form->addRow(to, m_edTo);
    form->addRow(description, m_edDescription);
    form->addRow(account, accountRow);
    m_tab->addTab(page, tr("Properties"));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_btnSelect, &QPushButton::clicked, this, &TPop3RulesDlg::slotSelect);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tab);
    layout->addWidget(buttons);
}

Pop3RulesDlg::Pop3RulesDlg(DBRow *row, QWidget *parent)
    : BDialog<TPop3RulesDlg>(parent)
{
    setObjectName(QStringLiteral("Pop3RulesDlg"));
    m_edTo->setValidator(new Pop3RulesValidator(true, m_edTo));
    m_edAccount->setValidator(new Pop3RulesValidator(false, m_edAccount));
    setRow(row);
}

QString Pop3RulesDlg::duplicateMessage() const
{
    return tr("This sorting rule is already defined.");
}

bool Pop3RulesDlg::fillView()
{
    if (!m_row)
        return false;
    m_edTo->setText(m_row->text("To"));
    m_edAccount->setText(m_row->text("Account"));
    m_edDescription->setText(m_row->text("Description"));
    return true;
}

bool Pop3RulesDlg::validate()
{
    if (!isAcceptable(m_edTo)
        && bcorrection::askToCorrect(
                this,
                tr("<nobr>You should specify a complete email address in the field 'Sort "
                   "address'.</nobr>"))) {
        m_edTo->setFocus();
        return false;
    }
    if (!isAcceptable(m_edAccount)
        && bcorrection::askToCorrect(
                this, tr("<nobr>The field 'Deliver to' doesn't make sense.</nobr>"))) {
        m_edAccount->setFocus();
        return false;
    }
    return true;
}

void Pop3RulesDlg::storeView()
{
    m_row->setText("To", m_edTo->text().trimmed());
    m_row->setText("Account", m_edAccount->text().trimmed());
    m_row->setText("Description", m_edDescription->text());
}

void Pop3RulesDlg::slotSelect()
{
    FindUserDlg finder(this);
    if (finder.exec() == QDialog::Accepted && !finder.address().isEmpty())
        m_edAccount->setText(finder.address());
}

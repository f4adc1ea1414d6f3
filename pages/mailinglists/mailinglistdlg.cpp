#include "pages/mailinglists/mailinglistdlg.h"

#include "forms/bcorrection.h"
#include "forms/blineedit.h"
#include "forms/bmessagebox.h"
#include "forms/bview.h"
#include "forms/pvnuserloginvalidator.h"
#include "forms/utmailaddressvalidator.h"
#include "pages/aliases/namedconflicts.h"
#include "pages/mailinglists/mlistrosterpage.h"
#include "pages/mailinglists/pvnmlisttable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWizardPage>

namespace mailinglist {

bool hasReservedSuffix(const QString &name)
{
    static const char *const suffixes[] = {
            "-sc",     "-uc",     "-return", "-subscribe", "-unsubscribe", "-errors",
            "-bounce", "-owners", "-owner",  "-help",      "-reqaccept",   "-reqdeny",
    };
    for (const char *suffix : suffixes) {
        if (name.endsWith(QLatin1String(suffix), Qt::CaseSensitive))
            return true;
    }
    return false;
}

} // namespace mailinglist

namespace {

// Selects the entry that stores value; none when no entry does, so that OK
// leaves the stored value alone.
void setComboValue(QComboBox *combo, const QString &stored)
{
    bool ok = false;
    const int value = stored.toInt(&ok);
    combo->setCurrentIndex(ok ? combo->findData(value) : -1);
}

void storeComboValue(DBRow *row, const char *column, const QComboBox *combo)
{
    if (combo->currentIndex() >= 0)
        row->setText(column, QString::number(combo->currentData().toInt()));
}

void storeCheck(DBRow *row, const char *column, const QCheckBox *box)
{
    // A stored value other than 0 and 1 stays as long as the box is not changed.
    const bool stored = row->text(column).toInt() != 0;
    if (stored != box->isChecked())
        row->setText(column, box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace

TMailingListDlg::TMailingListDlg(QWidget *parent)
    : QDialog(parent)
    , m_tab(new QTabWidget(this))
    , m_pages(new MailingListPages(m_tab))
    , m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this))
{
    setWindowTitle(tr("Mailing List"));
    m_tab->setObjectName(QStringLiteral("m_tab"));
    for (int i = 0; i < m_pages->pages.size(); ++i)
        m_tab->addTab(m_pages->pages.at(i), m_pages->titles.at(i));
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tab);
    layout->addWidget(m_buttons);
    resize(560, 440);
}

TMailingListDlg::~TMailingListDlg()
{
    delete m_pages;
}

void TMailingListDlg::showPage(int page)
{
    m_tab->setCurrentIndex(page);
}

int TMailingListDlg::currentPage() const
{
    return m_tab->currentIndex();
}

TMailingListWiz::TMailingListWiz(QWidget *parent)
    : QWizard(parent)
    , m_pages(new MailingListPages(this))
{
    setWindowTitle(tr("New Mailing List"));
    for (int i = 0; i < m_pages->pages.size(); ++i) {
        auto *step = new QWizardPage(this);
        step->setTitle(m_pages->titles.at(i));
        auto *layout = new QVBoxLayout(step);
        layout->setContentsMargins(0, 0, 0, 0);
        m_pages->pages.at(i)->setParent(step);
        layout->addWidget(m_pages->pages.at(i));
        setPage(i, step);
    }
    resize(600, 480);
}

TMailingListWiz::~TMailingListWiz()
{
    delete m_pages;
}

void TMailingListWiz::showPage(int page)
{
    while (currentId() > page && currentId() > 0)
        back();
    while (currentId() >= 0 && currentId() < page)
        next();
}

template<class Base>
MailingListDlgTemp<Base>::MailingListDlgTemp(DBRow *row, PvnMListTable *moderators,
                                             PvnMListTable *members, bool isNew, QWidget *parent)
    : BDialog<Base>(parent)
    , m_moderators(moderators)
    , m_members(members)
    , m_isNew(isNew)
{
    MailingListPages *p = this->m_pages;
    p->m_edName->setValidator(
            new PvnUserLoginValidator(PvnUserLoginValidator::defaultPattern(), false, p->m_edName));
    p->m_edReplyToEmail->setValidator(new UtMailAddressValidator(0, p->m_edReplyToEmail));
    QObject::connect(p->m_edName, &QLineEdit::textEdited, p->m_edName,
                     [this] { m_nameEdited = true; });
    QObject::connect(p->m_edName, &QLineEdit::textChanged, p->m_edName,
                     [this](const QString &name) { nameChanged(name); });
    QObject::connect(p->m_cboReplyTo, &QComboBox::currentIndexChanged, p->m_cboReplyTo,
                     [p] { p->m_edReplyToEmail->setEnabled(p->m_cboReplyTo->currentData() == 2); });
    this->setRow(row);
}

template<class Base>
void MailingListDlgTemp<Base>::nameChanged(const QString &name)
{
    MailingListPages *p = this->m_pages;
    p->m_lblArchiveDot->setVisible(name.contains(QLatin1Char('.')));
}

template<class Base>
bool MailingListDlgTemp<Base>::fillView()
{
    if (!this->m_row)
        return false;
    MailingListPages *p = this->m_pages;
    const DBRow &row = *this->m_row;
    m_domain = row.text("Domain");
    p->m_edName->setText(row.text("Name"));
    p->m_edName->setReadOnly(!m_isNew);
    p->m_lblNameNote->setText(
            MailingListPages::tr("The name will be used as a part of mailing list email address "
                                 "(e.g. for mylist it will be mylist@%1).")
                    .arg(m_domain));
    p->m_edDescription->setText(row.text("Description"));
    p->m_cboLanguage->setCurrentText(row.text("Language"));
    p->m_edComment->setPlainText(row.text("Comment"));
    setComboValue(p->m_cboModeLogin, row.text("ModeLogin"));
    p->m_chkModeratorSubscribeRequestNotify->setChecked(
            row.text("ModeratorSubscribeRequestNotify").toInt() != 0);
    p->m_chkSubscribeNotify->setChecked(row.text("SubscribeNotify").toInt() != 0);
    setComboValue(p->m_cboModeMemberPost, row.text("ModeMemberPost"));
    setComboValue(p->m_cboModeNonmemPost, row.text("ModeNonmemPost"));
    setComboValue(p->m_cboModeModeratorPost, row.text("ModeModeratorPost"));
    p->m_chkModeratorPostRequestNotify->setChecked(row.text("ModeratorPostRequestNotify").toInt()
                                                   != 0);
    p->m_chkErrorsToModerator->setChecked(row.text("ErrorsToModerator").toInt() != 0);
    setComboValue(p->m_cboReplyTo, row.text("ReplyToType"));
    p->m_edReplyToEmail->setText(row.text("ReplyToEmail"));
    p->m_edReplyToEmail->setEnabled(p->m_cboReplyTo->currentData() == 2);
    p->m_edSubjectPrefix->setText(row.text("SubjectPrefix"));
    p->m_chkSenderHide->setChecked(row.text("SenderHide").toInt() != 0);
    p->m_chkEmptySubject->setChecked(row.text("EmptySubject").toInt() != 0);
    p->m_edFooter->setPlainText(row.text("Footer"));
    p->m_chkArchive->setChecked(row.text("Archive").toInt() != 0);
    p->m_edArchiveUser->setText(row.text("User"));
    p->m_pageModerators->setRoster(m_moderators, m_domain);
    p->m_pageMembers->setRoster(m_members, m_domain);
    nameChanged(p->m_edName->text());
    m_nameEdited = false;
    if (!bview::sessionMayModify()) {
        bview::makeReadOnly(this);
        p->m_pageModerators->setReadOnly(true);
        p->m_pageMembers->setReadOnly(true);
        // Pages and tabs stay reachable; only closing is left.
        for (QAbstractButton *button : this->template findChildren<QAbstractButton *>()) {
            if (button->objectName().startsWith(QLatin1String("qt_wizard_"))
                || (this->m_buttons
                    && this->m_buttons->buttonRole(button) == QDialogButtonBox::RejectRole))
                button->setEnabled(true);
        }
    }
    return true;
}

template<class Base>
bool MailingListDlgTemp<Base>::fail(int page, QWidget *field, const QString &message)
{
    this->showPage(page);
    bmessagebox::warning(this, message);
    if (field)
        field->setFocus();
    return false;
}

template<class Base>
QString MailingListDlgTemp<Base>::nameConflict(const QString &name) const
{
    QString message;
    if (namedconflicts::aliasExists(m_domain, name))
        message = MailingListPages::tr(
                          "<nobr>There already exists an alias called '%1'. If you create a "
                          "mailing list with the same name,<br>all emails sent to the address "
                          "'%2@%3' will be delivered to the alias and never to the mailing "
                          "list.</nobr>")
                          .arg(name, name, m_domain);
    if (namedconflicts::userExists(m_domain, name))
        message = MailingListPages::tr(
                          "<nobr>There already exists a user called '%1'. If you create a "
                          "mailing list with the same name,<br>all emails sent to the address "
                          "'%2@%3' will be delivered to the mailing list and never to the "
                          "user.</nobr>")
                          .arg(name, name, m_domain);
    const QString user = namedconflicts::userWithAddress(m_domain, name);
    if (!user.isEmpty())
        message = MailingListPages::tr(
                          "<nobr>There already exists a user email address called '%1@%2'. If "
                          "you create a mailing list with the same name,<br>all emails sent to "
                          "this address will be delivered to the mailing list and never to the "
                          "user '%3'.</nobr>")
                          .arg(name, m_domain, user);
    const QString group = namedconflicts::groupWithAddress(m_domain, name);
    if (!group.isEmpty())
        message = MailingListPages::tr(
                          "<nobr>There already exists a group email address called '%1@%2'. If "
                          "you create a mailing list with the same name,<br>all emails sent to "
                          "this address will be delivered to the mailing list and never to the "
                          "group '%3'.</nobr>")
                          .arg(name, m_domain, group);
    return message;
}

template<class Base>
bool MailingListDlgTemp<Base>::validate()
{
    if (!bview::sessionMayModify())
        return false;
    MailingListPages *p = this->m_pages;
    using P = MailingListPages;
    const QString name = p->m_edName->text().trimmed();
    if (name.isEmpty())
        return fail(P::General, p->m_edName, P::tr("You must enter the name of the mailing list."));
    if (mailinglist::hasReservedSuffix(name))
        return fail(P::General, p->m_edName,
                    P::tr("<nobr>The name of list you have specified is not permitted.<br>Try to "
                          "change the part of the name after dash sign (-).</nobr>"));
    if (m_nameEdited) {
        const QString conflict = nameConflict(name);
        if (!conflict.isEmpty() && bcorrection::askToCorrect(this, conflict)) {
            this->showPage(P::General);
            p->m_edName->setFocus();
            return false;
        }
    }
    if (p->m_edComment->toPlainText().size() > mailinglist::kMaxTextLength)
        return fail(P::Comment, p->m_edComment,
                    P::tr("The comment length is limited to %1 characters.")
                            .arg(mailinglist::kMaxTextLength));
    if (p->m_edFooter->toPlainText().size() > mailinglist::kMaxTextLength)
        return fail(P::Message, p->m_edFooter,
                    P::tr("The footer length is limited to %1 characters.")
                            .arg(mailinglist::kMaxTextLength));
    const int replyTo
            = p->m_cboReplyTo->currentIndex() >= 0 ? p->m_cboReplyTo->currentData().toInt() : -1;
    if (p->m_chkSenderHide->isChecked() && replyTo == 0)
        return fail(P::Message, p->m_cboReplyTo,
                    P::tr("<nobr>Your settings \"Reply-To: Sender\" together with \"Hide "
                          "sender's address...\" doesn't make sense.<br>Change the "
                          "settings.</nobr>"));
    if (p->m_chkSenderHide->isChecked() && replyTo == 4)
        return fail(P::Message, p->m_cboReplyTo,
                    P::tr("Your settings \"<nobr>Reply-To: Sender + this list\" together with "
                          "\"Hide sender's address...\" doesn't make sense.<br>Change the "
                          "settings.</nobr>"));
    if (replyTo == 2) {
        QString address = p->m_edReplyToEmail->text().trimmed();
        int pos = 0;
        if (!address.contains(QLatin1Char('@'))
            || p->m_edReplyToEmail->validator()->validate(address, pos) != QValidator::Acceptable)
            return fail(P::Message, p->m_edReplyToEmail,
                        P::tr("Enter a valid Reply-To address, please."));
    }
    if (m_moderators && m_moderators->rowCount() == 0
        && bcorrection::askToCorrect(
                this, P::tr("<nobr>You didn't specify any moderators in this list.</nobr>"))) {
        this->showPage(P::Moderators);
        p->m_pageModerators->addButton()->setFocus();
        return false;
    }
    return true;
}

template<class Base>
void MailingListDlgTemp<Base>::storeView()
{
    MailingListPages *p = this->m_pages;
    DBRow *row = this->m_row;
    if (m_isNew)
        row->setText("Name", p->m_edName->text().trimmed());
    row->setText("Description", p->m_edDescription->text());
    row->setText("Language", p->m_cboLanguage->currentText().trimmed());
    row->setText("Comment", p->m_edComment->toPlainText());
    row->setText("Footer", p->m_edFooter->toPlainText());
    storeComboValue(row, "ModeLogin", p->m_cboModeLogin);
    storeCheck(row, "ModeratorSubscribeRequestNotify", p->m_chkModeratorSubscribeRequestNotify);
    storeCheck(row, "SubscribeNotify", p->m_chkSubscribeNotify);
    storeComboValue(row, "ModeMemberPost", p->m_cboModeMemberPost);
    storeComboValue(row, "ModeNonmemPost", p->m_cboModeNonmemPost);
    storeComboValue(row, "ModeModeratorPost", p->m_cboModeModeratorPost);
    storeCheck(row, "ModeratorPostRequestNotify", p->m_chkModeratorPostRequestNotify);
    storeCheck(row, "ErrorsToModerator", p->m_chkErrorsToModerator);
    storeComboValue(row, "ReplyToType", p->m_cboReplyTo);
    row->setText("ReplyToEmail", p->m_edReplyToEmail->text().trimmed());
    row->setText("SubjectPrefix", p->m_edSubjectPrefix->text());
    storeCheck(row, "SenderHide", p->m_chkSenderHide);
    storeCheck(row, "EmptySubject", p->m_chkEmptySubject);
    storeCheck(row, "Archive", p->m_chkArchive);
    row->setText("User", p->m_edArchiveUser->text().trimmed());
}

template<class Base>
QString MailingListDlgTemp<Base>::duplicateMessage() const
{
    return MailingListPages::tr("This mailing list already exists.");
}

template class MailingListDlgTemp<TMailingListDlg>;
template class MailingListDlgTemp<TMailingListWiz>;

MailingListDlg::MailingListDlg(DBRow *row, PvnMListTable *moderators, PvnMListTable *members,
                               QWidget *parent)
    : MailingListDlgTemp<TMailingListDlg>(row, moderators, members, false, parent)
{
    setObjectName(QStringLiteral("MailingListDlg"));
}

MailingListWiz::MailingListWiz(DBRow *row, PvnMListTable *moderators, PvnMListTable *members,
                               QWidget *parent)
    : MailingListDlgTemp<TMailingListWiz>(row, moderators, members, true, parent)
{
    setObjectName(QStringLiteral("MailingListWiz"));
}

#include "pages/mailinglists/mailinglistpages.h"

#include "forms/blineedit.h"
#include "forms/bnamed.h"
#include "pages/mailinglists/mlistrosterpage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using bview::named;

namespace {

QWidget *formPage(QWidget *parent, const char *name)
{
    auto *page = new QWidget(parent);
    page->setObjectName(QString::fromLatin1(name));
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(new QFormLayout);
    return page;
}

QFormLayout *formOf(QWidget *page)
{
    return static_cast<QFormLayout *>(page->layout()->itemAt(0)->layout());
}

// A labelled field; the label is the field's buddy.
void addField(QWidget *page, const QString &text, QWidget *field)
{
    auto *label = new QLabel(text, page);
    label->setBuddy(field);
    field->setParent(page);
    formOf(page)->addRow(label, field);
}

void addWide(QWidget *page, QWidget *widget)
{
    widget->setParent(page);
    formOf(page)->addRow(widget);
}

// Allowed 0, Moderator must approve 1, Denied 2: each entry carries its stored value.
QComboBox *modeCombo(const char *name, const QString &last)
{
    auto *combo = named(new QComboBox, name);
    combo->addItem(MailingListPages::tr("Allowed"), 0);
    combo->addItem(MailingListPages::tr("Moderator must approve"), 1);
    combo->addItem(last, 2);
    return combo;
}

} // namespace

MailingListPages::MailingListPages(QWidget *parent)
{
    m_edName = named(new BLineEdit, "m_edName");
    m_lblNameNote = named(new QLabel, "m_lblNameNote");
    m_lblNameNote->setWordWrap(true);
    m_edDescription = named(new BLineEdit, "m_edDescription");
    m_cboLanguage = named(new QComboBox, "m_cboLanguage");
    m_cboLanguage->setEditable(true);
    m_cboLanguage->addItems({QStringLiteral("en"), QStringLiteral("de"), QStringLiteral("fr"),
                             QStringLiteral("es"), QStringLiteral("it"), QStringLiteral("cs")});
    m_edComment = named(new QPlainTextEdit, "m_edComment");
    m_cboModeLogin = modeCombo("m_cboModeLogin", tr("Denied"));
    m_chkModeratorSubscribeRequestNotify
            = named(new QCheckBox(tr("Notify moderators about &subscription requests")),
                    "m_chkModeratorSubscribeRequestNotify");
    m_chkSubscribeNotify = named(new QCheckBox(tr("Notify moderators about new &members")),
                                 "m_chkSubscribeNotify");
    m_edSubjectPrefix = named(new BLineEdit, "m_edSubjectPrefix");
    m_chkSenderHide = named(
            new QCheckBox(tr("&Hide sender's address and replace it with an address of the list")),
            "m_chkSenderHide");
    m_chkEmptySubject = named(new QCheckBox(tr("Allow messages with an empty s&ubject")),
                              "m_chkEmptySubject");
    m_cboReplyTo = named(new QComboBox, "m_cboReplyTo");
    m_cboReplyTo->addItem(tr("Sender"), 0);
    m_cboReplyTo->addItem(tr("This list"), 1);
    m_cboReplyTo->addItem(tr("Other address"), 2);
    m_cboReplyTo->addItem(tr("Sender + this list"), 4);
    m_edReplyToEmail = named(new BLineEdit, "m_edReplyToEmail");
    m_edFooter = named(new QPlainTextEdit, "m_edFooter");
    m_cboModeMemberPost = modeCombo("m_cboModeMemberPost", tr("Denied"));
    m_cboModeNonmemPost = modeCombo("m_cboModeNonmemPost", tr("Denied"));
    m_cboModeModeratorPost
            = modeCombo("m_cboModeModeratorPost", tr("Use rules for members/non-members"));
    m_chkModeratorPostRequestNotify
            = named(new QCheckBox(tr("Notify moderators about messages &waiting for approval")),
                    "m_chkModeratorPostRequestNotify");
    m_chkErrorsToModerator = named(new QCheckBox(tr("Send &delivery errors to moderators")),
                                   "m_chkErrorsToModerator");
    m_chkArchive = named(new QCheckBox(tr("&Archive the messages of this list")), "m_chkArchive");
    m_edArchiveUser = named(new BLineEdit, "m_edArchiveUser");
    m_lblArchiveDot = named(new QLabel(tr("The archive is not accessible as a newsgroup through "
                                          "NNTP server (dot in the name).")),
                            "m_lblArchiveDot");
    m_lblArchiveDot->setWordWrap(true);

    QWidget *general = formPage(parent, "m_pageGeneral");
    addField(general, tr("&Name:"), m_edName);
    addWide(general, m_lblNameNote);
    addField(general, tr("&Description:"), m_edDescription);
    addField(general, tr("&Language:"), m_cboLanguage);

    QWidget *comment = formPage(parent, "m_pageComment");
    addField(comment, tr("&Text sent to new members:"), m_edComment);

    QWidget *subscription = formPage(parent, "m_pageSubscription");
    addField(subscription, tr("Subscription by &e-mail:"), m_cboModeLogin);
    addWide(subscription, m_chkModeratorSubscribeRequestNotify);
    addWide(subscription, m_chkSubscribeNotify);

    QWidget *message = formPage(parent, "m_pageMessage");
    addField(message, tr("Subject &prefix:"), m_edSubjectPrefix);
    addWide(message, m_chkSenderHide);
    addWide(message, m_chkEmptySubject);
    addField(message, tr("&Reply-To:"), m_cboReplyTo);
    addField(message, tr("Reply-To &address:"), m_edReplyToEmail);
    addField(message, tr("&Footer:"), m_edFooter);

    QWidget *posting = formPage(parent, "m_pagePosting");
    addField(posting, tr("&Members:"), m_cboModeMemberPost);
    addField(posting, tr("&Non-members:"), m_cboModeNonmemPost);
    addField(posting, tr("M&oderators:"), m_cboModeModeratorPost);
    addWide(posting, m_chkModeratorPostRequestNotify);
    addWide(posting, m_chkErrorsToModerator);

    m_pageModerators = new MListRosterPage(false, parent);
    m_pageMembers = new MListRosterPage(true, parent);

    QWidget *archive = formPage(parent, "m_pageArchive");
    addWide(archive, m_chkArchive);
    addField(archive, tr("Archive &user:"), m_edArchiveUser);
    addWide(archive, m_lblArchiveDot);

    for (QWidget *page : {general, comment, subscription, message, posting})
        static_cast<QVBoxLayout *>(page->layout())->addStretch();
    static_cast<QVBoxLayout *>(archive->layout())->addStretch();
    pages = {general, comment,          subscription,  message,
             posting, m_pageModerators, m_pageMembers, archive};
    titles = {tr("General"), tr("Comment"),    tr("Subscription"), tr("Message"),
              tr("Posting"), tr("Moderators"), tr("Members"),      tr("Archive")};
}

#pragma once

#include <QCoreApplication>
#include <QList>
#include <QString>

class BLineEdit;
class MListRosterPage;
class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QWidget;

// The pages of a mailing list, shared by the dialog (as tabs) and the wizard
// (as steps): the widgets and the order of the pages.
class MailingListPages
{
    Q_DECLARE_TR_FUNCTIONS(MailingListPages)
public:
    enum Page { General, Comment, Subscription, Message, Posting, Moderators, Members, Archive };

    explicit MailingListPages(QWidget *parent);

    QList<QWidget *> pages;
    QStringList titles;

    BLineEdit *m_edName;
    QLabel *m_lblNameNote;
    BLineEdit *m_edDescription;
    QComboBox *m_cboLanguage;
    QPlainTextEdit *m_edComment;
    QComboBox *m_cboModeLogin;
    QCheckBox *m_chkModeratorSubscribeRequestNotify;
    QCheckBox *m_chkSubscribeNotify;
    BLineEdit *m_edSubjectPrefix;
    QCheckBox *m_chkSenderHide;
    QCheckBox *m_chkEmptySubject;
    QComboBox *m_cboReplyTo;
    BLineEdit *m_edReplyToEmail;
    QPlainTextEdit *m_edFooter;
    QComboBox *m_cboModeMemberPost;
    QComboBox *m_cboModeNonmemPost;
    QComboBox *m_cboModeModeratorPost;
    QCheckBox *m_chkModeratorPostRequestNotify;
    QCheckBox *m_chkErrorsToModerator;
    MListRosterPage *m_pageModerators;
    MListRosterPage *m_pageMembers;
    QCheckBox *m_chkArchive;
    BLineEdit *m_edArchiveUser;
    QLabel *m_lblArchiveDot;
};

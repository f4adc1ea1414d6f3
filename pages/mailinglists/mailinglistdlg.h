#pragma once

#include "forms/bdialog.h"
#include "pages/mailinglists/mailinglistpages.h"

#include <QDialog>
#include <QWizard>

class PvnMListTable;
class QDialogButtonBox;
class QTabWidget;

// The layout of the mailing-list dialog: the pages as tabs.
class TMailingListDlg : public QDialog
{
    Q_OBJECT
public:
    explicit TMailingListDlg(QWidget *parent = nullptr);
    ~TMailingListDlg() override;
    void showPage(int page);
    int currentPage() const;

    QTabWidget *m_tab;
    MailingListPages *m_pages; // owned; its widgets belong to the tabs
    QDialogButtonBox *m_buttons;
};

// The layout of the new-list wizard: the pages as steps.
class TMailingListWiz : public QWizard
{
    Q_OBJECT
public:
    explicit TMailingListWiz(QWidget *parent = nullptr);
    ~TMailingListWiz() override;
    void showPage(int page);
    int currentPage() const { return currentId(); }

    MailingListPages *m_pages; // owned; its widgets belong to the steps
    QDialogButtonBox *m_buttons = nullptr;
};

// What the dialog and the wizard share: filling, checking and storing one
// "MailingList" row and its two rosters.
template<class Base>
class MailingListDlgTemp : public BDialog<Base>
{
public:
    MailingListDlgTemp(DBRow *row, PvnMListTable *moderators, PvnMListTable *members, bool isNew,
                       QWidget *parent);

    bool fillView() override;
    void storeView() override;
    bool validate() override;
    QString duplicateMessage() const override;

    MailingListPages *pages() const { return this->m_pages; }
    bool isNewList() const { return m_isNew; }

private:
    bool fail(int page, QWidget *field, const QString &message);
    QString nameConflict(const QString &name) const;
    void nameChanged(const QString &name);

    PvnMListTable *m_moderators;
    PvnMListTable *m_members;
    bool m_isNew;
    bool m_nameEdited = false;
    QString m_domain;
};

class MailingListDlg : public MailingListDlgTemp<TMailingListDlg>
{
public:
    MailingListDlg(DBRow *row, PvnMListTable *moderators, PvnMListTable *members,
                   QWidget *parent = nullptr);
};

class MailingListWiz : public MailingListDlgTemp<TMailingListWiz>
{
public:
    MailingListWiz(DBRow *row, PvnMListTable *moderators, PvnMListTable *members,
                   QWidget *parent = nullptr);
};

namespace mailinglist {
// Names the server keeps for the addresses of its lists ("-help", "-owner", ...).
bool hasReservedSuffix(const QString &name);
// The longest "Comment" and "Footer".
inline constexpr int kMaxTextLength = 1023;
} // namespace mailinglist

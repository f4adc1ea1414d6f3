#pragma once

#include "pages/usergroups/ugdlgtemp.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class BPwdLineEdit;
class DBRow;
class DBTable;
class PvnMaxSizeImpl;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QRadioButton;
class QTreeWidget;
class QWidget;

// What the account fields need of their surroundings.
struct UserDlgContext
{
    QString domain;
    // The domain's groups ("Group"), aliases and mailing lists: the group
    // chooser and the conflict checks. Any may be null.
    DBTable *groups = nullptr;
    DBTable *aliases = nullptr;
    DBTable *lists = nullptr;
    // The domain's "MaxOutgoingMessageSize" and the server's SMTP limit
    // ("Smtp"."MaxMessageSize"), both in kB; 0 = none.
    qint64 domainMaxSize = 0;
    qint64 smtpMaxSize = 0;
};

// The account fields shared by the user dialog, the user wizard and the
// template dialog: General, Mail Addresses, Forwarding, Groups, Rights, Quota
// and Restrictions, each a page widget the owner places in tabs or wizard
// pages. fill() shows one or several rows; store() writes back only the
// fields the administrator changed, so a multi-user edit touches nothing
// else, a combo that could not show its stored value leaves it alone, and
// an untouched password field never overwrites the password.
class UserDlgTemp
{
public:
    enum Page { General, Addresses, Forwarding, Groups, Rights, Quota, Restrictions, PageCount };

    UserDlgTemp(QWidget *owner, const UserDlgContext &context, bool multi);
    virtual ~UserDlgTemp();
    UserDlgTemp(const UserDlgTemp &) = delete;
    UserDlgTemp &operator=(const UserDlgTemp &) = delete;

    QWidget *page(Page page) const { return m_pages[page]; }
    static QString pageTitle(Page page);

    virtual void fill(const QList<const DBRow *> &rows);
    // Checks the fields in the dialog's order; false with *failed set to the
    // page to show when one must be corrected.
    virtual bool validate(QWidget *parent, Page *failed);
    virtual void store(DBRow *row) const;

    // Widgets by their object names, for owners and tests.
    QLineEdit *nameEdit() const { return m_edName; }
    QLineEdit *fullNameEdit() const { return m_edFullName; }
    QLineEdit *descriptionEdit() const { return m_edDescription; }
    QComboBox *authCombo() const { return m_cboAuth; }
    QCheckBox *disabledBox() const { return m_chkDisabled; }
    QCheckBox *spamFilterBox() const { return m_chkDefSpamFilter; }
    QListWidget *addressList() const { return m_lstAddress; }
    QListWidget *forwardList() const { return m_lstForward; }
    QRadioButton *noForwardButton() const { return m_rbNoForward; }
    QRadioButton *forwardButton() const { return m_rbForward; }
    QCheckBox *deliverToBothBox() const { return m_chkDeliverToBoth; }
    QTreeWidget *groupList() const { return m_lvGroups; }
    QLineEdit *quotaStorageEdit() const { return m_edQuotaStorage; }
    QComboBox *storageUnitCombo() const { return m_cboStorage; }
    QLineEdit *quotaMessageEdit() const { return m_edQuotaMessage; }
    PvnMaxSizeImpl *maxSizeGroup() const { return m_maxSize; }
    const UGDlgTemp &rights() const { return *m_rights; }
    const UserDlgContext &context() const { return m_context; }
    // The domain of the addresses and groups offered (templates choose it).
    void setContextDomain(const QString &domain) { m_context.domain = domain; }
    // Hides the login and full name rows (templates have neither).
    void hideAccountNames();
    bool isMulti() const { return m_multi; }

    // The forwarding and the local parts shown now.
    int forwardMode() const;
    QStringList addresses() const;
    QStringList forwardAddresses() const;
    QStringList groupNames() const;
    // The quota edit in kB (0 = unlimited); -1 when not a number.
    qint64 storageQuota() const;

    // Size units of the quota combo.
    static qint64 unitFactor(int unit); // 0 kB, 1 MB, 2 GB
    static int largestExactUnit(qint64 kilobytes);

    // Adds entries as the buttons do (the dialogs' own checks included).
    void addAddress(QWidget *parent);
    void addForward(QWidget *parent);
    void addGroups(QWidget *parent);

protected:
    struct Filled
    {
        QString name, fullName, description, addresses, forward, groups;
        int auth = -1;
        int forwardMode = -1;
        int disabled = -1, spam = -1;
        qint64 storage = -1, messages = -1;
        QString storageText, messagesText;
        qint64 maxSize = -1; // as the size group read it back
    };

    QWidget *m_owner;
    UserDlgContext m_context;
    bool m_multi;
    QWidget *m_pages[PageCount];
    Filled m_filled;

    QLineEdit *m_edName;
    QLineEdit *m_edFullName;
    QLineEdit *m_edDescription;
    QComboBox *m_cboAuth;
    QCheckBox *m_chkDisabled;
    QCheckBox *m_chkDefSpamFilter;
    QListWidget *m_lstAddress;
    QRadioButton *m_rbNoForward;
    QRadioButton *m_rbForward;
    QListWidget *m_lstForward;
    QCheckBox *m_chkDeliverToBoth;
    QTreeWidget *m_lvGroups;
    QRadioButton *m_rbNoChangeRights = nullptr;
    QCheckBox *m_chkWebadminRights;
    QLineEdit *m_edQuotaStorage;
    QComboBox *m_cboStorage;
    QLineEdit *m_edQuotaMessage;
    QCheckBox *m_chkOwnDomainOnly;
    QCheckBox *m_chkFax;
    PvnMaxSizeImpl *m_maxSize;
    std::unique_ptr<UGDlgTemp> m_rights;
    QStringList m_newAddresses; // added in this dialog (checked for conflicts)
};

// The account fields of a real user: the server-node combo, the password
// fields with the SHA box, the public-folder right and the quota usage.
class UserDlgTempEx : public UserDlgTemp
{
public:
    UserDlgTempEx(QWidget *owner, const UserDlgContext &context, bool multi, bool wizard);

    void fill(const QList<const DBRow *> &rows) override;
    bool validate(QWidget *parent, Page *failed) override;
    void store(DBRow *row) const override;

    // Shows the usage against the quota ("Quota is reached!" when reached;
    // a quota of 0 is unlimited and never reached).
    void showUsage(qint64 storageUsed, qint64 messagesUsed);

    QComboBox *nodeCombo() const { return m_cboBackendServer; }
    BPwdLineEdit *passwordEdit() const { return m_edPass; }
    BPwdLineEdit *confirmEdit() const { return m_edConfPass; }
    QCheckBox *shaBox() const { return m_chkSHA; }
    QCheckBox *publicFoldersBox() const { return m_chkPublicFoldersRights; }
    QLabel *diskWarning() const { return m_lblDiskWarning; }
    QLabel *messagesWarning() const { return m_lblMessagesWarning; }
    QProgressBar *diskBar() const { return m_prgDiskSpace; }
    QProgressBar *messagesBar() const { return m_prgMessages; }
    // Whether the public-folder box changed (the caller sets the folder rights).
    bool publicFoldersChanged() const;
    // Shows whether the user holds the public-folder administrator rights.
    void setPublicFoldersFilled(bool on);

    // The stored form of a new password: "SHA:" hash or "NUL:" + text.
    static QString storedPassword(const QString &password, bool sha);
    // The name check of the wizard (also for a rename in the dialog).
    static bool loginNameAcceptable(const QString &name);

private:
    QComboBox *m_cboBackendServer;
    QString m_filledNode;
    BPwdLineEdit *m_edPass;
    BPwdLineEdit *m_edConfPass;
    QCheckBox *m_chkSHA;
    QLabel *m_lblShaNote;
    int m_filledSha = -1;
    QCheckBox *m_chkPublicFoldersRights;
    int m_filledPublic = -1;
    QProgressBar *m_prgDiskSpace;
    QProgressBar *m_prgMessages;
    QLabel *m_lblDiskWarning;
    QLabel *m_lblMessagesWarning;
    bool m_wizard;
};

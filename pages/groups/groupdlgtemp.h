#pragma once

#include "pages/usergroups/ugdlgtemp.h"

#include <QHash>
#include <QObject>
#include <QStringList>

#include <memory>

class BListView;
class DBRow;
class DBTable;
class QCheckBox;
class QFormLayout;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

// The group fields shared by the group dialog and the group wizard: name,
// description, the group's mail addresses, its members, rights and
// permission words. The dialogs place the widgets on tabs or pages.
//
// Members are not stored on the group: each user row names its groups in
// "Groups". The fields keep a working copy of the "Groups" text of every
// user row of the domain; adding or removing a member edits that copy, and
// store() writes changed copies back into the user rows (unchanged rows
// give no statement).
class GroupDlgTemp : public QObject
{
    Q_OBJECT
public:
    // The domain's tables the fields read: users (members are written
    // there), aliases and mailing lists (conflict checks).
    struct Tables
    {
        DBTable *users = nullptr;
        const DBTable *aliases = nullptr;
        const DBTable *lists = nullptr;
    };

    GroupDlgTemp(QWidget *owner, const Tables &tables);
    ~GroupDlgTemp() override;

    // Fills every widget from the group row (and the members from the
    // user rows).
    void fill(const DBRow &group);
    // The conflict checks of the addresses added since fill; false keeps
    // the dialog open at the address concerned.
    bool validate();
    // Writes name, description, addresses, rights, permission words and
    // the members' "Groups".
    void store(DBRow *group);
    // A new group's name changed before store (wizard): the working
    // "Groups" copies follow it.
    void renameGroup(const QString &name);

    QString groupName() const { return m_groupName; }
    QStringList memberNames() const { return m_memberNames; }
    // The working "Groups" text of a user row.
    QString workingGroups(const DBRow *user) const;
    int addressCount() const;
    QStringList addresses() const;

    // Widgets, for the layouts and tests.
    QLineEdit *m_edName;
    QLineEdit *m_edDescription;
    QListWidget *m_lstAddress;
    QPushButton *m_btnAddAddress;
    QPushButton *m_btnEditAddress;
    QPushButton *m_btnRemoveAddresses;
    BListView *m_lvUsers;
    QFrame *m_fraButtons;
    QPushButton *m_btnAddUser;
    QPushButton *m_btnRemoveUsers;
    QRadioButton *m_rbNoAccess;
    QRadioButton *m_rbReadOnlyAccess;
    QRadioButton *m_rbFullAccess;
    QCheckBox *m_chkWebadminRights;
    QLabel *m_lblPxWebadminInfo;
    QLabel *m_lblWebadminInfo;
    QCheckBox *m_chkOwnDomainOnly;
    QGroupBox *m_bgFax;
    QCheckBox *m_chkFax;

    // The "Name:" and "Description:" rows; labels are made on labelParent.
    QFormLayout *nameForm(QWidget *labelParent);
    // Lays out the address list with its buttons beside it on container.
    void layoutAddresses(QWidget *container);
    // Lays out the rights part (administration rights, webadmin box and
    // note) on a page; title is the rights box's title.
    void layoutRights(QWidget *page, const QString &title);

    static QString duplicateMessage();

signals:
    // An address was added or removed.
    void signalAddressesChanged();

public slots:
    void slotAddUser();
    void slotRemoveUsers();
    void slotAddAddress();
    void slotEditAddress();
    void slotRemoveAddresses();
    void slotUserSelectionChanged();
    void slotAddressSelectionChanged();
    void slotCommand(int id);

private:
    bool holdsAddress(const QString &address, int except) const;
    void addMember(DBRow *user);
    DBRow *findUser(const QString &name) const;

    QWidget *m_owner;
    Tables m_tables;
    QString m_groupName;
    QString m_domain;
    int m_kind = 0;
    QStringList m_memberNames;
    QStringList m_filledAddresses;
    QHash<DBRow *, QString> m_working;
    std::unique_ptr<UGDlgTemp> m_rights;
};

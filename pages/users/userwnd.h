#pragma once

#include "pages/usergroups/ugpublish.h"
#include "pages/users/domainformlist.h"
#include "pages/users/pvnusertable.h"
#include "pages/users/tuserwnd.h"
#include "pages/users/useritem.h"

#include "pages/users/userdlgtemp.h"

#include <QHash>
#include <QPair>

#include <QSet>
#include <memory>
#include <vector>

// What becomes of the mail store of a removed user once the removal is
// applied (UserFolderDlg): nothing, deleted, or moved to another account.
struct UserFolderAction
{
    enum Kind { Keep, Delete, Move };
    Kind kind = Keep;
    QString account; // name@domain of the removed user
    QString target; // name@domain receiving the mail store (Move)
};

// The "Users" section: the accounts of one domain ("User"), with Add
// within the domain's user limit, Remove with its checks and the mail-store
// decision, Recover deleted items, Import, Publish, statistics and mobile
// devices.
class UserWnd : public DomainFormList<TUserWnd>
{
public:
    // Context-menu commands added to the list.
    enum { CommandStats = 20, CommandImportFile = 22 };
    // The Add limit: no more users may be added.
    static constexpr int kNoneLeft = 0;
    static constexpr int kUnlimited = -1;

    explicit UserWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    void createDomainTables(DomainTables &set) override;
    void domainTablesLoaded(DomainTables &set) override;
    void domainChanged() override;
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    bool editItems(const QList<BListViewItem *> &items) override;
    void updateItems(const QList<BListViewItem *> &items) override;
    bool confirmRemove() override;
    bool canRemove(DBRow *row) override;
    bool confirmRemoval(const QList<DBRow *> &rows) override;
    void add() override;
    void selectionChanged() override;
    void command(int id) override;
    bool save() override;
    void discard() override;
    QString name() const override { return QStringLiteral("UserWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

    void slotStats() override;
    void slotExport() override;
    void slotRecover() override;
    void slotUsersLoaded() override;
    void slotImport() override;
    void slotImportFile() override;

    PvnUserTable *userTable() const;
    // How many users may still be added to the shown domain (kUnlimited for
    // no limit); shows the refusal and gives kNoneLeft when none may.
    int checkUserLimit();
    // The domain's "MaxUserCount" (0 = none) and its users: the server's
    // count plus the users added here and not applied. False (with the
    // error shown) when the count could not be had.
    bool userCount(int *max, int *count);
    static QString limitMessage(int max, int count);
    // True when count more users fit; otherwise shows the Add refusal.
    bool roomFor(QWidget *parent, int count);
    // Adds imported or activated users as new rows (activated on Apply).
    void addImportedRows(const QList<const DBRow *> &rows);
    // Whether the shown domain is bound to a directory service.
    bool domainHasDirectory() const;
    UserDlgContext dialogContext();
    // The folder users are published to ("#public/Contacts" or per domain).
    QString publicContactsFolder() const;
    QStringList existingNames() const;
    // The count query of a domain, or empty when the name may not travel in
    // it (only letters, digits, dots and hyphens do).
    static QString countQuery(const QString &domain);
    // Users added on this page and not applied yet, in the shown domain.
    int pendingAdditions() const;
    // The login of this session as name@domain.
    QString sessionAccount() const;
    // The folder actions waiting for the next successful Apply.
    const QList<UserFolderAction> &pendingFolderActions() const { return m_folderActions; }
    // Public-folder rights (account, on) and publications waiting likewise.
    const QList<QPair<QString, bool>> &pendingFolderRights() const { return m_folderRights; }
    const QList<ugpublish::Entry> &pendingPublications() const { return m_publications; }

protected:
    void rowsRemoved() override;

private:
    const UserUsage *usageOf(const DBRow &row) const;
    bool usageColumnsShown() const;
    void updateStatus();
    void runFolderActions();

    QHash<QString, QHash<QString, UserUsage>> m_usage; // domain -> name -> usage
    QList<UserFolderAction> m_folderActions;
    QList<QPair<QString, bool>> m_folderRights;
    QList<ugpublish::Entry> m_publications;
    std::vector<std::unique_ptr<DBTable>> m_contextTables;
    QStringList m_removedNow; // accounts removed by the current Remove
    QString m_publicAdmin;
    QString m_sessionAccount;
};

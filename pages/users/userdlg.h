#pragma once

#include "forms/bdialog.h"
#include "pages/users/userdlgtemp.h"

#include <QDialog>
#include <QList>

#include <memory>
#include <optional>

class DBRow;
class QTabWidget;

// "Edit User" (one row) or "Edit Multiple Users" (several): the account
// fields in tabs. OK writes only the changed fields into the rows.
class UserDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    UserDlg(const QList<DBRow *> &rows, const UserDlgContext &context, QWidget *parent = nullptr);
    ~UserDlg() override;

    UserDlgTempEx *fields() const { return m_fields.get(); }
    QTabWidget *tabs() const { return m_tabs; }
    // The public-folder right after OK: set, removed, or unchanged (empty).
    std::optional<bool> publicFoldersChange() const { return m_publicChange; }

    void load(bool first) override;
    bool fillView() override;
    bool validate() override;
    void storeView() override;
    QString duplicateMessage() const override { return tr("This user already exists."); }

public slots:
    void slotGroupSelectionChanged();
    void slotDiskSpaceChanged();
    void slotMessagesChanged();
    void slotTabChanged();

private:
    QList<DBRow *> m_rows;
    std::unique_ptr<UserDlgTempEx> m_fields;
    QTabWidget *m_tabs;
    std::optional<bool> m_publicChange;
    qint64 m_storageUsed = 0;
    qint64 m_messagesUsed = 0;
};

namespace userdlg {

// The server-node names ("ServerNodes").
QStringList serverNodes();
// Whether the account holds the administrator rights of the public folders
// ("FolderGetAcl(" of "#public").
bool holdsPublicFolderRights(const QString &account);
// "FolderSetAcl(" giving or taking the account's administrator rights.
QString publicFolderAclCall(const QString &account, bool on);

} // namespace userdlg

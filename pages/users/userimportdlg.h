#pragma once

#include "forms/bdialog.h"
#include "pages/usergroups/useractivatedlgtemp.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

class QLabel;
class QLineEdit;
class QTreeWidget;

// "Import/Activate Users Dialog": the users of the domain's directory
// service that are not active yet, to be activated through the page's
// PvnUserTable. The chosen rows may not exceed the users the domain still
// takes.
class UserImportDlg : public UserActivateDlgTemp
{
    Q_OBJECT
public:
    UserImportDlg(const QString &domain, const QStringList &existingNames,
                  QWidget *parent = nullptr)
        : UserActivateDlgTemp(Mode::Users, domain, existingNames, parent)
    {
        setObjectName(QStringLiteral("UserImportDlg"));
    }
};

// One user read from an import file.
struct ImportedUser
{
    QString name, fullName, description, password;
};

// Imports users from a text file, one user a line: login name, full name,
// description and password separated by commas (fields may be quoted as in
// CSV). Lines whose login name is not acceptable or already used are shown
// with the reason and cannot be checked.
class UserImportFileDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    UserImportFileDlg(const QStringList &existingNames, QWidget *parent = nullptr);

    // Reads the file into the list; false with a message when it cannot.
    bool readFile(const QString &path);
    static QList<ImportedUser> parse(const QString &text);
    // The checked users (after OK).
    QList<ImportedUser> chosenUsers() const { return m_chosen; }
    void setChosenCheck(std::function<bool(QWidget *, int count)> check)
    {
        m_chosenCheck = std::move(check);
    }
    QTreeWidget *list() const { return m_list; }
    QLineEdit *fileEdit() const { return m_edFile; }

    bool validate() override;

private:
    QStringList m_existing;
    QLineEdit *m_edFile;
    QTreeWidget *m_list;
    QList<ImportedUser> m_users;
    QList<ImportedUser> m_chosen;
    std::function<bool(QWidget *, int)> m_chosenCheck;
};

#pragma once

#include "pages/usergroups/ugpublish.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

// Publishes users or groups to a public contacts folder. The administrator
// picks the folder (the default contacts folder, or a public folder of the
// domain listed by "FolderList("), then "&Publish" sends one
// "AddressBookAdd(" per entry; each row shows its result and a summary line
// counts the successes ("2 of 3 groups have been published successfully.").
// A failed row does not stop the others.
class UserExportDlg : public QDialog
{
    Q_OBJECT
public:
    UserExportDlg(ugpublish::Kind kind, const QList<ugpublish::Entry> &entries,
                  const QString &domain, const QString &defaultFolder, QWidget *parent = nullptr);

    // Publishes every entry to the chosen folder; returns the successes.
    int publishAll();

    QString folder() const;
    QComboBox *folderCombo() const { return m_cboFolder; }
    QTreeWidget *list() const { return m_list; }
    QLabel *summaryLabel() const { return m_lblSummary; }
    QPushButton *publishButton() const { return m_btnPublish; }
    int successes() const { return m_successes; }

private:
    void listFolders(const QString &domain, const QString &defaultFolder);

    ugpublish::Kind m_kind;
    QList<ugpublish::Entry> m_entries;
    QComboBox *m_cboFolder;
    QTreeWidget *m_list;
    QLabel *m_lblSummaryIcon;
    QLabel *m_lblSummary;
    QPushButton *m_btnPublish;
    int m_successes = 0;
};

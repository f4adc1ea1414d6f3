#pragma once

#include <QList>
#include <QWidget>

class BListView;
class DBRow;
class PvnMListTable;
class QMenu;
class QPushButton;
class BListViewItem;

// A roster of the mailing-list dialog (moderators or members): the list of
// "E-mail" and "Full name" with Add, Edit and Remove. Members can also be
// chosen from the domain's users or imported from a CSV file.
class MListRosterPage : public QWidget
{
    Q_OBJECT
public:
    MListRosterPage(bool members, QWidget *parent = nullptr);

    void setRoster(PvnMListTable *roster, const QString &domain);
    PvnMListTable *roster() const { return m_roster; }
    void setReadOnly(bool readOnly);

    BListView *listView() const { return m_lvRoster; }
    QPushButton *addButton() const { return m_btnAdd; }
    QPushButton *editButton() const { return m_btnEdit; }
    QPushButton *removeButton() const { return m_btnRemove; }
    QMenu *addMenu() const { return m_menuAdd; }

    // Reads members from a CSV file into the roster; false when nothing was taken.
    bool importCsv(const QString &path);

public slots:
    void slotAddManually();
    void slotAddFromUsers();
    void slotImportCsv();
    void slotEdit();
    void slotRemove();
    void slotSelectionChanged();

private:
    void fill();
    BListViewItem *createItem(DBRow *row);

    bool m_members;
    bool m_readOnly = false;
    QString m_domain;
    PvnMListTable *m_roster = nullptr;
    BListView *m_lvRoster;
    QPushButton *m_btnAdd;
    QPushButton *m_btnEdit;
    QPushButton *m_btnRemove;
    QMenu *m_menuAdd;
};

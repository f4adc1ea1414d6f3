#pragma once

#include "db/dbtable.h"
#include "forms/bdialog.h"

#include <QDialog>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// Finds a user or a group by part of its address or name: lists the
// addresses of both, filtered by the search text, and gives the chosen one.
class FindUserDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    explicit FindUserDlg(QWidget *parent = nullptr);

    // The chosen address (empty until OK).
    QString address() const { return m_address; }
    QTreeWidget *list() const { return m_list; }
    QLineEdit *searchEdit() const { return m_edSearch; }

    void load(bool first) override;
    bool fillView() override;
    bool validate() override;

private:
    void applyFilter();
    void addRows(const DBTable &table, const QString &kind);

    DBTable m_users;
    DBTable m_groups;
    QLineEdit *m_edSearch;
    QTreeWidget *m_list;
    QString m_address;
};

#pragma once

#include "forms/bdialog.h"
#include "pages/groups/groupdlgtemp.h"

#include <QDialog>

class QTabWidget;

// "Edit Group": the group's name (not editable), description and
// addresses, its members, rights and restrictions on four tabs. OK writes
// the group row and the members' user rows of the caller's tables.
class GroupDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    GroupDlg(DBRow *group, const GroupDlgTemp::Tables &tables, QWidget *parent = nullptr);

    GroupDlgTemp *fields() const { return m_fields; }
    QTabWidget *tabs() const { return m_tabs; }

    bool fillView() override;
    bool validate() override;
    void storeView() override;
    QString duplicateMessage() const override { return GroupDlgTemp::duplicateMessage(); }

private:
    GroupDlgTemp *m_fields;
    QTabWidget *m_tabs;
};

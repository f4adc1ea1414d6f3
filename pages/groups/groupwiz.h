#pragma once

#include "forms/bdialog.h"
#include "pages/groups/groupdlgtemp.h"

#include <QWizard>

class QCheckBox;
class QLabel;

// "Add Group": the five pages of a new group (general, addresses, members,
// rights, advanced settings). Next on the first page writes the name into
// the row and refuses a name the domain already has ("This group already
// exists."). The export box on the last page asks to publish the group to
// the public contacts folder after Apply; it is enabled only while the
// group has an address.
class GroupWiz : public BDialog<QWizard>
{
    Q_OBJECT
public:
    GroupWiz(DBRow *group, const GroupDlgTemp::Tables &tables, QWidget *parent = nullptr);

    GroupDlgTemp *fields() const { return m_fields; }
    QCheckBox *exportBox() const { return m_chkExport; }
    QLabel *exportInfo() const { return m_lblExportInfo; }
    // True when the group is to be published after Apply (read after OK).
    bool exportRequested() const;

    bool fillView() override;
    bool validate() override;
    void storeView() override;
    QString duplicateMessage() const override { return GroupDlgTemp::duplicateMessage(); }
    bool validateCurrentPage() override;

    // Whether the typed name may be used (not empty, accepted by the validator).
    bool nameAcceptable() const;

    void slotNameChanged();
    void slotPageChanged();
    void slotExportChanged();

private:
    void updateExportBox();

    GroupDlgTemp *m_fields;
    QCheckBox *m_chkExport;
    QLabel *m_lblExportPx;
    QLabel *m_lblExportInfo;
    bool m_exportUnchecked = false;
};

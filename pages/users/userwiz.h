#pragma once

#include "forms/bdialog.h"
#include "pages/users/userdlgtemp.h"

#include <QWizard>

#include <memory>

class DBRow;
class DBTable;
class QCheckBox;
class QComboBox;
class QLabel;

// "Add User": the account fields on seven wizard pages, with a template
// combo on the first ("No template" and the templates of the domain) and
// the publish choice on the last.
class UserWiz : public BDialog<QWizard>
{
    Q_OBJECT
public:
    // templates: the template table (rows of every domain; may be null).
    UserWiz(DBRow *row, const UserDlgContext &context, DBTable *templates,
            QWidget *parent = nullptr);
    ~UserWiz() override;

    UserDlgTempEx *fields() const { return m_fields.get(); }
    QComboBox *templateCombo() const { return m_cboTemplate; }
    QCheckBox *exportBox() const { return m_chkExport; }
    bool publishRequested() const;

    void load(bool first) override;
    bool fillView() override;
    bool validate() override;
    void storeView() override;
    QString duplicateMessage() const override { return tr("This user already exists."); }

    // The template's values copied into a user row: everything the two
    // share except "Tempname", "Description" and "Domain".
    static void applyTemplate(const DBRow &templateRow, DBRow *row);
    static QString overwriteQuestion();

public slots:
    void slotPageChanged();
    void slotNameChanged();
    void slotFullNameChanged();
    void slotExportChanged();
    void slotTemplateChanged();

private:
    bool valuesEntered() const;

    std::unique_ptr<UserDlgTempEx> m_fields;
    DBTable *m_templates;
    QComboBox *m_cboTemplate;
    QCheckBox *m_chkExport;
    QLabel *m_lblExportInfo;
    int m_templateIndex = 0;
};

#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bdialog.h"
#include "forms/bformlist.h"
#include "pages/users/userdlgtemp.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLineEdit;
class QTabWidget;

// A user template: the account fields without password, server node and
// quota usage, plus its name and the domain it serves ("No domain
// specified" for every domain).
class TemplateDlg : public BDialog<QDialog>
{
    Q_OBJECT
public:
    TemplateDlg(DBRow *row, const QStringList &domains, const UserDlgContext &context,
                QWidget *parent = nullptr);
    ~TemplateDlg() override;

    UserDlgTemp *fields() const { return m_fields.get(); }
    QLineEdit *nameEdit() const { return m_edName; }
    QComboBox *domainCombo() const { return m_cboDomain; }
    QTabWidget *tabs() const { return m_tabs; }

    bool fillView() override;
    bool validate() override;
    void storeView() override;
    QString duplicateMessage() const override
    {
        return tr("This user template is already defined!");
    }

public slots:
    void slotTabEnableChanged();

private:
    std::unique_ptr<UserDlgTemp> m_fields;
    QLineEdit *m_edName;
    QComboBox *m_cboDomain;
    QTabWidget *m_tabs;
    int m_filledDomain = -1;
};

// A row of the templates list: name, description and domain.
class TemplateItem : public BRowTextItem
{
public:
    TemplateItem(BListView *view, DBRow *row);
    QString cellText(int column) const override;
};

// The "User Templates" section: the user templates ("Template") the user
// wizard offers.
class TemplateWnd : public BFormList<>
{
public:
    explicit TemplateWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool editRow(DBRow *row) override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("TemplateWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

private:
    DBTable m_table;
    DBTable m_domains;
    DBTransTab m_trans;
    std::vector<std::unique_ptr<DBTable>> m_contextTables;
};

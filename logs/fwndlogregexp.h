#pragma once

#include "db/dbtable.h"
#include "forms/bformlistorder.h"
#include "logs/flogrules.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;

// The ordered list of highlighting rules: checkable rows (Enabled) with
// their description and condition, moved with Up and Down.
class FWndLogRegExp : public BFormListOrder<>
{
    Q_OBJECT

public:
    explicit FWndLogRegExp(DBTable *table, QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return m_table; }
    QString orderColumn() const override { return QStringLiteral("Order"); }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    void itemChecked(BCheckListItem *item) override;
    bool duplicateRow(DBRow *source, DBRow *copy) override;
    void load(bool first) override;
    bool save() override { return true; } // the dialog saves the table
    void discard() override { }
    void registerChanges() override { }

private:
    DBTable *m_table;
    bool m_adding = false; // between initNewRow and editRow of Add
};

// "Highlighting": the shared rules of every log, saved when accepted.
class FDlgLogRegExp : public QDialog
{
    Q_OBJECT

public:
    explicit FDlgLogRegExp(DBTable *table, QWidget *parent = nullptr);
    FWndLogRegExp *list() const { return m_list; }

private:
    FWndLogRegExp *m_list;
};

// "Add Highlighting" / "Edit Highlighting": one rule.
class FDlgLogRegExpEdit : public QDialog
{
    Q_OBJECT

public:
    static const QStringList &colours();

    FDlgLogRegExpEdit(DBRow *row, bool isNew, QWidget *parent = nullptr);

    QLineEdit *descriptionEdit() const { return m_edDescription; }
    QLineEdit *conditionEdit() const { return m_edCondition; }
    QCheckBox *regExpCheck() const { return m_chkRegExp; }
    QComboBox *colourCombo() const { return m_cboColor; }

public slots:
    void accept() override;

private:
    DBRow *m_row;
    QLineEdit *m_edDescription = nullptr;
    QLineEdit *m_edCondition = nullptr;
    QCheckBox *m_chkRegExp = nullptr;
    QComboBox *m_cboColor = nullptr;
};

// The columns of the "LogHighlighting" table.
QList<DBKol> logHighlightingColumns();
// The rules held by a table's rows.
QList<fwndlog::FLogRule> rulesOfTable(const DBTable &table);

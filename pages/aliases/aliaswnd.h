#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"
#include "pages/aliases/domaincombo.h"

class QPushButton;

// The layout of the Aliases page: the domain, the list, and "Check Address".
class TAliasWnd : public TDomainComboList
{
    Q_OBJECT
public:
    explicit TAliasWnd(QWidget *parent = nullptr);
    QPushButton *checkButton() const { return m_btnCheck; }

public slots:
    virtual void slotCheckAddress() { }

private:
    QPushButton *m_btnCheck;
};

// The aliases of the chosen domain ("Alias" rows of that domain).
class AliasWnd : public BFormList<TAliasWnd>
{
public:
    explicit AliasWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    DBTable *table() override { return &m_table; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;

    void load(bool first) override;
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("AliasWnd"); }
    void applyReadOnly() override;

    QString domain() const { return domainCombo()->domain(); }
    void slotDomainChosen(int index) override;
    void slotCheckAddress() override;

private:
    DBTable m_table;
    DBTransTab m_trans;
    QString m_loadedDomain;
};

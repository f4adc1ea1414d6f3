#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"
#include "forms/bformtab.h"
#include "forms/tbformlist.h"

class QPushButton;

// The layout of the accounts list: the list, Add, Edit, Remove and
// "Download POP3".
class TPop3AccountsWnd : public TBFormList
{
    Q_OBJECT
public:
    explicit TPop3AccountsWnd(QWidget *parent = nullptr);
    QPushButton *downloadButton() const { return m_btnDownload; }

public slots:
    virtual void slotDownloadPop3() { }

private:
    QPushButton *m_btnDownload;
};

// A row of the accounts list; its check box is the account's "Enabled". Its
// texts come from the row whenever the view asks.
class Pop3AccountsItem : public BCheckRowTextItem
{
public:
    Pop3AccountsItem(BListView *view, DBRow *row, bool checkable);
    BSortKey sortKey(int column, const BCol *definition) const override;
    QString cellText(int column) const override;
};

// The remote POP3 mailboxes the server downloads from ("Pop3").
class Pop3AccountsWnd : public BFormList<TPop3AccountsWnd>
{
public:
    explicit Pop3AccountsWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    void itemChecked(BCheckListItem *item) override;
    void selectionChanged() override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("Pop3AccountsWnd"); }
    // Columns without a stored width fit the loaded rows.
    void afterFirstLoad() override { listView()->applyLayout(); }

    void slotDownloadPop3() override;

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// The rules that map the addresses of downloaded messages to local
// accounts ("Sort").
class Pop3RulesWnd : public BFormList<>
{
public:
    explicit Pop3RulesWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    // A row the columns format, with the rules' icon.
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool editRow(DBRow *row) override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("Pop3RulesWnd"); }
    // Columns without a stored width fit the loaded rows.
    void afterFirstLoad() override { listView()->applyLayout(); }

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// The "POP3 Download" section: the accounts and the sorting rules.
class Pop3Wnd : public BFormTab<>
{
public:
    explicit Pop3Wnd(QWidget *parent = nullptr);

    Pop3AccountsWnd *accountsPage() const { return m_accounts; }
    Pop3RulesWnd *rulesPage() const { return m_rules; }
    QString name() const override { return QStringLiteral("Pop3Wnd"); }

private:
    Pop3AccountsWnd *m_accounts;
    Pop3RulesWnd *m_rules;
};

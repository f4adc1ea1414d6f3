#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "forms/bformlist.h"
#include "forms/bformtab.h"
#include "forms/tbformlist.h"

class BLineEdit;
class QPushButton;

// The layout of the ETRN servers list: the list, Add, Edit, Remove and
// "Download ETRN".
class TEtrnServersWnd : public TBFormList
{
    Q_OBJECT
public:
    explicit TEtrnServersWnd(QWidget *parent = nullptr);
    QPushButton *downloadButton() const { return m_btnDownload; }

public slots:
    virtual void slotDownloadEtrn() { }

private:
    QPushButton *m_btnDownload;
};

// The servers the console asks for waiting mail with ETRN ("Odmr").
class EtrnServersWnd : public BFormList<TEtrnServersWnd>
{
public:
    explicit EtrnServersWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    // A row the columns format, with the servers' icon.
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    void selectionChanged() override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("EtrnServersWnd"); }
    // Columns without a stored width fit the loaded rows.
    void afterFirstLoad() override { listView()->applyLayout(); }

    void slotDownloadEtrn() override;

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// The layout of the ETRN options: the reply timeout on a dial-up line.
class TEtrnOptionsWnd : public BForm
{
    Q_OBJECT
public:
    explicit TEtrnOptionsWnd(QWidget *parent = nullptr);
    BLineEdit *m_edTimeout;
};

// The ETRN reply timeout ("EtrnTimeout" of the first "Smtp" row).
class EtrnOptionsWnd : public TEtrnOptionsWnd
{
public:
    explicit EtrnOptionsWnd(QWidget *parent = nullptr);

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override;
    void storeView() override;
    bool validate() override;
    unsigned tableCount() const override { return 1; }
    QString name() const override { return QStringLiteral("EtrnOptionsWnd"); }

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// The "ETRN Download" section on servers with dial-up lines: servers and
// options on two tabs.
class EtrnWnd : public BFormTab<>
{
public:
    explicit EtrnWnd(QWidget *parent = nullptr);

    EtrnServersWnd *serversPage() const { return m_servers; }
    EtrnOptionsWnd *optionsPage() const { return m_options; }
    QString name() const override { return QStringLiteral("EtrnWnd"); }

private:
    EtrnServersWnd *m_servers;
    EtrnOptionsWnd *m_options;
};

// The page of the "ETRN Download" section for the connected server: the tabs
// where the server has dial-up lines ("osversion" 0), else the servers alone.
QWidget *createEtrnPage(QWidget *parent);

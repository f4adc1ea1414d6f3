#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"

// The actions the server runs on a schedule ("Scheduler"), with the names of
// the time ranges they may be limited to ("TimeIntervals").
class SchedulingWnd : public BFormList<>
{
public:
    explicit SchedulingWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    // A row the columns format, with the actions' icon.
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    bool editRow(DBRow *row) override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    QString name() const override { return QStringLiteral("SchedulingWnd"); }
    // Columns without a stored width fit the loaded rows.
    void afterFirstLoad() override { listView()->applyLayout(); }

    // The names of the time ranges, each once.
    QStringList timeRangeNames() const;
    // Whether the list has the "RAS" column (servers with dial-up lines).
    bool hasDialColumn() const { return m_withDial; }

private:
    DBTable m_table;
    DBTable m_timeRanges;
    DBTransTab m_trans;
    bool m_withDial;
};

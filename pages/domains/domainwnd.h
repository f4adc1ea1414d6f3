#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bformlist.h"

class DomainItem;

// The "Domains" section: the mail domains of the server with their aliases
// below them ("Domain" rows), and the directory-service bindings the domain
// dialog edits ("DirectoryService" rows). Both are saved together.
class DomainWnd : public BFormList<>
{
public:
    explicit DomainWnd(QWidget *parent = nullptr);

    void defineColumns(BCols &cols) override;
    BListViewItem *createItem(DBRow *row) override;
    DBTable *table() override { return &m_table; }
    DBTable *directoryTable() { return &m_directory; }
    bool initNewRow(DBRow *row) override;
    bool editRow(DBRow *row) override;
    void updateItems(const QList<BListViewItem *> &items) override;
    bool fillView() override;
    void restoreSelection() override;
    void add() override;
    void edit() override;
    void remove() override;

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }
    unsigned tableCount() const override { return 2; }
    QString name() const override { return QStringLiteral("DomainWnd"); }
    void afterFirstLoad() override { listView()->applyLayout(); }

    // The alias rows that stand for the domain (compared ignoring case).
    static QList<DBRow *> aliasRows(const DBTable &table, const QString &domain);
    // The name the server holds for the row; empty for a row not stored yet.
    static QString storedName(const DBTable &table, const DBRow *row);
    // The list item of a row, or null.
    DomainItem *itemOf(const DBRow *row) const;

protected:
private:
    // Builds the list again from the table and selects the item of row.
    void rebuild(const DBRow *select);
    // Whether the domain may go: no alias row outside the removal names it
    // and no table on the server does.
    bool mayRemoveDomain(DBRow *row, const QList<DBRow *> &removing);

    DBTable m_table;
    DBTable m_directory;
    DBTransTab m_trans;
};

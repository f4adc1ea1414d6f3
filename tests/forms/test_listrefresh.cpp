// A status page refreshing while the administrator works in it: between the
// moment the connection's thread replaces the table's rows and the moment the
// page fills again, no list item may still point at a freed row. Meant to run
// under AddressSanitizer, which turns any such access into a failure.
#include "forms/bformlist.h"
#include "forms/statusformlist.h"

#include "db/dbreq.h"
#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "support/testserver.h"

#include <QDeadlineTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

namespace {

class AliasStatus : public StatusFormList<>
{
public:
    explicit AliasStatus(DBConn *conn)
        : StatusFormList<>(QStringLiteral("AliasStatusWnd"))
        , m_table(conn, "Alias",
                  {DBKol(1, "Lhs", true), DBKol(1, "Domain", true), DBKol(1, "Rhs", true)})
        , m_trans(conn)
    {
        m_trans.addTable(&m_table);
    }

    void defineColumns(BCols &cols) override
    {
        cols.setRegistration({QStringLiteral("aliasstatus"), 1});
        cols.addColumn("Alias", "Lhs");
        cols.addColumn("Target", "Rhs");
    }
    BListViewItem *createItem(DBRow *row) override
    {
        return new BListViewItem(listView(), row, {row->text("Lhs"), row->text("Rhs")});
    }
    DBTable *table() override { return &m_table; }
    void load(bool first) override { loadTables(&m_trans, first); }

    // What a page shows about the selected rows (a details line).
    void selectionChanged() override
    {
        StatusFormList<>::selectionChanged();
        details.clear();
        for (BListViewItem *item : listView()->selectedItemsInOrder()) {
            if (BBaseListItem *base = baseListItem(item); base && base->row())
                details << base->row()->text("Rhs");
        }
    }
    bool editItems(const QList<BListViewItem *> &items) override
    {
        for (BListViewItem *item : items)
            details << baseListItem(item)->row()->text("Lhs");
        return false;
    }

    DBTable m_table;
    DBTransTab m_trans;
    QStringList details;
};

// An edit page over the same table.
class AliasPage : public BFormList<>
{
public:
    explicit AliasPage(DBConn *conn)
        : m_table(conn, "Alias",
                  {DBKol(1, "Lhs", true), DBKol(1, "Domain", true), DBKol(1, "Rhs", true)})
        , m_trans(conn)
    {
        m_trans.addTable(&m_table);
    }

    void defineColumns(BCols &cols) override
    {
        cols.setRegistration({QStringLiteral("aliaspage"), 1});
        cols.addColumn("Alias", "Lhs");
        cols.setCell(0, [](const DBRow &row) { return row.text("Lhs"); });
        cols.addColumn("Target", "Rhs");
        cols.setCell(1, [](const DBRow &row) { return row.text("Rhs"); });
    }
    DBTable *table() override { return &m_table; }
    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override { registerTables(&m_trans); }

    DBTable m_table;
    DBTransTab m_trans;
};

QString keyOf(const BListViewItem *item)
{
    const DBRow *row = item ? baseListItem(const_cast<BListViewItem *>(item))->row() : nullptr;
    return row ? row->text("Lhs") + '@' + row->text("Domain") + '>' + row->text("Rhs") : QString();
}

QStringList selectedKeys(const BListView *list)
{
    QStringList keys;
    for (const BListViewItem *item : list->selectedItemsInOrder())
        keys << keyOf(item);
    return keys;
}

} // namespace

class TestListRefresh : public QObject
{
    Q_OBJECT

    postdesk::test::TestServer m_server;
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        UtKontainer::clear();
        UtKontainer::setStoreFile(m_dir.filePath(QStringLiteral("refresh.ini")));
        UtKontainer::openGroup("/Postvane");
        QVERIFY(m_server.connectAs());
    }
    void cleanupTestCase() { UtKontainer::clear(); }

    void itemsLetGoOfRowsBeforeTheSelectReplacesThem()
    {
        AliasStatus page(m_server.conn());
        page.show();
        page.refresh();
        QTRY_VERIFY_WITH_TIMEOUT(!page.isBusy(), 30000);
        BListView *list = page.listView();
        const int shown = list->topLevelItemCount();
        QVERIFY(shown > 0);
        QCOMPARE(shown, page.m_table.rowCount());

        // Set on the connection's thread once the select has replaced the rows.
        std::atomic<bool> replaced{false};
        connect(
                &page.m_table, &DBTable::signalSelectIsFinished, &page.m_table,
                [&replaced] { replaced = true; }, Qt::DirectConnection);

        for (int round = 0; round < 5; ++round) {
            replaced = false;
            page.refresh();
            QVERIFY(page.isBusy());
            // Hold the user-interface thread (no events) until the old rows are
            // gone, so the clicks below land in exactly that window.
            const QDeadlineTimer deadline(30000);
            while (!replaced && !deadline.hasExpired())
                std::this_thread::yield();
            QVERIFY(replaced);

            // The administrator clicks: selects everything, double-clicks a row,
            // sorts by a column, asks for the context menu.
            list->selectAll();
            emit list->itemDoubleClicked(list->topLevelItem(0), 0);
            page.edit();
            list->sortByColumn(1, round % 2 ? Qt::AscendingOrder : Qt::DescendingOrder);
            QMenu *menu = nullptr;
            emit list->signalShowMenu(list->currentItem(), menu);
            QCOMPARE(list->topLevelItemCount(), shown); // the texts stay on screen
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                QVERIFY(!baseListItem(list->topLevelItem(i))->row());
            QVERIFY(page.details.isEmpty());

            QTRY_VERIFY_WITH_TIMEOUT(!page.isBusy(), 30000);
            QCOMPARE(list->topLevelItemCount(), page.m_table.rowCount());
            for (int i = 0; i < list->topLevelItemCount(); ++i) {
                DBRow *row = baseListItem(list->topLevelItem(i))->row();
                QVERIFY(row);
                QVERIFY(page.m_table.indexOfRow(row) >= 0);
                QCOMPARE(list->topLevelItem(i)->text(0), row->text("Lhs"));
            }
            list->selectAll();
            QCOMPARE(page.details.size(), shown);
        }
    }

    // A reload fills the list anew: the administrator stays on the rows
    // chosen, found by their keys; a row that is gone leaves nothing chosen
    // in its place. Reset starts again at the first row.
    void editPagesKeepTheirPlaceByKey()
    {
        AliasPage page(m_server.conn());
        page.resize(500, 120); // fewer rows on screen than in the list
        page.show();
        page.load(true);
        QTRY_VERIFY_WITH_TIMEOUT(page.isInitialised() && page.isEnabled(), 30000);
        BListView *list = page.listView();
        QVERIFY2(list->topLevelItemCount() >= 4, "the test server lists a few aliases");
        BListViewItem *chosen = list->topLevelItem(list->topLevelItemCount() - 2);
        list->setCurrentItem(chosen);
        list->topLevelItem(1)->setSelected(true);
        const QString current = keyOf(chosen);
        const QStringList selected = selectedKeys(list);
        QCOMPARE(selected.size(), 2);
        list->scrollToItem(chosen, QAbstractItemView::PositionAtTop);
        const int scrolled = list->verticalScrollBar()->value();

        page.load(false);
        QTRY_VERIFY_WITH_TIMEOUT(!page.itemsDetached() && page.isEnabled(), 30000);
        QCOMPARE(keyOf(list->currentItem()), current);
        QCOMPARE(selectedKeys(list), selected);
        QCOMPARE(list->verticalScrollBar()->value(), scrolled);

        page.reset();
        QCOMPARE(list->currentItem(), list->topLevelItem(0));
        QCOMPARE(selectedKeys(list), QStringList{keyOf(list->topLevelItem(0))});
        list->setCurrentItem(list->topLevelItem(list->topLevelItemCount() - 2));
        list->topLevelItem(1)->setSelected(true);

        // The current row is removed elsewhere; the next reload chooses none.
        const DBRow *row = baseListItem(list->currentItem())->row();
        DBReq removal(QStringLiteral("delete from Alias") + page.m_table.keyCondition(*row));
        QVERIFY(m_server.conn()->execSync(&removal));
        page.load(false);
        QTRY_VERIFY_WITH_TIMEOUT(!page.itemsDetached() && page.isEnabled(), 30000);
        QVERIFY(!list->currentItem());
        QStringList remaining = selected;
        remaining.removeAll(current);
        QCOMPARE(selectedKeys(list), remaining);
    }
};

QTEST_MAIN(TestListRefresh)
#include "test_listrefresh.moc"

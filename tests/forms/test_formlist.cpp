// List pages: add, edit and remove over the development server's aliases;
// ordered lists; status lists with their auto-refresh choice.
#include "forms/bformlist.h"
#include "forms/bformlistorder.h"
#include "forms/statusformlist.h"

#include "db/dbctrl.h"
#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/testserver.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using postdesk::test::TestServer;

namespace {

QList<DBKol> aliasColumns()
{
    return {DBKol(1, "Lhs", true), DBKol(1, "Domain", true), DBKol(1, "Rhs", true),
            DBKol(1, "Description")};
}

class AliasItem : public BListViewItem
{
public:
    AliasItem(BListView *view, DBRow *row)
        : BListViewItem(view, row)
    {
        refresh();
    }
    void refresh()
    {
        setText(0, row()->text("Lhs"));
        setText(1, row()->text("Rhs"));
    }
};

// The aliases of example.com; dialogs are replaced by answers the test sets.
class AliasList : public BFormList<>
{
public:
    explicit AliasList(DBConn *conn)
        : m_table(conn, "Alias", aliasColumns(), DBTable::Options{.filter = "Domain='example.com'"})
        , m_trans(conn)
    {
        m_trans.addTable(&m_table);
    }

    void defineColumns(BCols &cols) override
    {
        cols.setRegistration({QStringLiteral("aliases"), 3});
        cols.addColumn("Alias", "Lhs");
        cols.addColumn("Target", "Rhs");
    }
    BListViewItem *createItem(DBRow *row) override { return new AliasItem(listView(), row); }
    DBTable *table() override { return &m_table; }
    bool editRow(DBRow *row) override
    {
        ++dialogs;
        if (!dialogAccepts)
            return false;
        row->setText("Lhs", "newalias");
        row->setText("Domain", "example.com");
        row->setText("Rhs", "new@example.com");
        return true;
    }
    bool acceptRow(DBRow *, bool isNew) override
    {
        acceptedNew |= isNew;
        return rowsAccepted;
    }
    bool editItems(const QList<BListViewItem *> &items) override
    {
        editedCounts << int(items.size());
        for (BListViewItem *item : items)
            baseListItem(item)->row()->setText("Description", "edited");
        return true;
    }
    bool canRemove(DBRow *row) override { return row->text("Lhs") != QLatin1String("team"); }

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void registerChanges() override
    {
        ++registrations;
        registerTables(&m_trans);
    }

    QStringList aliasesShown() const
    {
        QStringList names;
        for (int i = 0; i < listView()->topLevelItemCount(); ++i)
            names << listView()->topLevelItem(i)->text(0);
        names.sort();
        return names;
    }

    DBTable m_table;
    DBTransTab m_trans;
    int dialogs = 0;
    int registrations = 0;
    bool dialogAccepts = true;
    bool rowsAccepted = true;
    bool acceptedNew = false;
    QList<int> editedCounts;
};

const QStringList seededAliases{"info", "info", "learn-spam", "shared", "team"};

// Filter rules with an order, in a table of their own (no server needed).
class RuleList : public BFormListOrder<>
{
public:
    RuleList()
        : m_table(nullptr, "Rules", {DBKol(2, "Id", true), DBKol(2, "Ord"), DBKol(1, "Name")})
    {
        const char *names[] = {"first", "second", "third"};
        for (int i = 0; i < 3; ++i) {
            DBRow *row = m_table.addRow();
            row->setNumber("Id", i + 1);
            row->setNumber("Ord", (i + 1) * 10);
            row->setText("Name", names[i]);
        }
    }
    void defineColumns(BCols &cols) override
    {
        cols.setRegistration({QStringLiteral("rules"), 1});
        cols.addColumn("Name", "Name");
    }
    BListViewItem *createItem(DBRow *row) override
    {
        auto *item = new BOrderListItem(listView(), row, row->text("Ord").toInt());
        item->setText(0, row->text("Name"));
        return item;
    }
    DBTable *table() override { return &m_table; }
    QString orderColumn() const override { return QStringLiteral("Ord"); }
    void load(bool) override { objectSlot()->slotDataLoaded(); }
    bool save() override { return true; }
    void registerChanges() override { ++registrations; }

    QStringList namesShown() const
    {
        QStringList names;
        for (int i = 0; i < listView()->topLevelItemCount(); ++i)
            names << listView()->topLevelItem(i)->text(0);
        return names;
    }
    void selectOnly(int index)
    {
        listView()->clearSelection();
        listView()->topLevelItem(index)->setSelected(true);
    }

    DBTable m_table;
    int registrations = 0;
};

// A status list whose loads the test completes by hand.
class QueueList : public StatusFormList<>
{
public:
    QueueList()
        : StatusFormList<>(QStringLiteral("QueueWnd"))
        , m_table(nullptr, "Queue", {DBKol(1, "Name")})
    { }
    void defineColumns(BCols &cols) override
    {
        cols.setRegistration({QStringLiteral("mailqueue"), 4});
        cols.addColumn("Name", "Name");
    }
    BListViewItem *createItem(DBRow *row) override { return new BListViewItem(listView(), row); }
    DBTable *table() override { return &m_table; }
    void load(bool first) override
    {
        loads << first;
        setFormEnabled(false);
    }
    void finishLoad() { objectSlot()->slotDataLoaded(); }

    DBTable m_table;
    QList<bool> loads;
};

} // namespace

class TestFormList : public QObject
{
    Q_OBJECT

    TestServer m_server;
    QTemporaryDir m_dir;

    DBCtrl *ctrl() const { return m_server.conn()->transCtrl(); }

    bool loadList(AliasList &list)
    {
        list.load(true);
        return TestServer::waitFor([&] { return list.isEnabled(); });
    }

    void useStore(const QString &name)
    {
        UtKontainer::setStoreFile(m_dir.filePath(name + ".ini"));
        UtKontainer::openGroup("/Postvane");
    }

private slots:
    void cleanupTestCase() { UtKontainer::clear(); }

    void initTestCase()
    {
        UtKontainer::clear();
        QVERIFY(m_server.connectAs());
    }

    void init()
    {
        useStore(QTest::currentTestFunction());
        ctrl()->clearOperations();
    }

    void firstArrivalDefinesTheColumns()
    {
        AliasList list(m_server.conn());
        QVERIFY(loadList(list));
        QCOMPARE(list.listView()->cols().count(), 2);
        QCOMPARE(list.listView()->cols().listName(), QString("aliases"));
        QCOMPARE(list.listView()->headerItem()->text(1), QString("Target"));
        QCOMPARE(list.aliasesShown(), seededAliases);
        QVERIFY(list.listView()->currentItem());
        QCOMPARE(list.registrations, 0);
    }

    void addAcceptedCancelledRefused_data()
    {
        QTest::addColumn<bool>("dialogAccepts");
        QTest::addColumn<bool>("rowAccepted");
        QTest::addColumn<bool>("added");
        QTest::newRow("accepted") << true << true << true;
        QTest::newRow("cancelled") << false << true << false;
        QTest::newRow("refused") << true << false << false;
    }
    void addAcceptedCancelledRefused()
    {
        QFETCH(bool, dialogAccepts);
        QFETCH(bool, rowAccepted);
        QFETCH(bool, added);
        AliasList list(m_server.conn());
        QVERIFY(loadList(list));
        list.dialogAccepts = dialogAccepts;
        list.rowsAccepted = rowAccepted;
        list.add();
        QCOMPARE(list.dialogs, 1);
        QCOMPARE(list.m_table.rowCount(), added ? 6 : 5);
        QCOMPARE(list.listView()->topLevelItemCount(), added ? 6 : 5);
        QCOMPARE(list.registrations, added ? 1 : 0);
        QCOMPARE(ctrl()->operationCount(), added ? 1 : 0);
        if (added) {
            QVERIFY(list.acceptedNew);
            QVERIFY(ctrl()->operations().first().startsWith("insert Alias set Lhs='newalias'"));
            QCOMPARE(list.listView()->currentItem()->text(0), QString("newalias"));
            list.reset();
            QCOMPARE(list.aliasesShown(), seededAliases);
            QCOMPARE(ctrl()->operationCount(), 0);
        }
        QVERIFY(list.m_table.statements().isEmpty());
    }

    void editFollowsTheMultiEditFlag()
    {
        AliasList list(m_server.conn());
        QVERIFY(loadList(list));
        BListView *view = list.listView();
        view->clearSelection();
        view->topLevelItem(0)->setSelected(true);
        QVERIFY(list.editButton()->isEnabled());
        view->topLevelItem(1)->setSelected(true);
        QVERIFY(!list.editButton()->isEnabled());
        QVERIFY(!view->menuAction(BListView::CommandEdit)->isEnabled());
        list.edit(); // refused while Edit is disabled
        QVERIFY(list.editedCounts.isEmpty());

        list.setMultiEdit(true);
        list.selectionChanged();
        QVERIFY(list.editButton()->isEnabled());
        list.command(BListView::CommandEdit);
        QCOMPARE(list.editedCounts, QList<int>{2});
        QCOMPARE(list.registrations, 1);
        QCOMPARE(ctrl()->operationCount(), 2);
        list.reset();
    }

    void removeSkipsRowsThatRefuse()
    {
        AliasList list(m_server.conn());
        QVERIFY(loadList(list));
        list.listView()->selectAll();
        QVERIFY(list.removeButton()->isEnabled());
        list.remove();
        QCOMPARE(list.aliasesShown(), QStringList{"team"});
        QCOMPARE(list.m_table.rowCount(), 1);
        QCOMPARE(list.registrations, 1);
        QCOMPARE(ctrl()->operationCount(), 4);
        for (const QString &statement : ctrl()->operations())
            QVERIFY2(statement.startsWith("delete from Alias where Lhs="), qPrintable(statement));
        list.reset();
        QCOMPARE(list.aliasesShown(), seededAliases);
    }

    void upAndDownExchangeOrders()
    {
        RuleList list;
        list.load(true);
        QCOMPARE(list.namesShown(), (QStringList{"first", "second", "third"}));

        list.selectOnly(0);
        list.up(); // nothing above the first row
        list.selectOnly(2);
        list.down(); // nothing below the last row
        QCOMPARE(list.namesShown(), (QStringList{"first", "second", "third"}));
        QCOMPARE(list.registrations, 0);

        QSignalSpy changes(list.changesObject(),
                           &bformlistwidget::BFormListObject::signalSetChanges);
        list.selectOnly(0);
        list.down();
        QCOMPARE(list.namesShown(), (QStringList{"second", "first", "third"}));
        QCOMPARE(list.registrations, 1);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(list.m_table.row(0)->text("Ord"), QString("20"));
        QCOMPARE(list.m_table.row(1)->text("Ord"), QString("10"));
        QCOMPARE(list.listView()->currentItem()->text(0), QString("first"));

        // Only with exactly one row selected.
        list.listView()->selectAll();
        list.up();
        QCOMPARE(list.registrations, 1);
    }

    void autoRefreshChoiceIsStored()
    {
        {
            QueueList list;
            QCOMPARE(list.autoRefreshKey(), QString("/Autorefresh/QueueWnd"));
            QCOMPARE(list.checkedId(), 53);
            QVERIFY(list.autoRefreshAction(53)->isChecked());
            QVERIFY(!list.refreshTimer()->isActive());
            QVERIFY(list.addButton()->isHidden());

            list.autoRefreshAction(54)->trigger();
            QCOMPARE(list.checkedId(), 54);
            QCOMPARE(list.refreshTimer()->interval(), 5000);
            QVERIFY(list.refreshTimer()->isActive());
            QVERIFY(!list.autoRefreshAction(53)->isChecked());
            QCOMPARE(UtKontainer::getInt("x", 0, "/Autorefresh/QueueWnd"), 54);
        }
        {
            QueueList reopened; // the choice comes back
            QCOMPARE(reopened.checkedId(), 54);
            QVERIFY(reopened.refreshTimer()->isActive());
            reopened.autoRefreshAction(53)->trigger();
            QVERIFY(!reopened.refreshTimer()->isActive());
            QCOMPARE(reopened.interval(), -1);
        }
        QCOMPARE(UtKontainer::getInt("x", 0, "/Autorefresh/QueueWnd"), 53);
    }

    void unknownStoredIdMeansNoRefresh_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("checked");
        QTest::addColumn<int>("interval");
        QTest::newRow("99") << 99 << 53 << -1;
        QTest::newRow("52, the submenu") << 52 << 53 << -1;
        QTest::newRow("58") << 58 << 58 << 60000;
    }
    void unknownStoredIdMeansNoRefresh()
    {
        QFETCH(int, stored);
        QFETCH(int, checked);
        QFETCH(int, interval);
        UtKontainer::setInt("x", stored, "/Autorefresh/QueueWnd");
        QueueList list;
        QCOMPARE(list.checkedId(), checked);
        QCOMPARE(list.interval(), interval);
        QCOMPARE(list.refreshTimer()->isActive(), interval > 0);
        QCOMPARE(UtKontainer::getInt("x", 0, "/Autorefresh/QueueWnd"), checked);
    }

    void viewerSessionChangesNothing()
    {
        QVERIFY(m_server.connectAs(QStringLiteral("viewer")));
        {
            AliasList list(m_server.conn());
            QVERIFY(loadList(list));
            BListView *view = list.listView();
            view->clearSelection();
            view->topLevelItem(0)->setSelected(true);
            QVERIFY(!list.addButton()->isEnabled());
            QVERIFY(!list.removeButton()->isEnabled());
            for (int command : {BListView::CommandAdd, BListView::CommandRemove}) {
                QVERIFY(!view->menuAction(command)->isEnabled());
                list.command(command);
            }
            // A row opens to be read: even a dialog that writes into the row it
            // is given changes nothing of the table.
            QVERIFY(list.editButton()->isEnabled());
            QVERIFY(view->menuAction(BListView::CommandEdit)->isEnabled());
            BListViewItem *opened = view->topLevelItem(0);
            const QString description = opened->row()->text("Description");
            list.command(BListView::CommandEdit);
            QCOMPARE(list.editedCounts, QList<int>{1});
            QCOMPARE(opened->row()->text("Description"), description);
            QCOMPARE(list.aliasesShown(), seededAliases);
            QCOMPARE(list.registrations, 0);

            RuleList rules;
            rules.load(true);
            rules.selectOnly(0);
            rules.down();
            rules.duplicate();
            QCOMPARE(rules.namesShown(), (QStringList{"first", "second", "third"}));
            QCOMPARE(rules.registrations, 0);
        }
        QCOMPARE(ctrl()->operationCount(), 0);
        QVERIFY(m_server.connectAs());
    }

    void refreshNeverOverlapsALoad()
    {
        QueueList list;
        list.autoRefreshAction(55)->trigger();
        list.refresh();
        QVERIFY(list.isBusy());
        QVERIFY(!list.refreshTimer()->isActive());
        QVERIFY(!list.refreshButton()->isEnabled());
        QVERIFY(!list.listView()->menuAction(statusformlist::Refresh)->isEnabled());
        list.refresh();
        list.listView()->menuAction(statusformlist::Refresh)->trigger();
        list.setAutoRefresh(54); // a new choice while loading waits for the load
        QVERIFY(!list.refreshTimer()->isActive());
        QCOMPARE(list.loads, QList<bool>{true});

        list.finishLoad();
        QVERIFY(!list.isBusy());
        QVERIFY(list.refreshButton()->isEnabled());
        QVERIFY(list.refreshTimer()->isActive());
        QCOMPARE(list.refreshTimer()->interval(), 5000);
        list.refreshButton()->click();
        QCOMPARE(list.loads.size(), 2);
    }
};

QTEST_MAIN(TestFormList)
#include "test_formlist.moc"

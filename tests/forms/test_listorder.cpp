// Ordered lists: every move (Up, Down, a dropped row, Duplicate, Remove)
// leaves the order numbers one apart in display order, writes them into the
// rows and registers the change; the moves are reachable from the context
// menu and the keyboard.
#include "forms/bformlistorder.h"

#include "db/dbtable.h"
#include "registry/utkontainer.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RuleList : public BFormListOrder<>
{
public:
    RuleList()
        : m_table(nullptr, "Rules", {DBKol(2, "Id", true), DBKol(2, "Ord"), DBKol(1, "Name")})
    {
        const QStringList names{"a", "b", "c", "d", "e"};
        for (int i = 0; i < names.size(); ++i) {
            DBRow *row = m_table.addRow();
            row->setNumber("Id", i + 1);
            row->setNumber("Ord", i + 1);
            row->setText("Name", names.at(i));
        }
    }
    void defineColumns(BCols &cols) override
    {
        cols.setRegistration({QStringLiteral("rules"), 1});
        cols.addColumn("Name", "Name");
        cols.addColumn("Order", "Ord");
    }
    BListViewItem *createItem(DBRow *row) override
    {
        auto *item = new BOrderListItem(listView(), row, row->text("Ord").toInt());
        refresh(item);
        return item;
    }
    void updateItems(const QList<BListViewItem *> &items) override
    {
        for (BListViewItem *item : items)
            refresh(static_cast<BOrderListItem *>(item));
    }
    DBTable *table() override { return &m_table; }
    QString orderColumn() const override { return QStringLiteral("Ord"); }
    bool duplicateRow(DBRow *source, DBRow *copy) override
    {
        copy->setNumber("Id", ++m_lastId);
        copy->setNumber("Ord", source->text("Ord").toInt());
        copy->setText("Name", source->text("Name") + "2");
        return true;
    }
    void load(bool) override { objectSlot()->slotDataLoaded(); }
    bool save() override { return true; }
    void registerChanges() override { ++registrations; }

    QString namesShown() const
    {
        QString names;
        for (int i = 0; i < listView()->topLevelItemCount(); ++i)
            names += listView()->topLevelItem(i)->text(0) + ' ';
        return names.trimmed();
    }
    BListViewItem *itemNamed(const QString &name) const
    {
        const auto found = listView()->findItems(name, Qt::MatchExactly, 0);
        return found.value(0);
    }
    void selectOnly(const QString &name)
    {
        listView()->clearSelection();
        listView()->setCurrentItem(itemNamed(name));
        itemNamed(name)->setSelected(true);
    }

    DBTable m_table;
    int registrations = 0;
    int m_lastId = 5;

private:
    static void refresh(BOrderListItem *item)
    {
        item->setText(0, item->row()->text("Name"));
        item->setText(1, QString::number(item->order()));
    }
};

} // namespace

class TestListOrder : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init()
    {
        UtKontainer::clear();
        UtKontainer::setStoreFile(
                m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction())));
    }
    void cleanup() { UtKontainer::clear(); }

    void movesKeepTheOrderContiguous_data()
    {
        QTest::addColumn<QStringList>("moves");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("registrations");
        // A move names the row it acts on: "down c", "up a" (nothing: first
        // row), "drop a after c", "drop e after -" (to the top), "dup b",
        // "remove c".
        QTest::newRow("down") << QStringList{"down b"} << "a c b d e" << 1;
        QTest::newRow("up at the top does nothing") << QStringList{"up a"} << "a b c d e" << 0;
        QTest::newRow("down at the bottom does nothing")
                << QStringList{"down e"} << "a b c d e" << 0;
        QTest::newRow("drop lower") << QStringList{"drop a after c"} << "b c a d e" << 1;
        QTest::newRow("drop to the top") << QStringList{"drop e after -"} << "e a b c d" << 1;
        QTest::newRow("drop at its place") << QStringList{"drop c after b"} << "a b c d e" << 0;
        QTest::newRow("drop on itself") << QStringList{"drop c after c"} << "a b c d e" << 0;
        QTest::newRow("duplicate goes below") << QStringList{"dup b"} << "a b b2 c d e" << 1;
        QTest::newRow("duplicate the last") << QStringList{"dup e"} << "a b c d e e2" << 1;
        QTest::newRow("remove closes the gap") << QStringList{"remove c"} << "a b d e" << 1;
        QTest::newRow("a session")
                << QStringList{"dup a",          "drop a2 after e", "remove b", "up a2",
                               "drop d after -", "down d",          "dup c"}
                << "a d c c2 a2 e" << 7;
    }
    void movesKeepTheOrderContiguous()
    {
        QFETCH(QStringList, moves);
        QFETCH(QString, shown);
        QFETCH(int, registrations);
        RuleList list;
        list.load(true);
        QCOMPARE(list.namesShown(), QString("a b c d e"));
        QSignalSpy changes(list.changesObject(),
                           &bformlistwidget::BFormListObject::signalSetChanges);

        for (const QString &move : moves) {
            const QStringList words = move.split(' ');
            list.selectOnly(words.at(1));
            if (words.at(0) == "down")
                list.down();
            else if (words.at(0) == "up")
                list.up();
            else if (words.at(0) == "dup")
                list.duplicate();
            else if (words.at(0) == "remove")
                list.remove();
            else
                list.itemDropped(list.itemNamed(words.at(1)), list.itemNamed(words.at(3)), false);

            // After every move: numbers 1..n in display order, in items and rows.
            BListView *view = list.listView();
            QCOMPARE(view->topLevelItemCount(), list.m_table.rowCount());
            for (int i = 0; i < view->topLevelItemCount(); ++i) {
                auto *item = static_cast<BOrderListItem *>(view->topLevelItem(i));
                QCOMPARE(item->order(), i + 1);
                QCOMPARE(item->row()->text("Ord"), QString::number(i + 1));
                QCOMPARE(item->text(1), QString::number(i + 1));
            }
        }
        QCOMPARE(list.namesShown(), shown);
        QCOMPARE(list.registrations, registrations);
        QCOMPARE(changes.count(),
                 registrations - (moves.contains("remove c") ? 1 : 0)
                         - (moves.contains("remove b") ? 1 : 0));
    }

    void menuAndKeysReachTheMoves()
    {
        RuleList list;
        list.resize(400, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowActive(&list));
        list.load(true);
        BListView *view = list.listView();
        const struct
        {
            int id;
            const char *text;
            QKeySequence keys;
        } entries[] = {{bformlistorder::CommandDuplicate, "&Duplicate", QKeySequence("Ctrl+D")},
                       {bformlistorder::CommandUp, "Move &Up", QKeySequence("Ctrl+Up")},
                       {bformlistorder::CommandDown, "Move &Down", QKeySequence("Ctrl+Down")}};
        for (const auto &entry : entries) {
            QAction *action = view->menuAction(entry.id);
            QVERIFY(action);
            QCOMPARE(action->text(), QString(entry.text));
            QCOMPARE(action->shortcut(), entry.keys);
            QVERIFY(view->contextMenu()->actions().contains(action));
        }

        // Up and Down follow the selection.
        list.selectOnly("a");
        QVERIFY(!view->menuAction(bformlistorder::CommandUp)->isEnabled());
        QVERIFY(view->menuAction(bformlistorder::CommandDown)->isEnabled());
        view->selectAll();
        QVERIFY(!view->menuAction(bformlistorder::CommandDuplicate)->isEnabled());

        list.selectOnly("b");
        view->menuAction(bformlistorder::CommandDown)->trigger();
        QCOMPARE(list.namesShown(), QString("a c b d e"));

        view->setFocus();
        QTRY_VERIFY(view->hasFocus());
        QVERIFY(view->menuAction(bformlistorder::CommandUp)->isEnabled());
        QTest::keyClick(view, Qt::Key_Up, Qt::ControlModifier);
        QCOMPARE(list.namesShown(), QString("a b c d e"));
        QCOMPARE(view->selectedItems(), QList<BListViewItem *>{list.itemNamed("b")});
        QTest::keyClick(view, Qt::Key_D, Qt::ControlModifier);
        QCOMPARE(list.namesShown(), QString("a b b2 c d e"));
        QCOMPARE(view->currentItem()->text(0), QString("b2"));
        QCOMPARE(list.registrations, 3);
    }

    void dropPositionNamesTheRowAbove()
    {
        RuleList list;
        list.resize(400, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.load(true);
        BListView *view = list.listView();
        QVERIFY(view->dragEnabled());
        QCOMPARE(view->dragDropMode(), QAbstractItemView::InternalMove);
        const QRect first = view->visualItemRect(view->topLevelItem(0));
        const QRect third = view->visualItemRect(view->topLevelItem(2));
        QCOMPARE(view->dropAfter(QPoint(5, first.top() + 1)), nullptr);
        QCOMPARE(view->dropAfter(QPoint(5, third.top() + 1)), view->topLevelItem(1));
        QCOMPARE(view->dropAfter(QPoint(5, third.bottom() - 1)), view->topLevelItem(2));
        QCOMPARE(view->dropAfter(QPoint(5, view->viewport()->height() - 2)), view->topLevelItem(4));
    }
};

QTEST_MAIN(TestListOrder)
#include "test_listorder.moc"

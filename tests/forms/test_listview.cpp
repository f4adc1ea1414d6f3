#include "forms/bdlgcolumns.h"
#include "forms/blistitems.h"
#include "forms/blistview.h"

#include "modalanswerer.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAccessible>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Three columns: Name (always visible), Size (right aligned, numbers), Note.
BCols sampleCols(int version = 3)
{
    BCols cols("sample", version);
    cols.addColumn("Name", "Name", BCol::Visible | BCol::AlwaysVisible, 120);
    cols.addColumn("Size", "Size", BCol::Visible | BCol::AlignRight, 80);
    cols.addColumn("Note", "Note", BCol::Visible, -1);
    return cols;
}

// Compares the Size column by value, the rest by text.
class SizeItem : public BListViewItem
{
public:
    SizeItem(BListView *view, const QString &name, qint64 size, const QString &note)
        : BListViewItem(view)
        , m_size(size)
    {
        setText(0, name);
        setText(1, QString::number(size));
        setText(2, note);
    }
    BSortKey sortKey(int column, const BCol *definition) const override
    {
        if (definition && definition->name == QLatin1String("Size"))
            return BSortKey::fromNumber(m_size);
        return BListViewItem::sortKey(column, definition);
    }

private:
    qint64 m_size;
};

QStringList columnTexts(const BListView &view, int column)
{
    QStringList texts;
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        texts << view.topLevelItem(i)->text(column);
    return texts;
}

} // namespace

class TestListView : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init()
    {
        UtKontainer::clear();
        UtKontainer::setStoreFile(
                m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction())));
        UtKontainer::openGroup("/Postvane");
        UtKontainer::setText(UtKey::Caption, "Console");
    }
    void cleanup() { UtKontainer::clear(); }

    void storedLayoutIsCheckedBeforeUse_data()
    {
        QTest::addColumn<int>("ver");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("cols");
        QTest::addColumn<bool>("applied");
        QTest::newRow("good") << 3 << 3 << "2,1,150;0,1,60;1,0,90" << true;
        QTest::newRow("no count entry") << 3 << -1 << "2,1,150;0,1,60;1,0,90" << true;
        QTest::newRow("other version") << 2 << 3 << "2,1,150;0,1,60;1,0,90" << false;
        QTest::newRow("one entry too few") << 3 << 3 << "2,1,150;0,1,60" << false;
        QTest::newRow("count differs") << 3 << 4 << "2,1,150;0,1,60;1,0,90" << false;
        QTest::newRow("empty") << 3 << 3 << "" << false;
        QTest::newRow("position twice") << 3 << 3 << "0,1,150;0,1,60;1,0,90" << false;
        QTest::newRow("position outside") << 3 << 3 << "7,1,150;0,1,60;1,0,90" << false;
        QTest::newRow("not a number") << 3 << 3 << "x,1,150;0,1,60;1,0,90" << false;
        QTest::newRow("missing field") << 3 << 3 << "2,1;0,1,60;1,0,90" << false;
    }
    void storedLayoutIsCheckedBeforeUse()
    {
        QFETCH(int, ver);
        QFETCH(int, count);
        QFETCH(QString, cols);
        QFETCH(bool, applied);
        UtKontainer::setInt("v", ver, "/Columns/sample/ver");
        if (count >= 0)
            UtKontainer::setInt("c", count, "/Columns/sample/count");
        UtKontainer::setText("l", cols, "/Columns/sample/cols");

        BCols loaded = sampleCols();
        QCOMPARE(loaded.loadLayout(), applied);
        if (applied) {
            QCOMPARE(loaded.columnAtPosition(0), 1);
            QCOMPARE(loaded.columnAtPosition(1), 2);
            QCOMPARE(loaded.columnAtPosition(2), 0);
            QCOMPARE(loaded.column(0).width, 150);
            QVERIFY(!loaded.column(2).isVisible());
            QVERIFY(loaded.column(2).flags & BCol::Hidden);
        } else {
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(loaded.columnAtPosition(i), i);
                QVERIFY(loaded.column(i).isVisible());
                QCOMPARE(loaded.column(i).width, loaded.defaultColumn(i).width);
            }
        }
    }

    void layoutSurvivesARestart()
    {
        {
            BListView view;
            view.setCols(sampleCols());
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            view.header()->resizeSection(1, 133);
            view.header()->moveSection(2, 0); // Note to the front
            view.sortByColumn(1, Qt::DescendingOrder);
        }
        QCOMPARE(UtKontainer::getText("x", {}, "/Columns/sample/cols"), "1,1,120;2,1,133;0,1,-1");
        QCOMPARE(UtKontainer::getText("x", {}, "/Columns/sample/sort"), "1;1");
        QCOMPARE(UtKontainer::getInt("x", 0, "/Columns/sample/ver"), 3);
        QCOMPARE(UtKontainer::getInt("x", 0, "/Columns/sample/count"), 3);

        BListView again;
        again.setCols(sampleCols());
        QCOMPARE(again.header()->sectionSize(1), 133);
        QCOMPARE(again.header()->visualIndex(2), 0);
        QCOMPARE(again.header()->sortIndicatorSection(), 1);
        QCOMPARE(again.header()->sortIndicatorOrder(), Qt::DescendingOrder);

        // Double-clicking the handle brings back the defined width.
        again.slotSizeChangedDefault(1);
        QCOMPARE(again.header()->sectionSize(1), 80);
        QCOMPARE(again.cols().column(1).width, 80);
        QCOMPARE(UtKontainer::getText("x", {}, "/Columns/sample/cols"), "1,1,120;2,1,80;0,1,-1");
    }

    void versionChangeDropsTheStoredLayout()
    {
        {
            BListView view;
            view.setCols(sampleCols(3));
            view.header()->resizeSection(0, 222);
        }
        BListView newer;
        newer.setCols(sampleCols(4));
        QCOMPARE(newer.header()->sectionSize(0), 120);
    }

    void sortingFollowsTheColumnDefinition()
    {
        BListView view;
        BCols cols = sampleCols();
        view.setCols(cols);
        new SizeItem(&view, "b", 100, "z");
        new SizeItem(&view, "a", 9, "y");
        new SizeItem(&view, "c", 20, "x");
        view.header()->moveSection(view.header()->visualIndex(1), 2); // Size shown last

        // Clicking the last section sorts by Size, numerically.
        const int section = view.cols().columnAtPosition(2);
        QCOMPARE(section, 1);
        view.sortByColumn(section, Qt::AscendingOrder);
        QCOMPARE(columnTexts(view, 1), (QStringList{"9", "20", "100"}));
        view.sortByColumn(section, Qt::DescendingOrder);
        QCOMPARE(columnTexts(view, 1), (QStringList{"100", "20", "9"}));
        QCOMPARE(view.cols().sortColumn(), 1);
        QCOMPARE(view.cols().sortOrder(), 1);
        // Other columns compare as text.
        view.sortByColumn(2, Qt::AscendingOrder);
        QCOMPARE(columnTexts(view, 2), (QStringList{"x", "y", "z"}));
    }

    void refillSortsOnce()
    {
        BListView view;
        view.setCols(sampleCols());
        view.sortByColumn(0, Qt::AscendingOrder);
        {
            BListUpdater updater(&view);
            QVERIFY(!view.isSortingEnabled());
            for (const char *name : {"m", "c", "x", "a"})
                new SizeItem(&view, name, 1, "");
        }
        QVERIFY(view.isSortingEnabled());
        QCOMPARE(columnTexts(view, 0), (QStringList{"a", "c", "m", "x"}));
    }

    void contextMenuBecomesCommands()
    {
        BListView view;
        view.setCols(sampleCols());
        QSignalSpy commands(&view, &BListView::signalCommand);
        for (int id : {1, 2, 3})
            view.menuAction(id)->trigger();
        QCOMPARE(commands.count(), 3);
        QCOMPARE(commands.at(2).at(0).toInt(), 3);
        QCOMPARE(view.menuAction(4)->text(), QString("&Modify Columns..."));

        QSignalSpy menus(&view, &BListView::signalShowMenu);
        view.slotContextMenuRequested(nullptr, QPoint(10, 10), 0);
        QCOMPARE(menus.count(), 1);
        view.contextMenu()->hide();
    }

    void columnsDialogRefusesNothingChecked()
    {
        BDlgColumns dialog(sampleCols());
        QTreeWidget *list = dialog.columnList();
        QCOMPARE(list->topLevelItemCount(), 3);
        for (int i = 0; i < 3; ++i)
            list->topLevelItem(i)->setCheckState(0, Qt::Unchecked);
        dialog.show();
        ModalAnswerer answerer;
        dialog.accept();
        QCOMPARE(answerer.texts, QStringList{BDlgColumns::nothingCheckedText()});
        QCOMPARE(answerer.captions, QStringList{"Console"});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
    }

    void columnsDialogEditsACopy()
    {
        BCols cols = sampleCols();
        BDlgColumns dialog(cols);
        QTreeWidget *list = dialog.columnList();
        // Uncheck the always-visible Name and the Size column; move Note up.
        list->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
        list->topLevelItem(1)->setCheckState(0, Qt::Unchecked);
        list->setCurrentItem(list->topLevelItem(2));
        dialog.slotUp();
        QCOMPARE(list->topLevelItem(1)->text(0), QString("Note"));
        list->setCurrentItem(list->topLevelItem(0));
        dialog.slotSelectionChanged();
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.cols().column(0).isVisible()); // always visible stays
        QVERIFY(!dialog.cols().column(1).isVisible());
        QCOMPARE(dialog.cols().columnAtPosition(1), 2);
        QVERIFY(cols.column(1).isVisible()); // the original is untouched

        // Default brings back positions and visibility.
        BDlgColumns again(dialog.cols());
        again.slotDefault();
        again.accept();
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(again.cols().columnAtPosition(i), i);
            QVERIFY(again.cols().column(i).isVisible());
        }
    }

    void columnsDialogResultReachesTheList()
    {
        BListView view;
        view.setCols(sampleCols());
        QSignalSpy refill(&view, &BListView::signalBListUpdateNeeded);
        ModalAnswerer answerer;
        answerer.setDialogHandler([](QDialog *dialog) {
            auto *columns = qobject_cast<BDlgColumns *>(dialog);
            QVERIFY(columns);
            columns->columnList()->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
            QTimer::singleShot(0, columns, &BDlgColumns::accept);
        });
        view.slotCols();
        QVERIFY(view.header()->isSectionHidden(2));
        QCOMPARE(refill.count(), 1);
        QCOMPARE(UtKontainer::getText("x", {}, "/Columns/sample/cols")
                         .section(';', 2, 2)
                         .section(',', 1, 1),
                 QString("0"));
    }

    void checkChangesAreReported()
    {
        BListView view;
        view.setCols(sampleCols());
        auto *item = new BCheckListItem(&view);
        QSignalSpy checked(&view, &BListView::signalItemChecked);
        item->setOn(true);
        item->setText(1, "text changes are no check changes");
        item->setOn(true);
        QCOMPARE(checked.count(), 1);
        QVERIFY(item->isOn());
    }

    // A screen reader reads the list as a table: headers, rows, cells and
    // what is selected, including rows formatted only when asked.
    void screenReadersReadTheTable()
    {
        BListView view;
        view.setAccessibleName("Sizes");
        view.setCols(sampleCols());
        view.resize(400, 200);
        new SizeItem(&view, "beta", 20, "second");
        new SizeItem(&view, "alpha", 100, "first");
        view.sortByColumn(0, Qt::AscendingOrder);
        view.setCurrentItem(view.topLevelItem(1));
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        QAccessibleInterface *list = QAccessible::queryAccessibleInterface(&view);
        QVERIFY(list);
        QCOMPARE(list->text(QAccessible::Name), QString("Sizes"));
        QAccessibleTableInterface *table = list->tableInterface();
        QVERIFY(table);
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->columnCount(), 3);
        QCOMPARE(table->columnDescription(1), QString("Size"));
        QAccessibleInterface *cell = table->cellAt(0, 1);
        QVERIFY(cell);
        QCOMPARE(cell->text(QAccessible::Name), QString("100"));
        QCOMPARE(table->cellAt(1, 0)->text(QAccessible::Name), QString("beta"));
        QCOMPARE(table->selectedRowCount(), 1);
        QCOMPARE(table->selectedRows(), QList<int>{1});
        // A hidden row is not read.
        view.topLevelItem(0)->setHidden(true);
        view.ensureSorted();
        QCOMPARE(table->rowCount(), 1);
        QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QString("beta"));
    }

    // A column without a stored width fits its rows, the children of rows
    // opened just before the layout is applied included.
    void columnsFitRowsOpenedBeforeTheLayout()
    {
        BListView view;
        BCols cols("tree", 1);
        cols.addColumn("Item", "Item", BCol::Visible | BCol::AlwaysVisible, -1);
        cols.addColumn("Note", "Note", BCol::Visible, 60);
        view.setCols(cols);
        view.resize(600, 300);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        auto *group = new BListViewItem(&view, QStringList{"G"});
        const QString entry = QStringLiteral("an entry much longer than its group's name");
        new BListViewItem(group, QStringList{entry});
        group->setExpanded(true);
        view.applyLayout();
        QVERIFY2(view.header()->sectionSize(0) > view.fontMetrics().horizontalAdvance(entry),
                 "the entry is readable");
    }

    // Rows made during a fill share large allocations; each still lives and
    // goes on its own: deleted one by one, moved to another list, or kept
    // after the list that made them is gone (the sanitizer build reports
    // any row used after it was freed).
    void rowsOfAFillLiveAndGoOneByOne()
    {
        constexpr int Rows = 60000; // several shared allocations, some mapped
        auto view = std::make_unique<BListView>();
        view->setCols(sampleCols());
        view->setSortingEnabled(false); // rows stay where they were made
        {
            BListUpdater updater(view.get());
            for (int i = 0; i < Rows; ++i)
                new SizeItem(view.get(), QStringLiteral("row%1").arg(i), i, "");
        }
        auto *late = new SizeItem(view.get(), "late", -1, ""); // after the fill
        QList<BListViewItem *> gone;
        for (int i = 0; i < Rows; i += 3)
            gone << view->topLevelItem(i);
        view->deleteItems(gone);
        QCOMPARE(view->topLevelItemCount(), Rows - int(gone.size()) + 1);
        BListView other;
        other.setCols(sampleCols());
        BListViewItem *moved = view->invisibleRootItem()->takeChild(0);
        QCOMPARE(moved->text(0), QStringLiteral("row1"));
        other.adoptItem(moved);
        const int lateIndex = view->invisibleRootItem()->indexOfChild(late);
        delete view->invisibleRootItem()->takeChild(lateIndex);
        view.reset(); // the rest go with their list
        QCOMPARE(other.topLevelItemCount(), 1);
        QCOMPARE(other.topLevelItem(0)->text(0), QStringLiteral("row1"));
        QCOMPARE(other.topLevelItem(0)->text(1), QStringLiteral("1"));
    }
};

QTEST_MAIN(TestListView)
#include "test_listview.moc"

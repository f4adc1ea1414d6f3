// Sorting on keys taken once per row, and the CSV export of a list.
#include "forms/bcsvwriter.h"
#include "forms/blistitems.h"
#include "forms/blistview.h"

#include "modalanswerer.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QBuffer>
#include <QFileDialog>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {

BCols threeCols()
{
    BCols cols("sorting", 1);
    cols.addColumn("Name", "Name", BCol::Visible, 100);
    cols.addColumn("Size", "Size", BCol::Visible | BCol::AlignRight, 60);
    cols.addColumn("Note", "Note", BCol::Visible, 100);
    return cols;
}

// Size sorts by value when the text is a number; other texts sort as texts.
class Row : public BListViewItem
{
public:
    Row(BListView *view, const QStringList &texts)
        : BListViewItem(view, nullptr, texts)
    { }
    BSortKey sortKey(int column, const BCol *definition) const override
    {
        bool number = false;
        const qint64 value = text(column).toLongLong(&number);
        if (definition && definition->name == QLatin1String("Size") && number)
            return BSortKey::fromNumber(value);
        return BListViewItem::sortKey(column, definition);
    }
};

QStringList columnTexts(const BListView &view, int column)
{
    QStringList texts;
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        texts << view.topLevelItem(i)->text(column);
    return texts;
}

QString randomText(QRandomGenerator &random, bool wide)
{
    static const QString pool = QStringLiteral("aAbB-_.@ 0199zZ\u00e9\u00ff");
    static const QString widePool = QStringLiteral("\u0416\u4e2d\u00e9a\u0100");
    QString text = QStringLiteral("prefix-shared-by-many-");
    text.truncate(random.bounded(24)); // long common starts, and short ones
    const int length = random.bounded(6);
    for (int i = 0; i < length; ++i) {
        const QString &from = wide && random.bounded(3) == 0 ? widePool : pool;
        text += from.at(random.bounded(from.size()));
    }
    return text;
}

} // namespace

class TestListSort : public QObject
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

    // The packed keys must give exactly QString::compare's order (stable for
    // equal texts), whatever the texts look like.
    void fillOrderMatchesTextComparison_data()
    {
        QTest::addColumn<bool>("wide");
        QTest::addColumn<int>("order");
        QTest::addColumn<bool>("inRuns"); // arriving as a few ordered runs
        for (const bool inRuns : {false, true}) {
            const char *shape = inRuns ? ", in runs" : "";
            QTest::addRow("latin, ascending%s", shape)
                    << false << int(Qt::AscendingOrder) << inRuns;
            QTest::addRow("latin, descending%s", shape)
                    << false << int(Qt::DescendingOrder) << inRuns;
            QTest::addRow("wide, ascending%s", shape) << true << int(Qt::AscendingOrder) << inRuns;
            QTest::addRow("wide, descending%s", shape)
                    << true << int(Qt::DescendingOrder) << inRuns;
        }
    }
    void fillOrderMatchesTextComparison()
    {
        QFETCH(bool, wide);
        QFETCH(int, order);
        QFETCH(bool, inRuns);
        QRandomGenerator random(wide ? 7 : 11);
        QList<QStringList> rows;
        for (int i = 0; i < 3000; ++i)
            rows.append({randomText(random, wide && i > 1500), QString(), QString::number(i)});
        if (inRuns) {
            // Five runs, each ordered the way asked (equal names included),
            // and a row out of place: merged, not sorted afresh.
            for (int run = 0; run < 5; ++run) {
                const bool ascending = order == Qt::AscendingOrder;
                std::stable_sort(rows.begin() + run * 600, rows.begin() + (run + 1) * 600,
                                 [ascending](const QStringList &a, const QStringList &b) {
                                     const int result = a.at(0).compare(b.at(0));
                                     return ascending ? result < 0 : result > 0;
                                 });
            }
            rows.move(2999, 1234);
            for (int i = 0; i < rows.size(); ++i)
                rows[i][2] = QString::number(i); // ids in arrival order
        }

        BListView view;
        view.setCols(threeCols());
        view.sortByColumn(0, Qt::SortOrder(order));
        {
            BListUpdater updater(&view);
            for (const QStringList &texts : rows)
                new Row(&view, texts);
            // The list holds the rows; the view meets them, sorted, at the end.
            QCOMPARE(view.topLevelItemCount(), rows.size());
            QCOMPARE(view.model()->rowCount(), 0);
        }
        QList<QStringList> expected = rows;
        std::stable_sort(expected.begin(), expected.end(),
                         [order](const QStringList &a, const QStringList &b) {
                             const int result = a.at(0).compare(b.at(0));
                             return order == Qt::AscendingOrder ? result < 0 : result > 0;
                         });
        QStringList expectedIds;
        for (const QStringList &texts : expected)
            expectedIds << texts.at(2);
        QCOMPARE(columnTexts(view, 2), expectedIds);

        // Header sorts over rows already shown: by the ids (as texts), then
        // by the name again; equal names keep the id order.
        view.sortByColumn(2, Qt::AscendingOrder);
        view.sortByColumn(0, Qt::SortOrder(order));
        std::stable_sort(expected.begin(), expected.end(),
                         [](const QStringList &a, const QStringList &b) {
                             return a.at(2).compare(b.at(2)) < 0;
                         });
        std::stable_sort(expected.begin(), expected.end(),
                         [order](const QStringList &a, const QStringList &b) {
                             const int result = a.at(0).compare(b.at(0));
                             return order == Qt::AscendingOrder ? result < 0 : result > 0;
                         });
        expectedIds.clear();
        for (const QStringList &texts : expected)
            expectedIds << texts.at(2);
        QCOMPARE(columnTexts(view, 2), expectedIds);
    }

    void numbersByValueBeforeTexts()
    {
        BListView view;
        view.setCols(threeCols());
        view.sortByColumn(1, Qt::AscendingOrder);
        {
            BListUpdater updater(&view);
            for (const char *size : {"100", "n/a", "9", "-5", "20", "9223372036854775807", "-"})
                new Row(&view, {QString(), size, QString()});
        }
        QCOMPARE(columnTexts(view, 1),
                 (QStringList{"-5", "9", "20", "100", "9223372036854775807", "-", "n/a"}));
        view.sortByColumn(1, Qt::DescendingOrder);
        QCOMPARE(columnTexts(view, 1),
                 (QStringList{"n/a", "-", "9223372036854775807", "100", "20", "9", "-5"}));
    }

    void headerSortKeepsWhatTheViewKnew()
    {
        BListView view;
        view.setCols(threeCols());
        view.resize(300, 120);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        {
            BListUpdater updater(&view);
            for (int i = 0; i < 200; ++i)
                new Row(&view,
                        {QStringLiteral("n%1").arg(i, 3, 10, QLatin1Char('0')),
                         QString::number(i % 7), QString()});
        }
        BListViewItem *parent = view.topLevelItem(5);
        for (const char *child : {"c", "a", "b"})
            new BListViewItem(parent, {child, "1", ""});
        parent->setExpanded(true);
        view.clearSelection();
        BListViewItem *current = view.topLevelItem(150);
        view.setCurrentItem(current);
        view.topLevelItem(3)->setSelected(true);
        view.scrollToItem(current);
        const int scroll = view.verticalScrollBar()->value();
        QVERIFY(scroll > 0);
        const QList<BListViewItem *> before = view.selectedItems();
        QCOMPARE(before.size(), 2);
        const QSet<BListViewItem *> selectedBefore(before.cbegin(), before.cend());

        // A click on the Size header: by value, equal sizes keep their order.
        view.header()->setSortIndicator(1, Qt::DescendingOrder);
        QCOMPARE(view.topLevelItem(0)->text(1), QString("6"));
        QCOMPARE(view.topLevelItem(0)->text(0), QString("n006"));
        QCOMPARE(view.topLevelItem(1)->text(0), QString("n013"));
        QCOMPARE(view.cols().sortColumn(), 1);
        QCOMPARE(UtKontainer::getText("x", {}, "/Columns/sorting/sort"), QString("1;1"));

        QCOMPARE(view.currentItem(), current);
        const QList<BListViewItem *> selectedAfter = view.selectedItems();
        QCOMPARE(QSet<BListViewItem *>(selectedAfter.cbegin(), selectedAfter.cend()),
                 selectedBefore);
        QCOMPARE(view.verticalScrollBar()->value(), scroll);
        QVERIFY(parent->isExpanded());
        // The children were sorted in by name; by Size they are all equal.
        QCOMPARE(parent->child(0)->text(0), QString("a"));
        view.sortByColumn(0, Qt::DescendingOrder);
        QCOMPARE(parent->child(0)->text(0), QString("c"));
        QCOMPARE(parent->child(2)->text(0), QString("a"));
    }

    void laterRowsAndChangesAreSortedIn()
    {
        BListView view;
        view.setCols(threeCols());
        view.sortByColumn(0, Qt::AscendingOrder);
        for (const char *name : {"d", "b"})
            new Row(&view, {name, "1", ""});
        new Row(&view, {"a", "1", ""});
        QTRY_COMPARE(columnTexts(view, 0), (QStringList{"a", "b", "d"}));
        view.topLevelItem(0)->setText(0, "e");
        view.topLevelItem(1)->setText(2, "not the sort column");
        view.ensureSorted();
        QCOMPARE(columnTexts(view, 0), (QStringList{"b", "d", "e"}));

        // A fill into a list that has rows sorts old and new together.
        {
            BListUpdater updater(&view);
            new Row(&view, {"c", "1", ""});
        }
        QCOMPARE(columnTexts(view, 0), (QStringList{"b", "c", "d", "e"}));
        view.clear();

        // A row's text changed before the next row is made counts.
        {
            BListUpdater updater(&view);
            auto *renamed = new Row(&view, {"z", "1", ""});
            renamed->setText(0, "a");
            new Row(&view, {"m", "1", ""});
        }
        QCOMPARE(columnTexts(view, 0), (QStringList{"a", "m"}));
        view.clear();
        QCOMPARE(view.topLevelItemCount(), 0);
    }

    // A page applies its stored layout after its first fill: rows already in
    // that order are not sorted again, rows added or changed meanwhile are.
    void sortingSwitchedOnSortsOnlyWhatIsOutOfOrder()
    {
        BListView view;
        view.setCols(threeCols());
        view.sortByColumn(0, Qt::AscendingOrder);
        int keysTaken = 0;
        class CountingRow : public Row
        {
        public:
            CountingRow(BListView *view, const QString &name, int *keysTaken)
                : Row(view, {name, "1", ""})
                , m_keysTaken(keysTaken)
            { }
            BSortKey sortKey(int column, const BCol *definition) const override
            {
                ++*m_keysTaken;
                return Row::sortKey(column, definition);
            }

        private:
            int *m_keysTaken;
        };
        {
            BListUpdater updater(&view);
            for (const char *name : {"c", "a", "b"})
                new CountingRow(&view, name, &keysTaken);
        }
        QCOMPARE(keysTaken, 3);
        view.setSortingEnabled(true);
        QCOMPARE(keysTaken, 3);

        view.setSortingEnabled(false);
        new CountingRow(&view, "0", &keysTaken);
        view.topLevelItem(1)->setText(0, "z"); // "b" becomes "z"
        view.ensureSorted();
        QCOMPARE(columnTexts(view, 0), (QStringList{"a", "z", "c", "0"}));
        view.setSortingEnabled(true);
        QCOMPARE(columnTexts(view, 0), (QStringList{"0", "a", "c", "z"}));

        view.setSortingEnabled(false);
        view.topLevelItem(0)->setText(0, "y");
        view.setSortingEnabled(true);
        QCOMPARE(columnTexts(view, 0), (QStringList{"a", "c", "y", "z"}));
        // Another order is always sorted.
        view.header()->setSortIndicator(0, Qt::DescendingOrder);
        QCOMPARE(columnTexts(view, 0), (QStringList{"z", "y", "c", "a"}));
    }

    void csvQuotesWhatItMust_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("plain") << QStringList{"a", "b c", ""} << QByteArray("a,b c,\r\n");
        QTest::newRow("comma") << QStringList{"x,y"} << QByteArray("\"x,y\"\r\n");
        QTest::newRow("quote") << QStringList{"say \"hi\""} << QByteArray("\"say \"\"hi\"\"\"\r\n");
        QTest::newRow("line feed")
                << QStringList{"one\ntwo", "z"} << QByteArray("\"one\ntwo\",z\r\n");
        QTest::newRow("carriage return") << QStringList{"a\rb"} << QByteArray("\"a\rb\"\r\n");
        QTest::newRow("non-ascii") << QStringList{QString::fromUtf8("Grüße, Ж")}
                                   << QByteArray("\"Gr\xc3\xbc\xc3\x9f"
                                                 "e, \xd0\x96\"\r\n");
        QTest::newRow("leading space stays") << QStringList{" a "} << QByteArray(" a \r\n");
    }
    void csvQuotesWhatItMust()
    {
        QFETCH(QStringList, fields);
        QFETCH(QByteArray, line);
        QCOMPARE(bcsv::record(fields), line);
    }

    void csvWriteReportsAFailingDevice()
    {
        QBuffer closed;
        QString error;
        QVERIFY(!bcsv::write(&closed, {{"a"}}, &error));
        QBuffer readOnly;
        readOnly.open(QIODevice::ReadOnly);
        QVERIFY(!bcsv::write(&readOnly, {{"a"}}, &error));
    }

    void exportShowsWhatTheListShows()
    {
        BListView view;
        view.setCols(threeCols());
        view.header()->setSortIndicator(0, Qt::AscendingOrder);
        new Row(&view, {"b \"quoted\"", "2", "hidden, later"});
        new Row(&view, {QString::fromUtf8("ä,1"), "10", "x"});
        auto *hidden = new Row(&view, {"c", "3", "row hidden"});
        hidden->setHidden(true);
        view.header()->moveSection(1, 0); // Size shown first
        view.header()->setSectionHidden(2, true);
        view.ensureSorted();

        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(view.exportCsv(&buffer));
        QCOMPARE(buffer.data(),
                 QByteArray("Size,Name\r\n"
                            "2,\"b \"\"quoted\"\"\"\r\n"
                            "10,\"\xc3\xa4,1\"\r\n"));
    }

    void exportAsksForAFileAndReportsFailures()
    {
        BListView view;
        view.setCols(threeCols());
        new Row(&view, {"a", "1", "n"});
        QCOMPARE(view.menuAction(BListView::CommandExportCsv)->text(),
                 QString("Export to &CSV..."));

        const QString path = m_dir.filePath("list.csv");
        {
            ModalAnswerer answerer;
            answerer.setDialogHandler([path](QDialog *dialog) {
                auto *files = qobject_cast<QFileDialog *>(dialog);
                QVERIFY(files);
                QCOMPARE(files->acceptMode(), QFileDialog::AcceptSave);
                files->selectFile(path);
                QTimer::singleShot(0, files, [files] { static_cast<QDialog *>(files)->accept(); });
            });
            view.menuAction(BListView::CommandExportCsv)->trigger();
            QVERIFY(answerer.texts.isEmpty());
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("Name,Size,Note\r\na,1,n\r\n"));

        // A file that cannot be written: the administrator is told why.
        const QString bad = m_dir.filePath("missing-folder/list.csv");
        ModalAnswerer answerer;
        QVERIFY(!view.saveCsv(bad));
        QCOMPARE(answerer.captions, QStringList{"Console"});
        QVERIFY(answerer.texts.value(0).contains("missing-folder"));
        QVERIFY(!QFile::exists(bad));
    }
};

QTEST_MAIN(TestListSort)
#include "test_listsort.moc"

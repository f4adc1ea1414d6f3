// Fills, sorts and scrolls a list of 100 000 rows in a BListView (columns,
// stored layout, row classes comparing through their column definitions) and
// the same texts (six columns) in a plain QTreeWidget, and prints the ratios.
//
//   QT_QPA_PLATFORM=offscreen bench_listview [rows] [rounds]
#include "forms/blistitems.h"
#include "forms/blistview.h"

#include "registry/utkontainer.h"

#include <QApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

struct Timings
{
    double fill = 0, sort = 0, scroll = 0;
    double unsortedFill = 0; // BListView only: a list that is not sortable
    double textSort = 0; // BListView only: one sort by the name column
    double keySort = 0; // std::sort of the same names
};

QList<QStringList> makeRows(int count)
{
    QRandomGenerator random(20261210);
    QList<QStringList> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QDateTime seen = QDateTime(QDate(2026, 1, 1), QTime(0, 0), Qt::UTC)
                                       .addSecs(random.bounded(365 * 24 * 3600));
        rows.append(
                {QStringLiteral("user%1@example.com")
                         .arg(random.bounded(1000000), 6, 10, QLatin1Char('0')),
                 QString::number(random.bounded(100000)),
                 QStringLiteral("Department %1").arg(random.bounded(200)),
                 seen.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                 QString::number(random.bounded(5000)),
                 random.bounded(4) == 0 ? QStringLiteral("Disabled") : QStringLiteral("Active")});
    }
    return rows;
}

// Processor time of the process: the machine the benchmark runs on is
// shared, and waiting for a processor is no cost of the list.
class CpuClock
{
public:
    void start() { m_start = now(); }
    void restart() { m_start = now(); }
    double elapsedMs() const { return (now() - m_start) / 1e6; }

private:
    static double now()
    {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return double(ts.tv_sec) * 1e9 + double(ts.tv_nsec);
    }
    double m_start = 0;
};

double msSince(const CpuClock &clock)
{
    return clock.elapsedMs();
}

// Scrolls through the whole list a page at a time, painting every step.
double scrollThrough(QTreeView &tree)
{
    QScrollBar *bar = tree.verticalScrollBar();
    CpuClock clock;
    clock.start();
    const int steps = 400;
    for (int i = 0; i <= steps; ++i) {
        bar->setValue(bar->maximum() * i / steps);
        tree.viewport()->repaint();
    }
    return msSince(clock);
}

Timings plainTree(const QList<QStringList> &rows)
{
    Timings t;
    QTreeWidget tree;
    tree.setColumnCount(6);
    tree.setHeaderLabels({"Name", "Size", "Department", "Last login", "Messages", "State"});
    tree.setUniformRowHeights(true);
    tree.resize(800, 600);
    tree.show();
    CpuClock clock;
    clock.start();
    for (const QStringList &texts : rows)
        new QTreeWidgetItem(&tree, texts);
    QCoreApplication::processEvents();
    t.fill = msSince(clock);
    clock.restart();
    tree.sortItems(0, Qt::AscendingOrder);
    tree.sortItems(2, Qt::DescendingOrder);
    QCoreApplication::processEvents();
    t.sort = msSince(clock);
    t.scroll = scrollThrough(tree);
    return t;
}

class SizeItem : public BListViewItem
{
public:
    SizeItem(BListView *view, const QStringList &texts)
        : BListViewItem(view, nullptr, texts)
        , m_size(texts.at(1).toLongLong())
    { }
    BSortKey sortKey(int column, const BCol *definition) const override
    {
        if (column == 1)
            return BSortKey::fromNumber(m_size);
        return BListViewItem::sortKey(column, definition);
    }

private:
    qint64 m_size;
};

BCols benchmarkCols(bool sortable)
{
    BCols cols(sortable ? "benchmark" : "benchmarkunsorted", 1);
    cols.addColumn("Name", "Name", BCol::Visible, 240);
    cols.addColumn("Size", "Size", BCol::Visible | BCol::AlignRight, 80);
    cols.addColumn("Department", "Department", BCol::Visible, 200);
    cols.addColumn("Last login", "LastLogin", BCol::Visible, 140);
    cols.addColumn("Messages", "Messages", BCol::Visible | BCol::AlignRight, 80);
    cols.addColumn("State", "State", BCol::Visible, 80);
    cols.setSortable(sortable);
    return cols;
}

double unsortedFill(const QList<QStringList> &rows)
{
    BListView view;
    view.setCols(benchmarkCols(false));
    view.resize(800, 600);
    view.show();
    CpuClock clock;
    clock.start();
    {
        BListUpdater updater(&view);
        for (const QStringList &texts : rows)
            new SizeItem(&view, texts);
    }
    QCoreApplication::processEvents();
    return msSince(clock);
}

Timings bListView(const QList<QStringList> &rows)
{
    Timings t;
    BListView view;
    view.setCols(benchmarkCols(true));
    view.resize(800, 600);
    view.show();
    CpuClock clock;
    clock.start();
    {
        BListUpdater updater(&view); // sorts once when the fill ends
        for (const QStringList &texts : rows)
            new SizeItem(&view, texts);
    }
    QCoreApplication::processEvents();
    t.fill = msSince(clock);
    clock.restart();
    view.sortByColumn(0, Qt::AscendingOrder);
    view.sortByColumn(2, Qt::DescendingOrder);
    QCoreApplication::processEvents();
    t.sort = msSince(clock);
    // One sort by a text column against std::sort of the same texts.
    clock.restart();
    view.sortByColumn(0, Qt::AscendingOrder);
    t.textSort = msSince(clock);
    QStringList names;
    names.reserve(rows.size());
    for (const QStringList &texts : rows)
        names.append(texts.at(0));
    clock.restart();
    std::sort(names.begin(), names.end());
    t.keySort = msSince(clock);
    t.scroll = scrollThrough(view);
    t.unsortedFill = unsortedFill(rows);
    return t;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rowCount = argc > 1 ? std::max(1, atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;

    // Column layouts go to a throw-away store, never the user's.
    QTemporaryDir dir;
    UtKontainer::setStoreFile(dir.filePath(QStringLiteral("bench.ini")));

    const QList<QStringList> rows = makeRows(rowCount);
    std::vector<double> fill[2], sort[2], scroll[2], unsorted[2], textSort[2];
    for (int round = 0; round < rounds; ++round) {
        const Timings plain = plainTree(rows);
        const Timings ours = bListView(rows);
        fill[0].push_back(plain.fill);
        sort[0].push_back(plain.sort);
        scroll[0].push_back(plain.scroll);
        fill[1].push_back(ours.fill);
        sort[1].push_back(ours.sort);
        scroll[1].push_back(ours.scroll);
        unsorted[0].push_back(plain.fill);
        unsorted[1].push_back(ours.unsortedFill);
        textSort[0].push_back(ours.keySort);
        textSort[1].push_back(ours.textSort);
    }
    std::printf("%d rows x 6 columns, median of %d rounds (ms of processor time)\n", rowCount,
                rounds);
    std::printf("%-8s %12s %12s %8s\n", "step", "QTreeWidget", "BListView", "ratio");
    // "fill" of a sortable BListView includes sorting the rows once at the end;
    // "fill-uns" fills a list that is not sortable.
    const char *names[] = {"fill", "fill-uns", "sort", "scroll"};
    std::vector<double> *series[] = {fill, unsorted, sort, scroll};
    for (int i = 0; i < 4; ++i) {
        const double base = median(series[i][0]);
        const double ours = median(series[i][1]);
        std::printf("%-8s %12.1f %12.1f %8.2f\n", names[i], base, ours, base > 0 ? ours / base : 0);
    }
    const double sortedFill = median(fill[1]) / std::max(1e-9, median(fill[0]));
    std::printf("sorted fill / plain unsorted fill: %.2f (target at most 1.50)\n", sortedFill);
    const double sortRatio = median(textSort[1]) / std::max(1e-9, median(textSort[0]));
    std::printf("sort by a text column: %.1f ms, std::sort of the same texts: %.1f ms, "
                "ratio %.2f (target at most 2)\n",
                median(textSort[1]), median(textSort[0]), sortRatio);
    UtKontainer::clear();
    return 0;
}

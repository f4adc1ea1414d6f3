// Remote-table benchmarks:
//   select   100 000 rows x 6 columns from the development server into a
//            DBTable (against the raw lumadb query of the same rows in the
//            same run, and libpq when pg_compare.sh passes its time);
//   edit     statements() after one edit at 10k, 100k and 1M rows;
//   memory   heap held by the selected table against the result block size.
//
// Usage: bench_db_table [rows=100000] [repeats=5]
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "db/dbtable.h"
#include "db/utdebug.h"
#include "lumadb/lumadb.h"
#include "support/devserver_process.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <malloc.h>
#include <vector>

namespace {

// A select into a DBTable may take this much of the bare query's time, and
// the table may hold this much of the result block's bytes.
constexpr double SelectTarget = 1.3;
constexpr double MemoryTarget = 2.0;

const char *SelectQuery = "select Name, Domain, Fullname, Rights, Qstorage, Account_enabled "
                          "from User where Domain='big.example'";

size_t heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Bytes of the row part of a result block (length words and cells).
size_t rowBytes(const DBReq &req)
{
    size_t bytes = 0;
    for (int r = 0; r < req.rowCount(); ++r) {
        for (int c = 0; c < req.columnCount(); ++c)
            bytes += 4 + size_t(req.cellBytes(r, c).size());
    }
    return bytes;
}

// A wire block of n rows shaped like the User selection, for the edit bench.
QByteArray syntheticBlock(int rows)
{
    auto be = [](QByteArray &out, quint64 value, int size) {
        for (int i = size - 1; i >= 0; --i)
            out.append(char((value >> (8 * i)) & 0xff));
    };
    QByteArray out;
    out.append('\0');
    out.append(char(115));
    be(out, 6, 2);
    be(out, quint64(rows), 4);
    be(out, 0, 4);
    be(out, 0, 4);
    be(out, 0, 4);
    const struct
    {
        int type;
        const char *name;
        bool key;
    } columns[] = {{1, "Name", true},    {1, "Domain", true},    {1, "Fullname", false},
                   {2, "Rights", false}, {3, "Qstorage", false}, {2, "Account_enabled", false}};
    for (const auto &c : columns) {
        const QByteArray name = QByteArray(c.name) + '\0';
        out.append('\0');
        out.append(char(c.type));
        out.append(char(c.key ? 1 : 0));
        be(out, quint64(name.size()), 4);
        out += name;
    }
    for (int i = 0; i < rows; ++i) {
        auto text = [&](const QByteArray &t) {
            be(out, quint64(t.size() + 1), 4);
            out += t;
            out.append('\0');
        };
        text("user" + QByteArray::number(i + 1).rightJustified(7, '0'));
        text("big.example");
        text("Generated User " + QByteArray::number(i + 1));
        be(out, 4, 4);
        be(out, 0, 4);
        be(out, 8, 4);
        be(out, quint64(102400 * (1 + i % 10)), 8);
        be(out, 4, 4);
        be(out, 1, 4);
    }
    return out;
}

void benchStatements()
{
    std::printf("\nstatements() after one edit (median of 5):\n");
    double previous = 0;
    int previousRows = 0;
    for (int rows : {10000, 100000, 1000000}) {
        DBReq req;
        if (!req.adoptBlock(syntheticBlock(rows))) {
            std::printf("  synthetic block of %d rows refused\n", rows);
            return;
        }
        DBTable table(nullptr, "User");
        table.readRows(req);
        std::vector<double> times;
        for (int repeat = 0; repeat < 5; ++repeat) {
            table.row(rows / 2)->setText(2, QStringLiteral("Edited %1").arg(repeat));
            QElapsedTimer timer;
            timer.start();
            const QStringList statements = table.statements();
            times.push_back(timer.nsecsElapsed() / 1e6);
            if (statements.size() != 1)
                std::printf("  unexpected statement count %lld\n", qlonglong(statements.size()));
        }
        const double ms = median(times);
        std::printf("  %8d rows: %8.2f ms", rows, ms);
        if (previous > 0)
            std::printf("   (x%.1f for x%d rows)", ms / previous, rows / previousRows);
        std::printf("\n");
        previous = ms;
        previousRows = rows;
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int repeats = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    UtDebug::setStderrLevel(-1);

    // The server seeds its users at start and must listen within 30 s, so
    // large installations grow over several restarts on the same data folder.
    auto arguments = [](int users) {
        return std::vector<std::string>{"--no-ticker", "--log-rate", "0", "--seed-users",
                                        std::to_string(users)};
    };
    constexpr int SeedStep = 20000;
    postdesk::test::DevServerProcess server(arguments(std::min(rows, SeedStep)));
    std::printf("starting the development server with %d generated users...\n", rows);
    std::fflush(stdout);
    bool started = server.start();
    for (int users = 2 * SeedStep; started && users < rows + SeedStep; users += SeedStep)
        started = server.restart(arguments(std::min(rows, users)));
    if (!started) {
        std::fprintf(stderr, "server: %s\n", server.errorText().c_str());
        return 1;
    }
    QTemporaryDir knownHosts;
    server.trustIn(knownHosts.filePath("known_hosts.cfg").toStdString());
    DBConn conn(QString::fromStdString(server.host()), server.port(), "admin", "admin");
    conn.setKnownHostsPath(knownHosts.filePath("known_hosts.cfg"));
    conn.start();
    while (conn.state() != DBConn::Connected) {
        if (conn.state() == DBConn::Disconnected && !conn.lastErrorText().isEmpty()) {
            std::fprintf(stderr, "login: %s\n", qPrintable(conn.lastErrorText()));
            return 1;
        }
        QThread::msleep(10);
    }

    // Baseline: the same query through the connection without building rows.
    std::vector<double> rawTimes;
    std::vector<double> tableTimes;
    std::vector<double> readTimes;
    size_t blockRows = 0;
    int resultRows = 0;
    for (int repeat = 0; repeat < repeats; ++repeat) {
        DBReq req(QString::fromLatin1(SelectQuery));
        QElapsedTimer timer;
        timer.start();
        if (!conn.execSync(&req)) {
            std::fprintf(stderr, "select: %s\n", qPrintable(req.errorText()));
            return 1;
        }
        rawTimes.push_back(timer.nsecsElapsed() / 1e6);
        blockRows = rowBytes(req);
        resultRows = req.rowCount();

        DBTable table(&conn, QString::fromLatin1(SelectQuery));
        timer.restart();
        if (!table.selectSync()) {
            std::fprintf(stderr, "table select: %s\n", qPrintable(table.errorText()));
            return 1;
        }
        tableTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    // The conversion alone, from a block already received.
    for (int repeat = 0; repeat < repeats; ++repeat) {
        DBReq req(QString::fromLatin1(SelectQuery));
        conn.execSync(&req);
        DBTable table(&conn, QString::fromLatin1(SelectQuery));
        QElapsedTimer timer;
        timer.start();
        table.readRows(req);
        readTimes.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::printf("\nselect of %d rows x 6 columns (median of %d):\n", resultRows, repeats);
    std::printf("  lumadb query only      %8.1f ms\n", median(rawTimes));
    const double selectRatio = median(tableTimes) / median(rawTimes);
    std::printf("  into a DBTable         %8.1f ms   (x%.2f of the query)\n", median(tableTimes),
                selectRatio);
    std::printf("  of which readRows      %8.1f ms\n", median(readTimes));
    if (const char *pg = std::getenv("POSTDESK_BENCH_LIBPQ_MS")) {
        const double libpq = std::atof(pg);
        std::printf("  libpq, same rows, TLS  %8.1f ms   (DBTable / libpq = %.2f)\n", libpq,
                    median(tableTimes) / libpq);
    }

    // Memory: what the table keeps once the request is gone, and the peak
    // while both exist, against the block the server sent.
    double memoryRatio = 0;
    {
        malloc_trim(0);
        const size_t before = heapInUse();
        DBReq req(QString::fromLatin1(SelectQuery));
        conn.execSync(&req);
        const size_t withBlock = heapInUse();
        DBTable table(&conn, QString::fromLatin1(SelectQuery));
        table.readRows(req);
        const size_t peak = heapInUse();
        req.reset();
        const size_t kept = heapInUse();
        const double block = double(withBlock - before);
        std::printf("\nmemory for %d rows:\n", table.rowCount());
        std::printf("  result block (with its index)  %8.1f MB (rows part %.1f MB)\n", block / 1e6,
                    double(blockRows) / 1e6);
        memoryRatio = double(kept - before) / block;
        std::printf("  table after the block is freed %8.1f MB = x%.2f of the block\n",
                    double(kept - before) / 1e6, memoryRatio);
        std::printf("  peak while reading             %8.1f MB = x%.2f of the block\n",
                    double(peak - before) / 1e6, double(peak - before) / block);
    }

    benchStatements();

    std::printf("\nratios against their targets:\n");
    std::printf("  select into a DBTable / bare query   x%.2f (target <= x%.2f) %s\n", selectRatio,
                SelectTarget, selectRatio <= SelectTarget ? "met" : "MISSED");
    std::printf("  table memory / result block          x%.2f (target <= x%.2f) %s\n", memoryRatio,
                MemoryTarget, memoryRatio <= MemoryTarget ? "met" : "MISSED");
    conn.stop();
    return 0;
}

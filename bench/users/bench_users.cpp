// The Users page on a domain of many users (postvane-devserver --seed-users),
// each figure a ratio against a baseline measured in the same run:
// - opening the page until the list shows, against the bare select of the
//   same rows by the protocol client;
// - refreshing the list after the search timer fired;
// - the memory the page holds, against the bytes of the result block.
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "db/dbtable.h"
#include "forms/blistview.h"
#include "pages/users/domaintables.h"
#include "pages/users/pvnusertable.h"
#include "pages/users/userwnd.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/devserver_process.h"

#include "benchrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <unistd.h>

namespace {

using benchrun::median;
using benchrun::timeMs;
using benchrun::waitFor;

// The process's resident memory, with freed heap given back first; it counts
// the blocks the data layer maps itself, which the heap statistics miss.
size_t memoryInUse()
{
    malloc_trim(0);
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? size_t(fields.at(1).toULongLong()) * size_t(getpagesize()) : 0;
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

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int users = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir folder;
    UtKontainer::setStoreFile(folder.filePath(QStringLiteral("bench.ini")));
    UtKontainer::setText(domainformlist::kSelectedDomainKey, QStringLiteral("big.example"),
                         domainformlist::kSelectedDomainKey);

    postdesk::test::DevServerProcess server({"--no-ticker", "--seed-users", std::to_string(users),
                                             "--log-rate", "0", "--max-result-mib", "1024"});
    if (!server.start()) {
        std::fprintf(stderr, "server: %s\n", server.errorText().c_str());
        return 1;
    }
    DBConn conn(QString::fromStdString(server.host()), int(server.port()), QStringLiteral("admin"),
                QStringLiteral("admin"));
    const QString knownHosts = folder.filePath(QStringLiteral("known_hosts"));
    server.trustIn(knownHosts.toStdString());
    conn.setKnownHostsPath(knownHosts);
    conn.start();
    if (!waitFor([&conn] { return conn.isConnected(); }, 600000)) {
        std::fprintf(stderr, "no session\n");
        return 1;
    }
    UtKontainer::setObject(UtKey::DBConn, &conn);
    std::fprintf(stderr, "session up\n");

    // The page's own select text, sent bare.
    DBTable::Options options;
    options.filter = domainformlist::domainFilter(QStringLiteral("big.example"));
    const QString query
            = DBTable(&conn, QStringLiteral("User"), QList<DBKol>(), options).selectQuery();
    QList<double> bare;
    size_t blockBytes = 0;
    int rows = 0;
    for (int round = 0; round < rounds; ++round) {
        bare << timeMs([&] {
            DBReq req(query);
            conn.execSync(&req);
            if (!req.succeeded())
                std::fprintf(stderr, "bare select failed: %u %s\n", req.resultCode(),
                             qPrintable(req.errorText()));
            rows = req.rowCount();
            blockBytes = rowBytes(req);
        });
    }

    std::fprintf(stderr, "bare select: %d rows\n", rows);
    QList<double> open;
    QList<double> search;
    QList<double> scan;
    QList<double> clearSearch;
    double memoryRatio = 0;
    for (int round = 0; round < rounds; ++round) {
        const size_t memoryBefore = memoryInUse();
        auto page = std::make_unique<UserWnd>();
        page->resize(900, 600);
        page->show();
        open << timeMs([&] {
            page->load(true);
            waitFor([&page] { return !page->isLoadingRows() && page->isEnabled(); });
        });
        if (page->listView()->topLevelItemCount() != rows) {
            std::fprintf(stderr, "the page shows %d rows of %d\n",
                         page->listView()->topLevelItemCount(), rows);
            return 1;
        }
        if (round == 0)
            memoryRatio = double(memoryInUse() - memoryBefore) / double(blockBytes);
        // The timer is stopped: only the refresh after it fires is timed.
        const QString needle = QStringLiteral("user0%1").arg(1000 + round);
        // The baseline: a plain scan of the same rows for the same text.
        int matches = 0;
        scan << timeMs([&] {
            for (const DBRow *row : page->userTable()->rows())
                matches += domainformlist::rowMatchesText(*row, needle) ? 1 : 0;
        });
        page->searchEdit()->setText(needle);
        page->searchTimer()->stop();
        search << timeMs([&] { page->slotSearchExecute(); });
        if (page->listView()->model()->rowCount() != matches) {
            std::fprintf(stderr, "the search shows %d rows of %d matches\n",
                         page->listView()->model()->rowCount(), matches);
            return 1;
        }
        page->searchEdit()->clear();
        page->searchTimer()->stop();
        clearSearch << timeMs([&] { page->slotSearchExecute(); });
        if (page->listView()->topLevelItemCount() != rows)
            return 1;
    }
    UtKontainer::setObject(UtKey::DBConn, nullptr);
    conn.stop();

    const double openRatio = median(open) / median(bare);
    std::printf("users: %d rows, result block %.1f MB\n", rows, double(blockBytes) / 1048576.0);
    std::printf("open page until the list shows: %.1f ms, bare select: %.1f ms, ratio %.2fx "
                "(target <= 1.2x) %s\n",
                median(open), median(bare), openRatio, openRatio <= 1.2 ? "ok" : "MISSED");
    const double searchRatio = median(search) / median(scan);
    std::printf("search narrowing to 10 rows: %.1f ms, a plain scan of the rows: %.1f ms, "
                "ratio %.2fx (target <= 2x) %s\n",
                median(search), median(scan), searchRatio, searchRatio <= 2 ? "ok" : "MISSED");
    std::printf("search cleared, all rows back: %.1f ms (target <= 100 ms) %s\n",
                median(clearSearch), median(clearSearch) <= 100 ? "ok" : "MISSED");
    std::printf("page memory / result block: %.2fx (target <= 1.5x) %s\n", memoryRatio,
                memoryRatio <= 1.5 ? "ok" : "MISSED");
    return 0;
}

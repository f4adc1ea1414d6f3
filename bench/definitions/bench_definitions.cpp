// Measures the IP address groups page on a server with many groups and prints
// each figure with its baseline from the same run:
//  - opening the page (select, fill, first paint) against the bare select of
//    the same rows by the protocol client (target: at most 1.2x);
//  - the loop check of the entry dialog over all groups: the group graph of
//    the page's rows and the groups offered for a reference (target: 50 ms).
// Every group but the first refers to the one before it, so the check walks
// the whole chain. Usage: bench_definitions [groups] [rounds]
// (QT_QPA_PLATFORM=offscreen when headless)
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "db/dbtable.h"
#include "db/dbtransreq.h"
#include "pages/definitions/gwndipgroup.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/devserver_process.h"

#include "benchrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using benchrun::median;
using benchrun::timeMs;
using benchrun::waitFor;

constexpr int kEntriesPerGroup = 10;

QString groupName(int group)
{
    return QStringLiteral("G%1").arg(group, 5, 10, QLatin1Char('0'));
}

// The groups, in transactions of a thousand inserts.
bool seedGroups(DBConn *conn, int groups)
{
    DBTransReq trans(conn, QStringLiteral("seed"), false);
    for (int group = 0; group < groups; ++group) {
        for (int entry = 0; entry < kEntriesPerGroup; ++entry) {
            const QString value = entry == 0 && group > 0 ? QLatin1Char('=') + groupName(group - 1)
                                                          : QStringLiteral("10.%1.%2.%3")
                                                                    .arg(group / 256)
                                                                    .arg(group % 256)
                                                                    .arg(entry + 1);
            trans.appendStatement(QStringLiteral("insert into IpAccessList set Name='%1', "
                                                 "Value='%2', Desc='Entry %3', Enabled='1'")
                                          .arg(groupName(group), value)
                                          .arg(entry));
        }
        if ((group + 1) % 100 == 0 || group + 1 == groups) {
            if (!trans.execSync()) {
                std::fprintf(stderr, "seed: %s\n", qPrintable(trans.errorText()));
                return false;
            }
            trans.clearStatements();
        }
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int groups = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir folder;
    UtKontainer::setStoreFile(folder.filePath(QStringLiteral("bench.ini")));

    postdesk::test::DevServerProcess server({"--no-ticker", "--log-rate", "0", "--memory"});
    if (!server.start()) {
        std::fprintf(stderr, "server: %s\n", server.errorText().c_str());
        return 1;
    }
    const QString knownHosts = folder.filePath(QStringLiteral("known_hosts"));
    server.trustIn(knownHosts.toStdString());
    DBConn conn(QString::fromStdString(server.host()), int(server.port()), QStringLiteral("admin"),
                QStringLiteral("admin"));
    conn.setKnownHostsPath(knownHosts);
    conn.start();
    if (!waitFor([&conn] { return conn.isConnected(); }, 60000)) {
        std::fprintf(stderr, "login: %s\n", qPrintable(conn.lastErrorText()));
        return 1;
    }
    UtKontainer::setObject(UtKey::DBConn, &conn);
    QElapsedTimer seeding;
    seeding.start();
    if (!seedGroups(&conn, groups))
        return 1;
    std::printf("seeded %d groups of %d entries in %.1f s\n", groups, kEntriesPerGroup,
                double(seeding.elapsed()) / 1000);

    QList<double> bare;
    int rows = 0;
    for (int round = 0; round < rounds; ++round) {
        bare << timeMs([&] {
            DBReq req(QStringLiteral("select * from IpAccessList"));
            conn.execSync(&req);
            rows = req.rowCount();
        });
    }

    QList<double> table;
    for (int round = 0; round < rounds; ++round) {
        DBTable rowsOnly(&conn, QStringLiteral("IpAccessList"));
        table << timeMs([&] { rowsOnly.selectSync(); });
    }
    std::printf("rows into the page's table alone (DBTable select): %.1f ms\n", median(table));
    QList<double> open;
    QList<double> loopCheck;
    int offered = 0;
    for (int round = 0; round < rounds; ++round) {
        auto *page = new GWndIPGroup;
        page->resize(900, 600);
        page->show();
        open << timeMs([&] {
            page->load(true);
            waitFor([page] { return page->isInitialised() && page->isEnabled(); });
            QCoreApplication::processEvents(); // the first paint of the filled list
        });
        if (page->listView()->topLevelItemCount() < groups) {
            std::fprintf(stderr, "page shows %d groups\n", page->listView()->topLevelItemCount());
            return 1;
        }
        // The dialog for a new entry of the first group: every generated group
        // reaches it, so only the demo's own groups may be offered.
        loopCheck << timeMs([&] {
            const ipentry::GroupGraph graph = page->groupGraph();
            offered = int(graph.referenceCandidates(groupName(0)).size());
        });
        delete page;
    }
    UtKontainer::setObject(UtKey::DBConn, nullptr);
    conn.stop();

    const double ratio = median(open) / median(bare);
    std::printf("IP address groups page, %d rows: open %.1f ms, bare select %.1f ms, ratio %.2fx "
                "(target <= 1.2x) %s\n",
                rows, median(open), median(bare), ratio, ratio <= 1.2 ? "ok" : "MISSED");
    std::printf("loop check over %d groups: %.1f ms, %d other groups offered (target <= 50 ms) "
                "%s\n",
                groups, median(loopCheck), offered, median(loopCheck) <= 50 ? "ok" : "MISSED");
    return 0;
}

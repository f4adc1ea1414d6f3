// Measures the per-domain pages of a large installation and prints each
// figure with its baseline from the same run:
//  - opening the Aliases page of a domain with N aliases against the bare
//    protocol-client select of the same rows (target: at most 1.2x);
//  - opening a mailing list of N members (roster read and the dialog shown)
//    against the bare "MListList(" select (target: at most 1.2x);
//  - checking and staging a CSV file of N members (target: at most 2 s).
// Usage: bench_aliases [rows] [rounds]   (QT_QPA_PLATFORM=offscreen when headless)
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "forms/blistview.h"
#include "pages/aliases/aliaswnd.h"
#include "pages/mailinglists/mailinglistdlg.h"
#include "pages/mailinglists/mailinglistwnd.h"
#include "pages/mailinglists/mlistcsvimport.h"
#include "pages/mailinglists/mlistrosterpage.h"
#include "pages/mailinglists/pvnmlisttable.h"
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
#include <memory>

namespace {

using benchrun::median;
using benchrun::timeMs;
using benchrun::waitFor;

int bareRows(DBConn &conn, const QString &query)
{
    DBReq req(query);
    conn.execSync(&req);
    return req.rowCount();
}

void report(const char *what, double pageMs, double bareMs, double target)
{
    const double ratio = bareMs > 0 ? pageMs / bareMs : 0;
    std::printf("%s: %.1f ms, bare select %.1f ms, ratio %.2fx (target <= %.1fx) %s\n", what,
                pageMs, bareMs, ratio, target, ratio <= target ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 50000;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QTemporaryDir folder;
    UtKontainer::setStoreFile(folder.filePath(QStringLiteral("bench.ini")));

    postdesk::test::DevServerProcess server({"--no-ticker", "--log-rate", "0", "--seed-aliases",
                                             std::to_string(rows), "--seed-list-members",
                                             std::to_string(rows)});
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
    if (!waitFor([&conn] { return conn.isConnected(); }, 60000)) {
        std::fprintf(stderr, "login: %s\n", qPrintable(conn.errorText()));
        return 1;
    }
    UtKontainer::setObject(UtKey::DBConn, &conn);

    // The Aliases page, made afresh each round as the page area makes it.
    const QString aliasSelect = QStringLiteral(
            "select Lhs, Domain, Rhs, Description from Alias where Domain='example.com'");
    QList<double> bareAliases;
    QList<double> pageAliases;
    int aliasRows = 0;
    int aliasItems = 0;
    for (int round = 0; round < rounds; ++round) {
        bareAliases << timeMs([&] { aliasRows = bareRows(conn, aliasSelect); });
        // The page is let go outside the measurement: opening is what is timed.
        std::unique_ptr<AliasWnd> page;
        pageAliases << timeMs([&] {
            QElapsedTimer phase;
            phase.start();
            page = std::make_unique<AliasWnd>();
            page->resize(900, 600);
            page->show();
            if (qEnvironmentVariableIsSet("BENCH_PHASES"))
                std::printf("  made and shown %.1f ms\n", phase.nsecsElapsed() / 1e6);
            page->domainCombo()->reload();
            if (qEnvironmentVariableIsSet("BENCH_PHASES"))
                std::printf("  domains %.1f ms\n", phase.nsecsElapsed() / 1e6);
            page->load(true);
            waitFor([&page] { return page->isInitialised() && page->isEnabled(); });
            aliasItems = page->listView()->topLevelItemCount();
        });
    }
    std::printf("aliases: %d rows, %d items\n", aliasRows, aliasItems);
    report("Aliases page open", median(pageAliases), median(bareAliases), 1.2);

    // A mailing list: its rosters read and the dialog shown with them.
    const QString memberSelect
            = QStringLiteral("select MListList(\"bulk\",\"example.com\",\"members\")");
    QList<double> bareMembers;
    QList<double> openList;
    int memberRows = 0;
    int memberItems = 0;
    {
        MailingListWnd page;
        page.load(true);
        if (!waitFor([&page] { return page.isInitialised() && page.isEnabled(); })) {
            std::fprintf(stderr, "mailing lists: the page did not load\n");
            return 1;
        }
        DBRow *bulk = nullptr;
        for (DBRow *row : page.table()->rows()) {
            if (row->text("Name") == QLatin1String("bulk"))
                bulk = row;
        }
        if (!bulk) {
            std::fprintf(stderr, "mailing lists: no list \"bulk\"\n");
            return 1;
        }
        for (int round = 0; round < rounds; ++round) {
            bareMembers << timeMs([&] { memberRows = bareRows(conn, memberSelect); });
            PvnMListTable moderators(&conn, QStringLiteral("bulk"), QStringLiteral("example.com"),
                                     PvnMListTable::moderatorsKind());
            PvnMListTable members(&conn, QStringLiteral("bulk"), QStringLiteral("example.com"),
                                  PvnMListTable::membersKind());
            std::unique_ptr<MailingListDlg> dialog;
            openList << timeMs([&] {
                moderators.selectSync();
                members.selectSync();
                dialog = std::make_unique<MailingListDlg>(bulk, &moderators, &members);
                dialog->show();
                memberItems = dialog->pages()->m_pageMembers->listView()->topLevelItemCount();
            });
        }
    }
    std::printf("members: %d rows, %d items\n", memberRows, memberItems);
    report("Mailing list open", median(openList), median(bareMembers), 1.2);

    // The CSV import: every row checked and staged into the roster.
    QString csv = QStringLiteral("Email,Full name\n");
    for (int i = 0; i < rows; ++i)
        csv += QStringLiteral("person%1@import.example,\"Person %1, Imported\"\n").arg(i);
    QList<double> importMs;
    int staged = 0;
    for (int round = 0; round < rounds; ++round) {
        PvnMListTable roster(&conn, QStringLiteral("bulk"), QStringLiteral("example.com"),
                             PvnMListTable::membersKind());
        importMs << timeMs([&] {
            const mlistcsv::Result result
                    = mlistcsv::read(csv, mlistcsv::addressesOf(&roster), [](qsizetype, qsizetype) {
                          QCoreApplication::processEvents();
                          return true;
                      });
            mlistcsv::stage(&roster, result.accepted);
            staged = roster.rowCount();
        });
    }
    const double import = median(importMs);
    std::printf("CSV import of %d members: %d staged in %.1f ms (target <= 2000 ms) %s\n", rows,
                staged, import, import <= 2000 ? "ok" : "MISSED");

    UtKontainer::setObject(UtKey::DBConn, nullptr);
    conn.stop();
    return 0;
}

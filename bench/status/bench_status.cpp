// Measures the status pages and prints each figure with its baseline from the
// same run:
//  - a traffic chart of 100 000 samples against one of 1 000 (target: at most 2x);
//  - one statistics pie chart against the 16 ms of a frame (target: at most 1x);
//  - refreshing the message queue page with 100 000 messages against 10 000
//    (target: at most 12x), each also against the bare select of the same rows
//    (target: at most 1.2x at 100 000), and the longest pause of the event
//    loop while the page refreshes (target: at most 50 ms).
// Usage: bench_status [rounds]   (QT_QPA_PLATFORM=offscreen when headless)
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "status/cpiegraph.h"
#include "status/mailqueuewnd.h"
#include "status/timegraph.h"
#include "support/devserver_process.h"

#include "benchrun.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

using benchrun::median;
using benchrun::timeMs;
using benchrun::waitFor;

timegraph::Chart chartOf(int samples)
{
    timegraph::Chart chart;
    chart.chartClass = QStringLiteral("Messages");
    chart.name = QStringLiteral("Received");
    chart.scaleTime = 7 * 86400;
    chart.sampleTime = chart.scaleTime / samples;
    chart.serverNow = 1796917560;
    chart.suggestedMax = 1000;
    for (int i = 0; i < samples; ++i)
        chart.samples.append({chart.serverNow - chart.scaleTime + qint64(i) * chart.sampleTime,
                              500 + (i * 7919) % 400});
    return chart;
}

struct QueueFigures
{
    double refreshMs = 0;
    double bareMs = 0;
    double longestPauseMs = 0;
    int rows = 0;
};

bool measureQueue(int messages, int rounds, QueueFigures *figures)
{
    postdesk::test::DevServerProcess server(
            {"--no-ticker", "--seed-queue", std::to_string(messages), "--log-rate", "0"});
    if (!server.start()) {
        std::fprintf(stderr, "server: %s\n", server.errorText().c_str());
        return false;
    }
    QTemporaryDir folder;
    DBConn conn(QString::fromStdString(server.host()), int(server.port()), QStringLiteral("admin"),
                QStringLiteral("admin"));
    const QString knownHosts = folder.filePath(QStringLiteral("known_hosts"));
    server.trustIn(knownHosts.toStdString());
    conn.setKnownHostsPath(knownHosts);
    conn.start();
    if (!waitFor([&conn] { return conn.isConnected(); }, 60000)) {
        std::fprintf(stderr, "queue: no session\n");
        return false;
    }
    UtKontainer::setObject(UtKey::DBConn, &conn);

    QList<double> bare;
    for (int round = 0; round < rounds; ++round) {
        bare << timeMs([&] {
            DBReq req(QStringLiteral("select show_queue()"));
            conn.execSync(&req);
            figures->rows = req.rowCount();
        });
    }

    QList<double> refresh;
    double longest = 0;
    {
        MailQueueWnd page;
        page.resize(900, 600);
        page.show();
        page.load(true);
        if (!waitFor([&page] { return page.isInitialised() && page.isEnabled(); }))
            return false;
        // Rows selected and scrolled, as an administrator leaves them.
        page.listView()->topLevelItem(messages / 2)->setSelected(true);
        QElapsedTimer gap;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, double(gap.nsecsElapsed()) / 1e6);
            gap.restart();
        });
        for (int round = 0; round < rounds; ++round) {
            gap.start();
            ticker.start();
            refresh << timeMs([&] {
                page.refresh();
                waitFor([&page] { return !page.isBusy(); });
            });
            ticker.stop();
        }
    }
    UtKontainer::setObject(UtKey::DBConn, nullptr);
    conn.stop();
    figures->refreshMs = median(refresh);
    figures->bareMs = median(bare);
    figures->longestPauseMs = longest;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    QTemporaryDir settings;
    UtKontainer::setStoreFile(settings.filePath(QStringLiteral("bench.ini")));

    // Traffic charts.
    const timegraph::Chart small = chartOf(1000);
    const timegraph::Chart large = chartOf(100000);
    QList<double> smallMs;
    QList<double> largeMs;
    for (int round = 0; round < rounds * 4; ++round) {
        smallMs << timeMs([&] { timegraph::render(small, QSize(800, 300)); });
        largeMs << timeMs([&] { timegraph::render(large, QSize(800, 300)); });
    }
    const double chartRatio = median(largeMs) / median(smallMs);
    std::printf("time graph 100 000 samples: %.2f ms, 1 000 samples: %.2f ms, ratio %.2fx "
                "(target <= 2x) %s\n",
                median(largeMs), median(smallMs), chartRatio, chartRatio <= 2 ? "ok" : "MISSED");

    // Statistics pie charts.
    CPieGraph pie;
    pie.setStatisticsStyle();
    pie.addSlice(3700, QColor(193, 181, 167), QStringLiteral("normal"));
    pie.addSlice(12, QColor(0, 191, 255), QStringLiteral("not spam"));
    pie.addSlice(300, QColor(233, 0, 4), QStringLiteral("tagged"));
    pie.addSlice(120, QColor(0, 165, 0), QStringLiteral("rejected"));
    pie.addSlice(40, QColor(255, 255, 0), QStringLiteral("spam"));
    for (qreal ratio : {1.0, 2.0}) {
        QList<double> pieMs;
        for (int round = 0; round < rounds * 4; ++round)
            pieMs << timeMs([&] { pie.render(QSize(250, 175), ratio); });
        const double frameRatio = median(pieMs) / 16.0;
        std::printf("pie chart at pixel ratio %.0f: %.2f ms = %.2f of a 16 ms frame (target <= 1) "
                    "%s\n",
                    ratio, median(pieMs), frameRatio, frameRatio <= 1 ? "ok" : "MISSED");
    }

    // The queue page.
    QueueFigures ten;
    QueueFigures hundred;
    if (!measureQueue(10000, rounds, &ten) || !measureQueue(100000, rounds, &hundred)) {
        std::fprintf(stderr, "queue: measurement failed\n");
        return 1;
    }
    for (const QueueFigures *f : {&ten, &hundred})
        std::printf(
                "queue refresh %d rows: %.1f ms, bare select %.1f ms (x%.2f), longest event-loop "
                "pause %.1f ms\n",
                f->rows, f->refreshMs, f->bareMs, f->refreshMs / f->bareMs, f->longestPauseMs);
    const double queueRatio = hundred.refreshMs / ten.refreshMs;
    std::printf("queue refresh 100 000 / 10 000: %.2fx (target <= 12x) %s\n", queueRatio,
                queueRatio <= 12 ? "ok" : "MISSED");
    const double bareRatio = hundred.refreshMs / hundred.bareMs;
    std::printf("queue refresh 100 000 / its bare select: %.2fx (target <= 1.2x) %s\n", bareRatio,
                bareRatio <= 1.2 ? "ok" : "MISSED");
    std::printf("longest event-loop pause, 100 000 messages: %.1f ms (target <= 50 ms) %s\n",
                hundred.longestPauseMs, hundred.longestPauseMs <= 50 ? "ok" : "MISSED");
    return 0;
}

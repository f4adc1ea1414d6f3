// Measures the log view against the development server on loopback and prints
// each figure with a baseline taken in the same run:
//  - opening a huge log until its newest page shows, against a 1 000-line log
//    (time and resident memory) and against the bare protocol client reading
//    the same lines (the log information and the same pages);
//  - dragging through the whole huge log in steps, each step until the
//    viewport is filled: resident memory after against before, time against
//    the bare client reading the same pages;
//  - following a log that grows by about 2 000 lines/s: the 99th percentile
//    of the event loop's lateness against the idle loop;
//  - saving 1 000 000 lines against saving 10 000 (peak resident memory) and
//    its rate against the bare client reading the same chunks;
//  - repainting with 20 highlighting rules against none (colours cached, as
//    every repaint but the first after a change), and with colours recomputed.
// Usage: bench_logs_view [huge lines, default 2000000] [rounds, default 5]
// (run with QT_QPA_PLATFORM=offscreen if headless)
#include "db/dbconn.h"
#include "logs/fbufferpage.h"
#include "logs/fdlglogsave.h"
#include "logs/fwndlog.h"
#include "lumadb/lumadb.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/devserver_process.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <memory>

#include <unistd.h>

using postdesk::test::DevServerProcess;

namespace {

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

bool waitFor(const std::function<bool()> &condition, int timeoutMs = 120000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    return true;
}

double residentMb()
{
    QFile file(QStringLiteral("/proc/self/statm"));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = file.readAll().split(' ');
    return fields.size() > 1 ? fields.at(1).toDouble() * double(sysconf(_SC_PAGESIZE)) / 1048576.0
                             : 0;
}

bool filled(FWndLog &view)
{
    if (view.isLoading() || view.count() < 0)
        return false;
    if (view.count() == 0)
        return true;
    const qint64 top = view.topLine();
    const qint64 bottom = qMin(view.count() - 1, top + view.visibleLines() - 1);
    return view.buffer().containsRange(top, bottom) && view.outstandingPageReads() == 0;
}

// The pages a viewport of visible lines at top needs, as the view asks for them.
QList<QPair<qint64, qint64>> pagesFor(qint64 top, int visible, qint64 count)
{
    QList<QPair<qint64, qint64>> pages;
    const qint64 from = qMax<qint64>(0, top - FWndLogBase::kPrefetchMargin);
    const qint64 to = qMin(count - 1, top + visible - 1 + FWndLogBase::kPrefetchMargin);
    for (qint64 line = from; line <= to;) {
        const auto page = fwndlog::FBufferPage::of(line, count, count, true);
        pages.append({page.first, page.last});
        line = page.last + 1;
    }
    return pages;
}

class BareClient
{
public:
    explicit BareClient(const DevServerProcess &server)
    {
        lumadb_open_options options{};
        options.trust = LUMADB_TRUST_INSECURE;
        uint32_t rights = 0;
        if (lumadb_open_ex(server.host().c_str(), server.portText().c_str(), &options, &m_handle)
                    != 0
            || lumadb_login(m_handle, "admin", "admin", &rights, nullptr, nullptr, nullptr, nullptr,
                            DBConn::ApplicationId, 0)
                    != 0) {
            lumadb_close(m_handle);
            m_handle = nullptr;
        }
    }
    ~BareClient() { lumadb_close(m_handle); }
    bool ok() const { return m_handle != nullptr; }
    // Runs a query and touches every cell, as a reader of the lines would.
    qint64 query(const QByteArray &text)
    {
        lumadb_result result{};
        qint64 bytes = -1;
        if (lumadb_query(m_handle, text.constData(), &result) == 0) {
            bytes = 0;
            for (uint32_t row = 0; row < result.row_count; ++row) {
                const unsigned char *data = nullptr;
                uint32_t length = 0;
                if (lumadb_cell(&result, row, 0, &data, &length) == 0)
                    bytes += length;
            }
        }
        lumadb_free_result(&result);
        return bytes;
    }
    // The log information, as the view reads it on opening.
    void info() { query(QByteArrayLiteral("select LogList(\"mail\")")); }
    void readPages(const QList<QPair<qint64, qint64>> &pages)
    {
        for (const auto &page : pages)
            query(QByteArrayLiteral("select LogData(\"mail\", ") + QByteArray::number(page.first)
                  + ", " + QByteArray::number(page.second - page.first + 1) + ")");
    }

private:
    lumadb_handle *m_handle = nullptr;
};

struct Session
{
    std::unique_ptr<DevServerProcess> server;
    std::unique_ptr<DBConn> conn;
};

bool connect(Session &session, std::vector<std::string> args, const QString &knownHosts)
{
    session.server = std::make_unique<DevServerProcess>(std::move(args));
    if (!session.server->start()) {
        std::fprintf(stderr, "server: %s\n", session.server->errorText().c_str());
        return false;
    }
    session.conn = std::make_unique<DBConn>(QString::fromStdString(session.server->host()),
                                            session.server->port(), QStringLiteral("admin"),
                                            QStringLiteral("admin"));
    session.conn->setKnownHostsPath(knownHosts);
    session.conn->start();
    if (!waitFor([&] { return session.conn->isConnected(); }))
        return false;
    session.conn->startNotifications();
    UtKontainer::setObject(UtKey::DBConn, session.conn.get());
    return true;
}

std::unique_ptr<FWndLog> showView(DBConn *conn, int lines = 40)
{
    auto view = std::make_unique<FWndLog>(QStringLiteral("mail"), conn);
    view->resize(800,
                 view->fontMetrics().height() * lines
                         + view->horizontalScrollBar()->sizeHint().height());
    view->show();
    return view;
}

struct OpenFigures
{
    double ms = 0;
    double residentMb = 0;
    double bareMs = 0;
};

OpenFigures measureOpen(Session &session, int rounds)
{
    QList<double> times, bare;
    double resident = 0;
    BareClient client(*session.server);
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer clock;
        clock.start();
        auto view = showView(session.conn.get());
        if (!waitFor([&] { return filled(*view) && view->count() > 0; }))
            std::fprintf(stderr, "open: the view did not fill\n");
        times.append(double(clock.nsecsElapsed()) / 1e6);
        resident = qMax(resident, residentMb());
        const int visible = view->visibleLines();
        const qint64 count = view->count();
        view.reset();
        QCoreApplication::processEvents();

        clock.restart();
        client.info();
        client.readPages(pagesFor(qMax<qint64>(0, count - visible + 1), visible, count));
        bare.append(double(clock.nsecsElapsed()) / 1e6);
    }
    return {median(times), resident, median(bare)};
}

double p99LatenessMs(int milliseconds)
{
    QList<double> lateness;
    QElapsedTimer clock;
    clock.start();
    qint64 expected = 5;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        lateness.append(double(qMax<qint64>(0, now - expected)));
        expected = now + 5;
    });
    tick.start();
    waitFor([&] { return clock.elapsed() > milliseconds; }, milliseconds + 1000);
    tick.stop();
    std::sort(lateness.begin(), lateness.end());
    return lateness.isEmpty() ? 0 : lateness.at(int(double(lateness.size() - 1) * 0.99));
}

QList<fwndlog::FLogRule> twentyRules()
{
    QList<fwndlog::FLogRule> rules;
    for (int i = 0; i < 20; ++i) {
        fwndlog::FLogRule rule;
        rule.order = i;
        rule.condition = i % 2 ? QStringLiteral("no-such-text-%1").arg(i)
                               : QStringLiteral("absent[0-9]+x%1").arg(i);
        rule.isRegularExpression = i % 2 == 0;
        rule.color = QColor(0xcc, 0xff, 0xcc);
        rules.append(rule);
    }
    return rules;
}

// target < 0: at most; target > 0: at least; 0: no target, figure only.
void report(const char *what, double value, double baseline, double target, const char *unit)
{
    const double ratio = baseline > 0 ? value / baseline : 0;
    std::printf("%-58s %10.2f %-4s vs %10.2f %-4s x%.2f", what, value, unit, baseline, unit, ratio);
    if (target < 0)
        std::printf(" (target at most x%.2f) %s", -target, ratio <= -target ? "ok" : "MISSED");
    else if (target > 0)
        std::printf(" (target at least x%.2f) %s", target, ratio >= target ? "ok" : "MISSED");
    std::printf("\n");
}

struct SaveFigures
{
    double ms = 0;
    double peakMb = 0;
};

// Saves lines 0 .. lines-1 of the view's log through the save dialog; the
// peak is the process's resident memory while saving.
SaveFigures measureSave(FWndLog &view, qint64 lines, const QString &path)
{
    view.selection()->select({0, 0}, {lines - 1, fwndlog::FTextPos::kLineEnd});
    FDlgLogSave dialog(&view, true);
    dialog.fileEdit()->setText(path);
    double peak = residentMb();
    QElapsedTimer clock;
    clock.start();
    dialog.accept();
    waitFor(
            [&] {
                peak = qMax(peak, residentMb());
                return dialog.outcome() != FDlgLogSave::Outcome::None;
            },
            600000);
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    if (dialog.outcome() != FDlgLogSave::Outcome::Saved)
        std::fprintf(stderr, "save of %lld lines did not complete\n", lines);
    QFile::remove(path);
    return {ms, peak};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    const qint64 hugeLines = argc > 1 ? qMax(1000LL, atoll(argv[1])) : 2000000;
    const int rounds = argc > 2 ? qMax(1, atoi(argv[2])) : 5;
    QTemporaryDir folder;
    const QString knownHosts = folder.filePath(QStringLiteral("known_hosts"));
    UtKontainer::setStoreFile(folder.filePath(QStringLiteral("settings.ini")));

    std::printf("log view benchmark: huge log %lld lines, %d rounds\n", hugeLines, rounds);
    Session small, huge;
    if (!connect(small, {"--no-ticker", "--seed-log-lines", "1000"}, knownHosts)
        || !connect(huge, {"--no-ticker", "--seed-log-lines", std::to_string(hugeLines)},
                    knownHosts))
        return 1;

    // Warm both sessions (fonts, first layout, the server's page cache).
    measureOpen(small, 1);
    measureOpen(huge, 1);
    const OpenFigures openSmall = measureOpen(small, rounds);
    const OpenFigures openHuge = measureOpen(huge, rounds);
    report("open: huge log against a 1 000-line log (time)", openHuge.ms, openSmall.ms, -1.2, "ms");
    report("open: huge log against a 1 000-line log (memory)", openHuge.residentMb,
           openSmall.residentMb, -1.2, "MB");
    report("open: view against the bare client, same lines", openHuge.ms, openHuge.bareMs, 0, "ms");

    // Drag through the whole log.
    {
        auto view = showView(huge.conn.get());
        waitFor([&] { return filled(*view) && view->count() > 0; });
        const double before = residentMb();
        const int steps = 200;
        const qint64 count = view->count();
        QElapsedTimer clock;
        clock.start();
        QList<qint64> tops;
        for (int step = 0; step <= steps; ++step) {
            view->scrollToLine(count * step / steps);
            waitFor([&] { return filled(*view); });
            tops.append(view->topLine());
        }
        const double viewMs = double(clock.nsecsElapsed()) / 1e6;
        const double after = residentMb();
        const int visible = view->visibleLines();
        view.reset();
        BareClient client(*huge.server);
        clock.restart();
        for (qint64 top : tops)
            client.readPages(pagesFor(top, visible, count));
        const double bareMs = double(clock.nsecsElapsed()) / 1e6;
        report("drag: resident memory after against before", after, before, -1.1, "MB");
        report("drag: view against the bare client, same pages", viewMs, bareMs, 0, "ms");
    }

    // Following a fast-growing log (the mail log gets 3 of 11 ticker lines).
    {
        Session growing;
        if (!connect(growing, {"--seed-log-lines", "1000", "--log-rate", "7334"}, knownHosts))
            return 1;
        const double idle = p99LatenessMs(3000);
        auto view = showView(growing.conn.get());
        waitFor([&] { return filled(*view) && view->count() > 0; });
        const qint64 start = view->count();
        const double following = p99LatenessMs(3000);
        const double rate = double(view->count() - start) / 3.0;
        std::printf("follow: %.0f lines/s arrived while measuring\n", rate);
        report("follow: event lateness p99 against idle", following, qMax(idle, 1.0), -2.0, "ms");
    }

    // Repainting with colours recomputed for every line.
    {
        auto view = showView(huge.conn.get(), 60);
        waitFor([&] { return filled(*view) && view->count() > 0; });
        const auto paintAll = [&](const QList<fwndlog::FLogRule> &rules, bool recompute) {
            view->setRules(rules);
            view->viewport()->repaint();
            QList<double> times;
            for (int round = 0; round < 50; ++round) {
                if (recompute)
                    view->setRules(rules);
                QElapsedTimer clock;
                clock.start();
                view->viewport()->repaint();
                times.append(double(clock.nsecsElapsed()) / 1e6);
            }
            return median(times);
        };
        paintAll({}, false);
        const double none = paintAll({}, false);
        const double twenty = paintAll(twentyRules(), false);
        report("repaint: 20 highlighting rules against none", twenty, none, -2.0, "ms");
        const double noneFresh = paintAll({}, true);
        const double twentyFresh = paintAll(twentyRules(), true);
        report("repaint, colours recomputed: 20 rules against none", twentyFresh, noneFresh, 0,
               "ms");
    }

    // Saving: memory against a small save, rate against the bare chunk reads.
    {
        const qint64 big = qMin<qint64>(1000000, hugeLines);
        auto view = showView(huge.conn.get());
        waitFor([&] { return filled(*view) && view->count() > 0; });
        const QString path = folder.filePath(QStringLiteral("saved.txt"));
        measureSave(*view, 10000, path);
        const SaveFigures small = measureSave(*view, 10000, path);
        const SaveFigures large = measureSave(*view, big, path);
        BareClient client(*huge.server);
        QElapsedTimer clock;
        clock.start();
        for (qint64 first = 0; first < big; first += FDlgLogSave::kChunkLines)
            client.query(QByteArrayLiteral("select LogData(\"mail\", ") + QByteArray::number(first)
                         + ", " + QByteArray::number(qMin(FDlgLogSave::kChunkLines, big - first))
                         + ")");
        const double bareMs = double(clock.nsecsElapsed()) / 1e6;
        report("save: peak resident memory, 1 000 000 lines against 10 000", large.peakMb,
               small.peakMb, -1.1, "MB");
        // Rates: lines per millisecond, the bare reads' rate as the baseline.
        report("save: lines/ms against the bare LogData reads", double(big) / large.ms,
               double(big) / bareMs, 0.8, "l/ms");
    }
    UtKontainer::remove(UtKey::DBConn);
    return 0;
}

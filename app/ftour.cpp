#include "app/ftour.h"

#include "app/fconsole.h"
#include "app/fmaintree.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fwindow.h"
#include "db/dbconn.h"

#include <QDir>
#include <QTreeWidgetItemIterator>

#include <cstdio>

namespace {
constexpr int kSessionTimeoutMs = 60000;
constexpr int kPageTimeoutMs = 15000;
} // namespace

FTour::FTour(FConsole *console, const QString &folder, QObject *parent)
    : QObject(parent)
    , m_console(console)
    , m_folder(folder)
{
    m_poll.setInterval(100);
    connect(&m_poll, &QTimer::timeout, this, &FTour::slotPoll);
}

QString FTour::slug(const QString &text)
{
    QString result;
    for (QChar c : text.toLower()) {
        if (c.isLetterOrNumber() && c.unicode() < 128)
            result += c;
        else if (!result.isEmpty() && !result.endsWith(QLatin1Char('-')))
            result += QLatin1Char('-');
    }
    while (result.endsWith(QLatin1Char('-')))
        result.chop(1);
    return result;
}

void FTour::start()
{
    if (!QDir().mkpath(m_folder)) {
        std::fprintf(stderr, "tour: cannot create %s\n", qPrintable(m_folder));
        QTimer::singleShot(0, this, [this] { finish(1); });
        return;
    }
    m_clock.start();
    m_phase = Phase::WaitingForSession;
    m_poll.start();
}

void FTour::slotPoll()
{
    FWindow *area = m_console->pageArea();
    DBConn *connection = m_console->connection();
    if (!area || !connection) {
        finish(1);
        return;
    }
    if (m_phase == Phase::WaitingForSession) {
        if (connection->isConnected() && area->isInfoLoaded() && area->areLogsLoaded()) {
            QTreeWidgetItemIterator it(area->tree());
            for (; *it; ++it) {
                if (!(*it)->isHidden())
                    m_ids.append(static_cast<FMainTreeItem *>(*it)->id());
            }
            m_phase = Phase::ShowingPage;
            nextSection();
        } else if (m_clock.elapsed() > kSessionTimeoutMs) {
            std::fprintf(stderr, "tour: the console did not connect: %s\n",
                         qPrintable(connection->lastErrorText()));
            finish(1);
        }
        return;
    }
    const bool loaded = FPage::isLoaded(area->currentPage());
    if (loaded || m_clock.elapsed() > kPageTimeoutMs) {
        if (!loaded)
            m_failed = true;
        capture();
        nextSection();
    }
}

void FTour::nextSection()
{
    ++m_index;
    if (m_index >= m_ids.size()) {
        finish(m_failed ? 1 : 0);
        return;
    }
    m_console->pageArea()->selectSection(m_ids.at(m_index));
    m_clock.restart();
}

void FTour::capture()
{
    FMainTreeItem *item = m_console->pageArea()->tree()->item(m_ids.at(m_index));
    const QString name
            = QStringLiteral("%1-%2.png")
                      .arg(m_index + 1, 2, 10, QLatin1Char('0'))
                      .arg(slug(item ? item->text(0) : QString::number(m_ids.at(m_index))));
    const QString path = QDir(m_folder).filePath(name);
    if (m_console->mainWindow()->grab().save(path, "PNG"))
        m_written.append(path);
    else
        m_failed = true;
}

void FTour::finish(int status)
{
    m_poll.stop();
    std::fprintf(stderr, "tour: %lld screenshots in %s\n", static_cast<long long>(m_written.size()),
                 qPrintable(QDir(m_folder).absolutePath()));
    emit signalFinished(status);
}

#include "app/ftour.h"

#include "app/fconsole.h"
#include "app/fmaintree.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/blistview.h"
#include "forms/tbformlist.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPushButton>
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
        if (loaded)
            captureDialog();
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

QString FTour::shotPath(const QString &suffix) const
{
    FMainTreeItem *item = m_console->pageArea()->tree()->item(m_ids.at(m_index));
    const QString name
            = QStringLiteral("%1-%2%3.png")
                      .arg(m_index + 1, 2, 10, QLatin1Char('0'))
                      .arg(slug(item ? item->text(0) : QString::number(m_ids.at(m_index))), suffix);
    return QDir(m_folder).filePath(name);
}

void FTour::save(QWidget *window, const QString &path)
{
    if (window->grab().save(path, "PNG"))
        m_written.append(path);
    else
        m_failed = true;
}

void FTour::capture()
{
    save(m_console->mainWindow(), shotPath(QString()));
}

// A list page's edit dialog for its current row, photographed and cancelled:
// the tour changes nothing.
void FTour::captureDialog()
{
    QWidget *page = m_console->pageArea()->currentPage();
    auto *list = qobject_cast<TBFormList *>(page);
    if (!list && page)
        list = page->findChild<TBFormList *>();
    if (!list || !list->editButton()->isEnabled() || !list->listView()->currentItem())
        return;
    QTimer watch;
    watch.setInterval(50);
    int polls = 0;
    connect(&watch, &QTimer::timeout, this, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible()) {
            if (++polls * watch.interval() > kPageTimeoutMs)
                watch.stop();
            return;
        }
        watch.stop();
        QApplication::processEvents(); // laid out and painted once
        save(modal, shotPath(QStringLiteral("-dialog")));
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    });
    watch.start();
    list->editButton()->click();
    watch.stop();
}

void FTour::finish(int status)
{
    m_poll.stop();
    std::fprintf(stderr, "tour: %lld screenshots in %s\n", static_cast<long long>(m_written.size()),
                 qPrintable(QDir(m_folder).absolutePath()));
    emit signalFinished(status);
}

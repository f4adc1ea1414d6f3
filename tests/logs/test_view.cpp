// The log view against the development server over TLS: the newest page at
// once, pages read as the view scrolls with no blank band (also taller than a
// page), the tail followed live, clearing, shrinking and rotation reloading,
// prefetch cancelling only its own reads, closing while reads are out, links.
#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "db/utdebug.h"
#include "forms/blistview.h"
#include "logs/fdlglogevent.h"
#include "logs/fdlglogsave.h"
#include "logs/fdlglogsettings.h"
#include "logs/fwndlog.h"
#include "logs/fwndlogregexp.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/modalwatcher.h"
#include "support/testserver.h"

#include <QAccessible>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QMutex>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUuid>
#include <QtEndian>
#include <QtTest>

#include <memory>

using postdesk::test::ModalWatcher;
using postdesk::test::TestServer;

namespace {

constexpr int kTimeout = 30000;

// Every LogData and search query the connection sends, from the debug output.
class QueryLog
{
public:
    QueryLog()
    {
        m_sink = UtDebug::addSink([this](int category, int, const QString &line) {
            if (category != UtDebug::CategoryQuery
                || !(line.contains(QLatin1String("LogData("))
                     || line.contains(QLatin1String("LogSearch("))
                     || line.contains(QLatin1String("LogCtrl("))))
                return;
            QMutexLocker locker(&m_lock);
            m_lines.append(line);
        });
    }
    ~QueryLog() { UtDebug::removeSink(m_sink); }
    QStringList lines()
    {
        QMutexLocker locker(&m_lock);
        return m_lines;
    }
    QStringList controls()
    {
        QStringList found;
        for (const QString &line : lines()) {
            const qsizetype at = line.indexOf(QLatin1String("select LogCtrl("));
            if (at >= 0)
                found.append(line.mid(at));
        }
        return found;
    }
    // The line counts of every LogData read seen.
    QList<qint64> readSizes()
    {
        static const QRegularExpression pattern(
                QStringLiteral("LogData\\(\"[^\"]*\", (\\d+), (\\d+)\\)"));
        QList<qint64> sizes;
        for (const QString &line : lines()) {
            const auto match = pattern.match(line);
            if (match.hasMatch())
                sizes.append(match.captured(2).toLongLong());
        }
        return sizes;
    }

private:
    int m_sink = -1;
    QMutex m_lock;
    QStringList m_lines;
};

// Receives the links the view opens.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl &url) { urls.append(url); }
};

QString serverLine(DBConn *conn, qint64 line)
{
    DBReq req(QStringLiteral("select LogData(\"mail\", %1, 1)").arg(line));
    if (!conn->execSync(&req) || req.rowCount() != 1)
        return QStringLiteral("<failed: %1>").arg(req.errorText());
    QByteArray bytes = req.cellBytes(0, 0).toByteArray();
    while (bytes.endsWith('\0'))
        bytes.chop(1);
    return QString::fromUtf8(bytes);
}

qint64 serverCount(DBConn *conn)
{
    DBReq req(QStringLiteral("select LogList(\"mail\")"));
    if (!conn->execSync(&req) || req.rowCount() != 1)
        return -1;
    return req.readInt(0, 1).value();
}

// Every line the viewport shows is buffered.
bool noBlankBand(FWndLog &view)
{
    if (view.count() <= 0)
        return true;
    const qint64 top = view.topLine();
    const qint64 bottom = qMin(view.count() - 1, top + view.visibleLines() - 1);
    return view.buffer().containsRange(top, bottom);
}

QByteArray packet(int logId, quint32 offset, quint32 count)
{
    QByteArray data(10, '\0');
    data[0] = char(logId);
    data[1] = 8;
    qToBigEndian<quint32>(offset, data.data() + 2);
    qToBigEndian<quint32>(count, data.data() + 6);
    return data;
}

} // namespace

class TestLogView : public QObject
{
    Q_OBJECT

private:
    // A server with args, connected as user, and a shown view of "mail".
    bool setUp(std::vector<std::string> args, const QString &user = QStringLiteral("admin"),
               int heightLines = 30, const QString &log = QStringLiteral("mail"))
    {
        m_view.reset();
        m_server = std::make_unique<TestServer>(std::move(args));
        if (!m_server->connectAs(user))
            return false;
        m_server->conn()->startNotifications();
        UtKontainer::setInt(UtKey::AdminHasLogRegExp, 1);
        m_view = std::make_unique<FWndLog>(log, m_server->conn());
        m_view->resize(640,
                       m_view->fontMetrics().height() * heightLines
                               + m_view->horizontalScrollBar()->sizeHint().height());
        m_view->show();
        return QTest::qWaitForWindowExposed(m_view.get());
    }
    bool waitOpen()
    {
        return QTest::qWaitFor(
                [this] {
                    return !m_view->isLoading() && m_view->count() >= 0
                            && m_view->outstandingPageReads() == 0 && noBlankBand(*m_view)
                            && (m_view->count() == 0
                                || m_view->buffer().contains(m_view->count() - 1));
                },
                kTimeout);
    }

    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<FWndLog> m_view;

private slots:
    void cleanup()
    {
        m_view.reset();
        if (m_server)
            m_server->clearFaults();
        m_server.reset();
    }

    void opensAtTheNewestPage()
    {
        QueryLog queries;
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "10250"}));
        QSignalSpy arrived(m_view.get(), &FWndLogBase::signalDataReady);
        QVERIFY(waitOpen());
        QCOMPARE(m_view->count(), 10250);
        QVERIFY(m_view->isLastLineVisible());
        // The newest page is read first and holds whole pages counted from the end.
        QVERIFY(!arrived.isEmpty());
        QCOMPARE(arrived.first().at(0).toLongLong(), 10150);
        QCOMPARE(arrived.first().at(1).toLongLong(), 10249);
        QCOMPARE(m_view->lineText(10249), serverLine(m_server->conn(), 10249));
        QCOMPARE(m_view->lineText(m_view->topLine()),
                 serverLine(m_server->conn(), m_view->topLine()));
        for (qint64 size : queries.readSizes())
            QVERIFY2(size <= 100, qPrintable(QString::number(size)));
        QCOMPARE(m_view->property(FWndLog::kLoadedProperty).toBool(), true);
    }

    void scrollingLeavesNoBlankBand_data()
    {
        QTest::addColumn<int>("heightLines");
        QTest::newRow("short viewport") << 30;
        QTest::newRow("taller than a page") << 230;
    }
    void scrollingLeavesNoBlankBand()
    {
        QFETCH(int, heightLines);
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "10250"}, QStringLiteral("admin"),
                      heightLines));
        QVERIFY(waitOpen());
        QVERIFY(m_view->visibleLines() >= heightLines);
        const qint64 bottom = m_view->count() - 1;
        for (qint64 line : {qint64(0), qint64(5000), qint64(5060), qint64(4990), bottom - 250,
                            qint64(49), bottom}) {
            m_view->scrollToLine(line);
            QTRY_VERIFY_WITH_TIMEOUT(noBlankBand(*m_view) && m_view->outstandingPageReads() == 0,
                                     kTimeout);
            // Bounded by the viewport plus margins, whatever the log's length.
            QVERIFY(m_view->buffer().size() <= m_view->buffer().capacity());
            QVERIFY(m_view->buffer().capacity()
                    <= qMax<qint64>(300, (heightLines + 50) / 100 * 100 + 300));
            const qint64 top = m_view->topLine();
            QCOMPARE(m_view->lineText(top), serverLine(m_server->conn(), top));
        }
        // Jumping far away replaced the buffer instead of keeping old pages.
        m_view->scrollToLine(3000);
        QTRY_VERIFY_WITH_TIMEOUT(noBlankBand(*m_view), kTimeout);
        QVERIFY(!m_view->buffer().contains(bottom));
    }

    void followsTheTail()
    {
        QVERIFY(setUp({"--seed-log-lines", "1000", "--log-rate", "400"}));
        QVERIFY(waitOpen());
        const qint64 start = m_view->count();
        QTRY_VERIFY_WITH_TIMEOUT(m_view->count() > start + 150, kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->buffer().last() == m_view->count() - 1
                                         && m_view->isLastLineVisible() && noBlankBand(*m_view),
                                 kTimeout);
        const qint64 last = m_view->buffer().last();
        QCOMPARE(m_view->lineText(last), serverLine(m_server->conn(), last));
        QCOMPARE(m_view->lineText(last - 60), serverLine(m_server->conn(), last - 60));
        // Updates never read more than a page.
        QVERIFY(m_view->buffer().size() <= m_view->buffer().capacity());

        // Scrolled up with whole pages held: only the count and the range change.
        m_view->scrollToLine(0);
        QTRY_VERIFY_WITH_TIMEOUT(noBlankBand(*m_view) && m_view->outstandingPageReads() == 0,
                                 kTimeout);
        const qint64 held = m_view->buffer().last();
        const int maximum = m_view->verticalScrollBar()->maximum();
        const qint64 count = m_view->count();
        QTRY_VERIFY_WITH_TIMEOUT(m_view->count() > count + 100, kTimeout);
        QCOMPARE(m_view->topLine(), 0);
        QVERIFY(m_view->verticalScrollBar()->maximum() > maximum);
        QCOMPARE(m_view->buffer().last(), held);
    }

    void manyNewLinesOnlyChangeTheCount()
    {
        QueryLog queries;
        QVERIFY(setUp({"--seed-log-lines", "500", "--log-rate", "4000"}));
        QVERIFY(waitOpen());
        const qint64 start = m_view->count();
        QTRY_VERIFY_WITH_TIMEOUT(m_view->count() > start + 1000, kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(noBlankBand(*m_view) && m_view->isLastLineVisible(), kTimeout);
        QVERIFY(m_view->buffer().size() <= m_view->buffer().capacity());
        // Bursts of more than a page were never read as one update.
        const QList<qint64> sizes = queries.readSizes();
        QVERIFY(!sizes.isEmpty());
        for (qint64 size : sizes)
            QVERIFY2(size <= 100, qPrintable(QString::number(size)));
    }

    void clearingAndShrinkingReload()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "1000"}));
        QVERIFY(waitOpen());
        QSignalSpy cleared(m_view.get(), &FWndLogBase::signalCleared);
        const quint64 generation = m_view->generation();
        m_view->slotClearLog(false);
        QTRY_VERIFY_WITH_TIMEOUT(!cleared.isEmpty(), kTimeout);
        QCOMPARE(cleared.first().at(0).toBool(), true);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->generation() > generation && !m_view->isLoading(),
                                 kTimeout);
        QCOMPARE(m_view->count(), 0);
        QVERIFY(m_view->buffer().isEmpty());
        QCOMPARE(serverCount(m_server->conn()), 0);

        // New lines after the clear are followed.
        QCOMPARE(m_server->control(QStringLiteral("select run_queue()")), 0u);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->count() == 1 && m_view->buffer().contains(0), kTimeout);
        QVERIFY(m_view->lineText(0).startsWith(QLatin1String("QUEUE:")));

        // Cleared by another session: the count went down, the log is read again.
        QCOMPARE(m_server->control(QStringLiteral("select run_queue()")), 0u);
        QTRY_COMPARE_WITH_TIMEOUT(m_view->count(), 2, kTimeout);
        const quint64 before = m_view->generation();
        QCOMPARE(m_server->control(QStringLiteral("select LogCtrl(\"mail\", 1)")), 0u);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->generation() > before && m_view->count() == 0
                                         && !m_view->isLoading(),
                                 kTimeout);
        QVERIFY(m_view->buffer().isEmpty());
    }

    void rotationReloads()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "300"}));
        QVERIFY(waitOpen());
        const quint64 generation = m_view->generation();
        // Foreign and malformed packets change nothing.
        for (QByteArray data : {packet(m_view->logId() + 1, quint32(m_view->offset()), 5),
                                packet(m_view->logId(), quint32(m_view->offset()), 300).left(9),
                                packet(m_view->logId(), quint32(m_view->offset()), 300)}) {
            m_view->slotUpdateData(reinterpret_cast<uchar *>(data.data()), int(data.size()));
        }
        QCoreApplication::processEvents();
        QCOMPARE(m_view->generation(), generation);
        // A new offset means a new file: the log is read again from the start.
        QByteArray rotated = packet(m_view->logId(), quint32(m_view->offset()) + 1, 301);
        m_view->slotUpdateData(reinterpret_cast<uchar *>(rotated.data()), int(rotated.size()));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->generation() > generation && !m_view->isLoading(),
                                 kTimeout);
        QVERIFY(waitOpen());
        QCOMPARE(m_view->count(), 300);
    }

    void staleResultsAreDropped()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "5000"}));
        QVERIFY(waitOpen());
        QVERIFY(m_server->fault(QStringLiteral("delay"), QStringLiteral("300")));
        m_view->scrollToLine(1000);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->outstandingPageReads() > 0, kTimeout);
        // The log is cleared while the reads are out; their lines must not show.
        QCOMPARE(m_server->control(QStringLiteral("select LogCtrl(\"mail\", 1)")), 0u);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->count() == 0 && !m_view->isLoading(), kTimeout);
        QVERIFY(m_server->clearFaults());
        DBReq drained(QStringLiteral("select dummy from info"));
        QVERIFY(m_server->conn()->execSync(&drained));
        QCoreApplication::processEvents();
        QVERIFY(m_view->buffer().isEmpty());
        QCOMPARE(m_view->outstandingPageReads(), 0);
    }

    void scrollingCancelsOnlyItsOwnReads()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "20000"}));
        QVERIFY(waitOpen());
        QVERIFY(m_server->fault(QStringLiteral("delay"), QStringLiteral("50")));
        // Somebody else's cancellable request queued behind the first reads.
        m_view->scrollToLine(100);
        std::atomic<int> othersDone{0};
        std::atomic<uint> othersCode{999};
        auto *other = new DBReq(QStringLiteral("select LogList(\"mail\")"), true);
        connect(
                other, &DBReq::signalFinished, other,
                [&](DBReq *req) {
                    othersCode = req->resultCode();
                    ++othersDone;
                },
                Qt::DirectConnection);
        m_server->conn()->addRequest(other);
        for (qint64 line = 200; line < 19000; line += 1000)
            m_view->scrollToLine(line);
        m_view->scrollToLine(15000);
        QTRY_VERIFY_WITH_TIMEOUT(othersDone.load() == 1, kTimeout);
        QCOMPARE(othersCode.load(), 0u);
        // A page that drops the connection's cancellable requests does not
        // take the view's reads with it.
        m_view->scrollToLine(9000);
        m_server->conn()->cancelPending(true);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->outstandingPageReads() == 0 && noBlankBand(*m_view),
                                 kTimeout);
        QVERIFY(m_view->cancelledPageReads() > 0);
        QCOMPARE(m_view->lineText(9000), serverLine(m_server->conn(), 9000));
    }

    void closingWhileReadsAreOut()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "5000"}));
        QVERIFY(waitOpen());
        QVERIFY(m_server->fault(QStringLiteral("delay"), QStringLiteral("200")));
        m_view->scrollToLine(10);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->outstandingPageReads() > 0, kTimeout);
        m_view.reset();
        // A view closed at once, its first reads (information, rules) still queued.
        {
            FWndLog brief(QStringLiteral("mail"), m_server->conn());
            QCoreApplication::processEvents();
        }
        // Everything that was under way finishes into nothing.
        DBReq drained(QStringLiteral("select dummy from info"));
        QVERIFY(m_server->conn()->execSync(&drained));
        QCoreApplication::processEvents();
        QVERIFY(m_server->clearFaults());
    }

    void clearingIsRefusedForAReader()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "300"}, QStringLiteral("viewer")));
        QVERIFY(waitOpen());
        QCOMPARE(m_view->clearAction(), nullptr);
        QSignalSpy cleared(m_view.get(), &FWndLogBase::signalCleared);
        ModalWatcher watcher;
        QString shown;
        watcher.expect([&shown](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (box) {
                shown = box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            }
        });
        m_view->slotClearLog(false);
        QTRY_VERIFY_WITH_TIMEOUT(!cleared.isEmpty(), kTimeout);
        QCOMPARE(cleared.first().at(0).toBool(), false);
        QTRY_VERIFY_WITH_TIMEOUT(!shown.isEmpty(), kTimeout);
        QVERIFY(shown.startsWith(QLatin1String("Error|Sorry, but log cannot be cleared")));
        QCOMPARE(serverCount(m_server->conn()), 300);
        QCOMPARE(m_view->count(), 300);
    }

    void linksOpenInTheBrowser()
    {
        // The spam log's lines carry links; the ticker writes them.
        QVERIFY(setUp({"--log-rate", "400"}, QStringLiteral("admin"), 20, QStringLiteral("spam")));
        QVERIFY(waitOpen());
        QTRY_VERIFY_WITH_TIMEOUT(m_view->count() > 120 && noBlankBand(*m_view), kTimeout);
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
        const auto unset = qScopeGuard([] {
            QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
            QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        });
        // A buffered line with a link, brought to the top of the viewport, far
        // enough from the end that the view stops following the tail.
        qint64 linked = -1;
        for (qint64 line = m_view->buffer().last() - 50;
             line >= m_view->buffer().first() && linked < 0; --line) {
            if (m_view->lineText(line).contains(QLatin1String("http")))
                linked = line;
        }
        QVERIFY2(linked >= 0, "no link in the newest pages");
        m_view->scrollToLine(linked);
        QTRY_VERIFY_WITH_TIMEOUT(noBlankBand(*m_view), kTimeout);
        m_view->horizontalScrollBar()->setValue(0);
        const int row = int(linked - m_view->topLine());
        const QString text = m_view->lineText(linked);
        const int column = int(text.indexOf(QLatin1String("http")));
        const int lh = m_view->lineHeight();
        const QPoint at(
                m_view->fontMetrics().horizontalAdvance(text.left(column + 2))
                        - (m_view->horizontalScrollBar()->value() - FWndLogBase::kLeftMargin),
                row * lh + lh / 2);
        const std::optional<fwndlog::fdata::Link> link = m_view->linkAt(at);
        QVERIFY2(link.has_value(), "no link among the visible lines");
        QTest::mouseMove(m_view->viewport(), at);
        QTRY_COMPARE_WITH_TIMEOUT(m_view->viewport()->cursor().shape(), Qt::PointingHandCursor,
                                  kTimeout);
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, {}, at);
        QTRY_COMPARE_WITH_TIMEOUT(catcher.urls.size(), 1, kTimeout);
        QVERIFY(catcher.urls.first().scheme().startsWith(QLatin1String("http")));
        QCOMPARE(catcher.urls.first(),
                 QUrl(m_view->lineText(link->line).mid(link->start, link->length)));
        // Away from the link the pointer is the text cursor again.
        QTest::mouseMove(m_view->viewport(), QPoint(1, at.y()));
        QTRY_COMPARE_WITH_TIMEOUT(m_view->viewport()->cursor().shape(), Qt::IBeamCursor, kTimeout);
    }

    void columnLookupOnLongLines()
    {
        QVERIFY(setUp({"--no-ticker"}));
        const QString text = QString(QLatin1String("abcdefghij")).repeated(10000);
        const QFontMetrics metrics = m_view->fontMetrics();
        for (int column : {0, 1, 7, 5000, 99999, 100000}) {
            const int x = metrics.horizontalAdvance(text.left(column));
            QCOMPARE(m_view->columnAt(text, x), column);
            if (column > 0)
                QCOMPARE(m_view->columnAt(text, x - 1), column - 1);
        }
        QCOMPARE(m_view->columnAt(text, -5), 0);
        QCOMPARE(m_view->columnAt(text, metrics.horizontalAdvance(text) + 100), 100000);
    }

    void copiesTextAndHtml()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "1000"}));
        QVERIFY(waitOpen());
        using fwndlog::FTextPos;
        const qint64 last = m_view->count() - 1;
        m_view->selection()->select({last - 2, 5}, {last, 12});
        QVERIFY(m_view->copyAction()->isEnabled());
        m_view->slotCopy();
        const QStringList lines{serverLine(m_server->conn(), last - 2).mid(5),
                                serverLine(m_server->conn(), last - 1),
                                serverLine(m_server->conn(), last).left(12)};
        const QMimeData *copied = QApplication::clipboard()->mimeData();
        QCOMPARE(copied->text(), lines.join(QStringLiteral("\r\n")));
        const QString html = copied->html();
        QVERIFY(html.startsWith(QLatin1String("<!DOCTYPE HTML PUBLIC")));
        QVERIFY(html.contains(QLatin1String("<title>Brantel Administration Console Log</title>")));
        QCOMPARE(html.count(QLatin1String("<div style=\"background-color:#")), 3);
        // The log's own angle brackets are text, never markup.
        QVERIFY(lines.at(1).contains(QLatin1Char('<')));
        QVERIFY(html.contains(lines.at(1).toHtmlEscaped()));

        // A selection beyond the buffer is read from the server.
        m_view->selection()->select({3, 0}, {5, FTextPos::kLineEnd});
        QVERIFY(!m_view->buffer().contains(3));
        m_view->slotCopy();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringList({serverLine(m_server->conn(), 3), serverLine(m_server->conn(), 4),
                              serverLine(m_server->conn(), 5)})
                         .join(QStringLiteral("\r\n")));

        // 300 lines are copied; 301 lines ask to save instead.
        m_view->selection()->select({100, 0}, {399, FTextPos::kLineEnd});
        m_view->slotCopy();
        QCOMPARE(QApplication::clipboard()->text().count(QLatin1String("\r\n")), 299);
        ModalWatcher watcher;
        QString asked;
        watcher.expect([&asked](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                asked = box->text();
                box->button(QMessageBox::No)->click();
            }
        });
        // Ctrl+A then Ctrl+C through the keys.
        m_view->setFocus();
        QTest::keyClick(m_view.get(), Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(m_view->selection()->lineCount(), m_view->count());
        QTest::keyClick(m_view.get(), Qt::Key_Insert, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!asked.isEmpty(), kTimeout);
        QVERIFY(asked.contains(QLatin1String("The selection is too big to fit into memory.")));
        QCOMPARE(QApplication::clipboard()->text().count(QLatin1String("\r\n")), 299);
    }

    void selectsWithMouseAndKeys()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "1000"}));
        QVERIFY(waitOpen());
        const int lh = m_view->lineHeight();
        QWidget *viewport = m_view->viewport();
        const QPoint from(40, lh * 3 + lh / 2);
        const QPoint to(120, lh * 6 + lh / 2);
        const fwndlog::FTextPos start = m_view->positionAt(from);
        const fwndlog::FTextPos end = m_view->positionAt(to);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, to);
        QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
        QCOMPARE(m_view->selection()->start(), start);
        QCOMPARE(m_view->selection()->end(), end);
        QCOMPARE(m_view->selection()->lineCount(), 4);

        // Double click: the word under the pointer.
        const qint64 line = m_view->topLine() + 2;
        const QString text = m_view->lineText(line);
        const int space = int(text.indexOf(QLatin1Char(' ')));
        const QPoint inFirstWord(m_view->fontMetrics().horizontalAdvance(text.left(2))
                                         + FWndLogBase::kLeftMargin,
                                 lh * 2 + lh / 2);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, inFirstWord);
        QCOMPARE(m_view->selection()->start(), (fwndlog::FTextPos{line, 0}));
        QCOMPARE(m_view->selection()->end(), (fwndlog::FTextPos{line, space}));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, inFirstWord);

        // Dragging above the viewport scrolls up until released.
        const qint64 top = m_view->topLine();
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        const QPoint above(40, -10);
        QMouseEvent out(QEvent::MouseMove, above, viewport->mapToGlobal(above), Qt::NoButton,
                        Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &out);
        QTRY_VERIFY_WITH_TIMEOUT(m_view->topLine() < top - 3, kTimeout);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, above);
        const qint64 stopped = m_view->topLine();
        QCOMPARE(m_view->selection()->start().line, stopped > 0 ? stopped - 1 : 0);
        // The auto-scroll timer is off: nothing moves any more.
        QCOMPARE(m_view->selection()->autoScroll(), fwndlog::FSelect::None);
        QCoreApplication::processEvents();
        QCOMPARE(m_view->topLine(), stopped);

        // Keys.
        m_view->setFocus();
        QTest::keyClick(m_view.get(), Qt::Key_Home);
        QCOMPARE(m_view->topLine(), 0);
        QTest::keyClick(m_view.get(), Qt::Key_Down);
        QCOMPARE(m_view->topLine(), 1);
        QTest::keyClick(m_view.get(), Qt::Key_End);
        QVERIFY(m_view->isLastLineVisible());
        QTest::keyClick(m_view.get(), Qt::Key_PageUp);
        QCOMPARE(m_view->topLine(),
                 m_view->count() - m_view->viewport()->height() / lh
                         - m_view->verticalScrollBar()->pageStep());
    }

    void savesInChunks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("html");
        QTest::newRow("text") << "log.txt" << false;
        QTest::newRow("HTM in capitals") << "LOG.HTM" << true;
        QTest::newRow("html is text") << "log.html" << false;
    }
    void savesInChunks()
    {
        QFETCH(QString, name);
        QFETCH(bool, html);
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "25000"}));
        QVERIFY(waitOpen());
        QueryLog queries;
        QTemporaryDir folder;
        FDlgLogSave dialog(m_view.get());
        dialog.fileEdit()->setText(folder.filePath(name));
        dialog.accept();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.outcome() != FDlgLogSave::Outcome::None, kTimeout);
        QCOMPARE(dialog.outcome(), FDlgLogSave::Outcome::Saved);
        QCOMPARE(dialog.stateLabel()->text(), QStringLiteral("Saved:"));
        QCOMPARE(dialog.chunksRead(), 3);
        QCOMPARE(queries.readSizes().mid(queries.readSizes().size() - 3),
                 (QList<qint64>{10000, 10000, 5000}));
        QVERIFY(!dialog.cancelButton()->isEnabled());
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray saved = file.readAll();
        if (html) {
            QVERIFY(saved.startsWith("<!DOCTYPE HTML PUBLIC"));
            QCOMPARE(saved.count("<div style=\"background-color:#"), 25000);
            QVERIFY(saved.contains(serverLine(m_server->conn(), 24999).toHtmlEscaped().toUtf8()
                                   + "</div>\r\n</body>"));
        } else {
            const QList<QByteArray> lines = saved.split('\n');
            QCOMPARE(lines.size(), 25000);
            for (int i = 0; i < lines.size() - 1; ++i)
                QVERIFY(lines.at(i).endsWith('\r'));
            QVERIFY(!lines.last().endsWith('\r'));
            QCOMPARE(QString::fromUtf8(lines.first().chopped(1)), serverLine(m_server->conn(), 0));
            QCOMPARE(QString::fromUtf8(lines.last()), serverLine(m_server->conn(), 24999));
        }
    }

    void savesExactlyTheSelection()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "1000"}));
        QVERIFY(waitOpen());
        m_view->selection()->select({5, 3}, {7, 4});
        QTemporaryDir folder;
        FDlgLogSave dialog(m_view.get(), true);
        QVERIFY(dialog.selectionButton()->isChecked());
        dialog.fileEdit()->setText(folder.filePath(QStringLiteral("part.txt")));
        dialog.accept();
        QTRY_VERIFY_WITH_TIMEOUT(dialog.outcome() != FDlgLogSave::Outcome::None, kTimeout);
        QCOMPARE(dialog.outcome(), FDlgLogSave::Outcome::Saved);
        QFile file(folder.filePath(QStringLiteral("part.txt")));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString expected = serverLine(m_server->conn(), 5).mid(3) + QStringLiteral("\r\n")
                + serverLine(m_server->conn(), 6) + QStringLiteral("\r\n")
                + serverLine(m_server->conn(), 7).left(4);
        QCOMPARE(QString::fromUtf8(file.readAll()), expected);
    }

    void saveCancelledOrFailedSaysSo()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "30000"}));
        QVERIFY(waitOpen());
        QTemporaryDir folder;
        {
            QVERIFY(m_server->fault(QStringLiteral("delay"), QStringLiteral("300")));
            FDlgLogSave dialog(m_view.get());
            dialog.fileEdit()->setText(folder.filePath(QStringLiteral("cancelled.txt")));
            dialog.accept();
            QVERIFY(dialog.isSaving());
            dialog.reject(); // Cancel while saving
            QTRY_VERIFY_WITH_TIMEOUT(dialog.outcome() != FDlgLogSave::Outcome::None, kTimeout);
            QCOMPARE(dialog.outcome(), FDlgLogSave::Outcome::Cancelled);
            QVERIFY(!dialog.stateLabel()->text().startsWith(QLatin1String("Saved")));
            QVERIFY(m_server->clearFaults());
        }
        {
            QVERIFY(m_server->fault(QStringLiteral("status"), QStringLiteral("302"),
                                    QStringLiteral("LogData")));
            FDlgLogSave dialog(m_view.get());
            dialog.fileEdit()->setText(folder.filePath(QStringLiteral("failed.txt")));
            dialog.accept();
            QTRY_VERIFY_WITH_TIMEOUT(dialog.outcome() != FDlgLogSave::Outcome::None, kTimeout);
            QCOMPARE(dialog.outcome(), FDlgLogSave::Outcome::Failed);
            QVERIFY(dialog.stateLabel()->text().startsWith(QLatin1String("Saving failed")));
            QVERIFY(m_server->clearFaults());
        }
        // Input errors keep the dialog on its first page.
        ModalWatcher watcher;
        QStringList shown;
        for (int i = 0; i < 2; ++i) {
            watcher.expect([&shown](QWidget *modal) {
                if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                    shown.append(box->text());
                    box->accept();
                }
            });
        }
        FDlgLogSave dialog(m_view.get());
        dialog.fileEdit()->setText(QString());
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 1, kTimeout);
        dialog.fileEdit()->setText(folder.filePath(QStringLiteral("no/such/folder/x.txt")));
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, kTimeout);
        QCOMPARE(shown,
                 (QStringList{QStringLiteral("Please specify file name."),
                              QStringLiteral("Please specify another file name, because "
                                             "this file cannot be open.")}));
        QVERIFY(!dialog.isSaving());
        // The format sets the extension.
        dialog.fileEdit()->setText(QStringLiteral("log-mail.txt"));
        dialog.htmlButton()->setChecked(true);
        QCOMPARE(dialog.fileEdit()->text(), QStringLiteral("log-mail.htm"));
        dialog.textButton()->setChecked(true);
        QCOMPARE(dialog.fileEdit()->text(), QStringLiteral("log-mail.txt"));
        QVERIFY(!dialog.selectionButton()->isEnabled());
    }

    void encodingIsKeptPerLog()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "300"}));
        QVERIFY(waitOpen());
        QCOMPARE(m_view->encodingId(), FWndLog::kDefaultEncoding);
        const quint64 generation = m_view->generation();
        m_view->slotEncoding(11);
        QVERIFY(m_view->generation() > generation);
        QVERIFY(waitOpen());
        QCOMPARE(m_view->encoding(), QStringLiteral("iso8859-1"));
        FWndLog again(QStringLiteral("mail"), m_server->conn());
        QCOMPARE(again.encodingId(), 11);
        FWndLog other(QStringLiteral("error"), m_server->conn());
        QCOMPARE(other.encodingId(), FWndLog::kDefaultEncoding);
    }

    void findsLocallyAndOnTheServer_data()
    {
        QTest::addColumn<bool>("async");
        QTest::newRow("synchronous") << false;
        QTest::newRow("in the background") << true;
    }
    void findsLocallyAndOnTheServer()
    {
        QFETCH(bool, async);
        QueryLog queries;
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "10000"}));
        QVERIFY(waitOpen());
        fwndlog::FLogFind *find = m_view->finder();
        find->setAsynchronous(async);
        // Each line's time stamp is its own: found only on line 50.
        const QString stamp = serverLine(m_server->conn(), 50).left(19);
        QSignalSpy finished(find, &fwndlog::FLogFind::signalFinished);
        find->slotFindFirst(fwndlog::FLogFind::Up, stamp, fwndlog::FLogFind::Displayed);
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kTimeout);
        QCOMPARE(finished.first().at(0).toBool(), true);
        QTRY_COMPARE_WITH_TIMEOUT(m_view->selection()->start(), (fwndlog::FTextPos{50, 0}),
                                  kTimeout);
        QCOMPARE(m_view->selection()->end(), (fwndlog::FTextPos{50, 19}));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->topLine() <= 50
                                         && m_view->topLine() + m_view->visibleLines() > 50,
                                 kTimeout);
        const QString sent = queries.lines().join(QLatin1Char('\n'));
        QVERIFY(sent.contains(async ? QLatin1String("AsyncLogSearch(")
                                    : QLatin1String("LogSearch(")));

        // F3 finds the next occurrence downwards, in the buffer or beyond it.
        const QString word = QStringLiteral("DELIVERY");
        QList<qint64> expected;
        for (qint64 line = 0; line < 300 && expected.size() < 3; ++line) {
            if (serverLine(m_server->conn(), line).contains(word))
                expected.append(line);
        }
        QCOMPARE(expected.size(), 3);
        finished.clear();
        find->slotFindFirst(fwndlog::FLogFind::Down, word, fwndlog::FLogFind::Edge);
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(m_view->selection()->start().line, expected.at(0), kTimeout);
        m_view->setFocus();
        for (int i = 1; i < 3; ++i) {
            finished.clear();
            QTest::keyClick(m_view.get(), Qt::Key_F3);
            QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kTimeout);
            QTRY_COMPARE_WITH_TIMEOUT(m_view->selection()->start().line, expected.at(i), kTimeout);
            const QString text = m_view->lineText(expected.at(i));
            QCOMPARE(m_view->selection()->start().column, int(text.indexOf(word)));
        }
        // Shift+F3 goes back.
        finished.clear();
        QTest::keyClick(m_view.get(), Qt::Key_F3, Qt::ShiftModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(m_view->selection()->start().line, expected.at(1), kTimeout);
    }

    void notFoundOffersToWrap()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "3000"}));
        QVERIFY(waitOpen());
        fwndlog::FLogFind *find = m_view->finder();
        ModalWatcher watcher;
        QStringList shown;
        watcher.expect([&shown](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                shown.append(box->text());
                box->button(QMessageBox::Yes)->click();
            }
        });
        watcher.expect([&shown](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                shown.append(box->text());
                box->accept();
            }
        });
        QSignalSpy finished(find, &fwndlog::FLogFind::signalFinished);
        m_view->scrollToLine(1500);
        QTRY_VERIFY_WITH_TIMEOUT(noBlankBand(*m_view), kTimeout);
        const QString missing = QStringLiteral("no \"such\\ text");
        find->slotFindFirst(fwndlog::FLogFind::Down, missing, fwndlog::FLogFind::Displayed);
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kTimeout);
        QCOMPARE(finished.first().at(0).toBool(), false);
        QCOMPARE(shown.size(), 2);
        QCOMPARE(shown.at(0),
                 QStringLiteral("Text '%1' not found,<br>would you like to search "
                                "from the beginning?")
                         .arg(missing.toHtmlEscaped()));
        QCOMPARE(shown.at(1), QStringLiteral("Text '%1' not found.").arg(missing.toHtmlEscaped()));
        QVERIFY(m_view->selection()->isEnabled());
        // A quote and a backslash travel escaped.
        QCOMPARE(find->searchStatement(12),
                 QStringLiteral("select LogSearch(\"mail\", \"no \\\"such\\\\ text\", 12, 0)"));
    }

    void searchingDisablesTheSelection()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "3000"}));
        QVERIFY(waitOpen());
        QVERIFY(m_server->fault(QStringLiteral("delay"), QStringLiteral("300")));
        fwndlog::FLogFind *find = m_view->finder();
        QSignalSpy finished(find, &fwndlog::FLogFind::signalFinished);
        const QString stamp = serverLine(m_server->conn(), 10).left(19);
        find->slotFindFirst(fwndlog::FLogFind::Up, stamp, fwndlog::FLogFind::Displayed);
        QVERIFY(find->isSearching());
        QVERIFY(!m_view->selection()->isEnabled());
        QCOMPARE(m_view->viewport()->cursor().shape(), Qt::BusyCursor);
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kTimeout);
        QVERIFY(m_view->selection()->isEnabled());
        QVERIFY(m_server->clearFaults());
        QTRY_COMPARE_WITH_TIMEOUT(m_view->selection()->start(), (fwndlog::FTextPos{10, 0}),
                                  kTimeout);
    }

    void readableByScreenReaders()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "500"}));
        QVERIFY(waitOpen());
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(m_view.get());
        QVERIFY(face);
        QCOMPARE(face->text(QAccessible::Name), QStringLiteral("Log mail"));
        QVERIFY(face->state().readOnly);
        QAccessibleTextInterface *text = face->textInterface();
        QVERIFY(text);
        const qint64 top = m_view->topLine();
        const qint64 bottom = qMin(m_view->count() - 1, top + m_view->visibleLines() - 1);
        QStringList lines;
        for (qint64 line = top; line <= bottom; ++line)
            lines.append(serverLine(m_server->conn(), line));
        const QString visible = lines.join(QLatin1Char('\n'));
        QCOMPARE(face->text(QAccessible::Value), visible);
        QCOMPARE(text->characterCount(), int(visible.size()));
        // The view's selection is the text's selection, and the other way round.
        m_view->selection()->select({top + 1, 2}, {top + 2, 5});
        int start = 0;
        int end = 0;
        text->selection(0, &start, &end);
        const int second = int(lines.at(0).size()) + 1;
        QCOMPARE(start, second + 2);
        QCOMPARE(end, second + int(lines.at(1).size()) + 1 + 5);
        QCOMPARE(text->text(start, end), visible.mid(start, end - start));
        text->setSelection(0, 0, 4);
        QCOMPARE(m_view->selection()->start(), (fwndlog::FTextPos{top, 0}));
        QCOMPARE(m_view->selection()->end(), (fwndlog::FTextPos{top, 4}));
    }

    void editsTheSharedHighlighting()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "1000"}));
        QVERIFY(waitOpen());
        QTRY_VERIFY_WITH_TIMEOUT(m_view->highlightingAction()->isEnabled(), kTimeout);
        ModalWatcher watcher;
        QString warning;
        QPointer<FDlgLogRegExpEdit> edit;
        watcher.expect([](QWidget *modal) {
            auto *dialog = qobject_cast<FDlgLogRegExp *>(modal);
            QVERIFY(dialog);
            QTimer::singleShot(0, dialog, [dialog] {
                dialog->list()->add();
                dialog->accept();
            });
        });
        watcher.expect([&edit](QWidget *modal) {
            edit = qobject_cast<FDlgLogRegExpEdit *>(modal);
            QVERIFY(edit);
            QCOMPARE(edit->windowTitle(), QStringLiteral("Add Highlighting"));
            QCOMPARE(edit->descriptionEdit()->text(), QStringLiteral("New Highlighting"));
            edit->descriptionEdit()->setText(QStringLiteral("Refusals"));
            edit->colourCombo()->setCurrentIndex(2);
            QTimer::singleShot(0, edit, [&edit] { edit->accept(); }); // no condition yet
        });
        watcher.expect([&warning, &edit](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            QVERIFY(box);
            warning = box->text();
            box->accept();
            QTimer::singleShot(0, edit, [&edit] {
                edit->conditionEdit()->setText(QStringLiteral("refused"));
                edit->accept();
            });
        });
        m_view->slotRegExp();
        QCOMPARE(warning, QStringLiteral("Condition is not defined."));
        // Saved on the server, last in order, and applied to the lines at once.
        DBTable table(m_server->conn(), QStringLiteral("LogHighlighting"),
                      logHighlightingColumns());
        QVERIFY(table.selectSync());
        const QList<fwndlog::FLogRule> stored = rulesOfTable(table);
        qint64 highest = 0;
        const fwndlog::FLogRule *added = nullptr;
        for (const fwndlog::FLogRule &rule : stored) {
            if (rule.description == QLatin1String("Refusals"))
                added = &rule;
            else
                highest = qMax(highest, rule.order);
        }
        QVERIFY(added);
        QCOMPARE(added->order, highest + 1);
        QCOMPARE(added->condition, QStringLiteral("refused"));
        QCOMPARE(fwndlog::colorName(added->color), QStringLiteral("#ffcccc"));
        QVERIFY(QUuid::fromString(added->id).isNull() == false);
        QCOMPARE(m_view->rules().rules().last().description, QStringLiteral("Refusals"));
        QCOMPARE(fwndlog::colorName(
                         m_view->rules().colorOf(QStringLiteral("relaying refused"), Qt::white)),
                 QStringLiteral("#ffcccc"));
    }

    void editedHighlightingShowsInTheList()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "10"}));
        QVERIFY(waitOpen());
        QTRY_VERIFY_WITH_TIMEOUT(m_view->highlightingAction()->isEnabled(), kTimeout);
        ModalWatcher watcher;
        QStringList shown;
        QColor swatch;
        Qt::CheckState checked = Qt::Unchecked;
        bool stillFirst = false;
        bool viewTold = false;
        watcher.expect([&](QWidget *modal) {
            auto *dialog = qobject_cast<FDlgLogRegExp *>(modal);
            QVERIFY(dialog);
            QTimer::singleShot(0, dialog, [&, dialog] {
                BListView *list = dialog->list()->listView();
                BListViewItem *errors
                        = list->findItems(QStringLiteral("Errors"), Qt::MatchExactly).value(0);
                if (!errors) {
                    dialog->reject();
                    return;
                }
                list->setCurrentItem(errors);
                QSignalSpy changes(list->model(), &QAbstractItemModel::dataChanged);
                dialog->list()->edit();
                const QModelIndex description = list->indexFromItem(errors, 0);
                const QModelIndex condition = list->indexFromItem(errors, 1);
                for (const QList<QVariant> &change : std::as_const(changes)) {
                    const auto first = change.at(0).value<QModelIndex>();
                    const auto last = change.at(1).value<QModelIndex>();
                    viewTold = viewTold
                            || (first.row() <= condition.row() && condition.row() <= last.row()
                                && first.column() <= condition.column()
                                && condition.column() <= last.column());
                }
                shown = QStringList{description.data().toString(), condition.data().toString()};
                swatch = qvariant_cast<QIcon>(description.data(Qt::DecorationRole))
                                 .pixmap(12, 12)
                                 .toImage()
                                 .pixelColor(6, 6);
                checked = errors->checkState(0);
                list->ensureSorted();
                stillFirst = list->topLevelItem(0) == errors;
                dialog->accept();
            });
        });
        watcher.expect([](QWidget *modal) {
            auto *edit = qobject_cast<FDlgLogRegExpEdit *>(modal);
            QVERIFY(edit);
            QCOMPARE(edit->windowTitle(), QStringLiteral("Edit Highlighting"));
            edit->descriptionEdit()->setText(QStringLiteral("Failures"));
            edit->conditionEdit()->setText(QStringLiteral("failed"));
            edit->colourCombo()->setCurrentIndex(
                    edit->colourCombo()->findData(QStringLiteral("#ccffff")));
            QTimer::singleShot(0, edit, [edit] { edit->accept(); });
        });
        m_view->slotRegExp();
        // The row shows the edit at once: texts, swatch; check box and place stay.
        QVERIFY(viewTold);
        QCOMPARE(shown, (QStringList{QStringLiteral("Failures"), QStringLiteral("failed")}));
        QCOMPARE(fwndlog::colorName(swatch), QStringLiteral("#ccffff"));
        QCOMPARE(checked, Qt::Checked);
        QVERIFY(stillFirst);
        DBTable table(m_server->conn(), QStringLiteral("LogHighlighting"),
                      logHighlightingColumns());
        QVERIFY(table.selectSync());
        bool stored = false;
        for (const fwndlog::FLogRule &rule : rulesOfTable(table)) {
            stored = stored
                    || (rule.description == QLatin1String("Failures")
                        && rule.condition == QLatin1String("failed") && rule.order == 1
                        && fwndlog::colorName(rule.color) == QLatin1String("#ccffff"));
        }
        QVERIFY(stored);
    }

    void logSettingsSendOnlyWhatChanged_data()
    {
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QStringList>("statements");
        const QString url = QStringLiteral("'file:///var/log/postvane/mail.log'");
        QTest::newRow("size only")
                << "mail"
                << "size" << QStringList{"select LogCtrl('mail', '10', " + url + ", '5120')"};
        QTest::newRow("file name")
                << "mail"
                << "name"
                << QStringList{"select LogCtrl('mail', '8', " + url + ")",
                               "select LogCtrl('mail', '7', "
                               "'file:///var/log/postvane/other.log', '0', '2', '10485760', '5')"};
        QTest::newRow("nothing") << "mail"
                                 << "none" << QStringList();
        QTest::newRow("no syslog row, disabled") << "error"
                                                 << "none" << QStringList();
        QTest::newRow("syslog added")
                << "error"
                << "syslog"
                << QStringList{"select LogCtrl('error', '7', 'syslog://2:4@logs.example.com', '0', "
                               "'0', '0', '0')"};
    }
    void logSettingsSendOnlyWhatChanged()
    {
        QFETCH(QString, log);
        QFETCH(QString, change);
        QFETCH(QStringList, statements);
        QVERIFY(setUp({"--no-ticker"}, QStringLiteral("admin"), 30, log));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->settingsAction()->isEnabled(), kTimeout);
        QueryLog queries;
        ModalWatcher watcher;
        watcher.expect([change](QWidget *modal) {
            auto *dialog = qobject_cast<FDlgLogSettings *>(modal);
            QVERIFY(dialog);
            QVERIFY(dialog->okButton()->isEnabled());
            if (change == QLatin1String("size"))
                dialog->sizeSpin()->setValue(5);
            else if (change == QLatin1String("name"))
                dialog->fileEdit()->setText(QStringLiteral("other.log"));
            else if (change == QLatin1String("syslog")) {
                dialog->syslogCheck()->setChecked(true);
                dialog->syslogEdit()->setText(QStringLiteral("logs.example.com"));
                dialog->facilityCombo()->setCurrentIndex(2);
                dialog->severityCombo()->setCurrentIndex(4);
            }
            dialog->accept();
        });
        m_view->slotLogSettings();
        QCOMPARE(queries.controls().join(QLatin1Char('\n')), statements.join(QLatin1Char('\n')));
        // What the server now holds is what the dialog showed.
        FLogTable table(m_server->conn());
        QVERIFY(table.selectSync());
        FLogDict dict;
        dict.rebuild(table);
        const FLogStreams streams = dict.streams(log);
        if (change == QLatin1String("size"))
            QCOMPARE(streams.file->text("MaxSize"), QStringLiteral("5120"));
        if (change == QLatin1String("name"))
            QCOMPARE(streams.file->text("StreamURL"),
                     QStringLiteral("file:///var/log/postvane/other.log"));
        if (change == QLatin1String("syslog"))
            QVERIFY(streams.syslog);
    }

    void logSettingsCheckAndRestore()
    {
        QVERIFY(setUp({"--no-ticker"}));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->settingsAction()->isEnabled(), kTimeout);
        ModalWatcher watcher;
        QStringList shown;
        const auto answer = [&shown](QWidget *modal) {
            if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                shown.append(box->text());
                box->accept();
            }
        };
        QPointer<FDlgLogSettings> dialog;
        watcher.expect([&dialog](QWidget *modal) {
            dialog = qobject_cast<FDlgLogSettings *>(modal);
            QVERIFY(dialog);
            dialog->fileEdit()->setText(QString());
            QTimer::singleShot(0, dialog, [&dialog] { dialog->accept(); });
        });
        watcher.expect([&](QWidget *modal) {
            answer(modal);
            QTimer::singleShot(0, dialog, [&dialog] {
                dialog->fileEdit()->setText(QStringLiteral("a:b.log"));
                dialog->accept();
            });
        });
        watcher.expect([&](QWidget *modal) {
            answer(modal);
            // The server refuses the new file; the old stream must come back.
            QTimer::singleShot(0, dialog, [&dialog, this] {
                QVERIFY(m_server->fault(QStringLiteral("status"), QStringLiteral("203"),
                                        QStringLiteral("renamed.log")));
                dialog->fileEdit()->setText(QStringLiteral("renamed.log"));
                dialog->accept();
            });
        });
        watcher.expect(answer);
        m_view->slotLogSettings();
        QVERIFY(m_server->clearFaults());
        QCOMPARE(shown.size(), 3);
        QCOMPARE(shown.at(0), QStringLiteral("You must specify log file name."));
        QCOMPARE(shown.at(1), QStringLiteral("Log file name is not valid."));
        QVERIFY(shown.at(2).contains(QLatin1String("The previous stream was restored.")));
        FLogTable table(m_server->conn());
        QVERIFY(table.selectSync());
        FLogDict dict;
        dict.rebuild(table);
        QCOMPARE(dict.streams(QStringLiteral("mail")).file->text("StreamURL"),
                 QStringLiteral("file:///var/log/postvane/mail.log"));

        // A reader sees the settings and cannot change them.
        QVERIFY(setUp({"--no-ticker"}, QStringLiteral("viewer")));
        QTRY_VERIFY_WITH_TIMEOUT(m_view->settingsAction()->isEnabled(), kTimeout);
        bool okEnabled = true;
        watcher.expect([&okEnabled](QWidget *modal) {
            auto *settings = qobject_cast<FDlgLogSettings *>(modal);
            QVERIFY(settings);
            okEnabled = settings->okButton()->isEnabled();
            QCOMPARE(settings->fileEdit()->text(), QStringLiteral("mail.log"));
            settings->reject();
        });
        m_view->slotLogSettings();
        QVERIFY(!okEnabled);
    }

    void debugMessageGroups()
    {
        QVERIFY(setUp({"--no-ticker"}, QStringLiteral("admin"), 30, QStringLiteral("debug")));
        QVERIFY(m_view->messagesAction());
        QueryLog queries;
        QString first;
        bool wasOn = false;
        {
            FDlgLogEvent dialog(m_server->conn(), QStringLiteral("debug"));
            QVERIFY(dialog.isLoaded());
            QVERIFY(dialog.tree()->topLevelItemCount() > 0);
            QTreeWidgetItem *item = dialog.tree()->topLevelItem(0);
            first = item->text(0);
            wasOn = item->checkState(0) == Qt::Checked;
            item->setCheckState(0, wasOn ? Qt::Unchecked : Qt::Checked);
            dialog.accept();
        }
        QCOMPARE(queries.controls().size(), 1);
        QVERIFY(queries.controls().first().startsWith(
                wasOn ? QLatin1String("select LogCtrl('debug','4','")
                      : QLatin1String("select LogCtrl('debug','3','")));
        // A second look shows the change; other logs have no such entry.
        FDlgLogEvent again(m_server->conn(), QStringLiteral("debug"));
        QCOMPARE(again.tree()->topLevelItem(0)->text(0), first);
        QCOMPARE(again.tree()->topLevelItem(0)->checkState(0) == Qt::Checked, !wasOn);
        FWndLog mail(QStringLiteral("mail"), m_server->conn());
        QCOMPARE(mail.messagesAction(), nullptr);
    }

    void rulesColourLines()
    {
        QVERIFY(setUp({"--no-ticker", "--seed-log-lines", "300"}));
        QVERIFY(waitOpen());
        QTRY_VERIFY_WITH_TIMEOUT(m_view->rulesLoaded(), kTimeout);
        // The seeded rules reach the view in their order.
        QVERIFY(!m_view->rules().rules().isEmpty());
        QCOMPARE(m_view->rules().rules().first().description, QStringLiteral("Errors"));
    }
};

QTEST_MAIN(TestLogView)
#include "test_view.moc"

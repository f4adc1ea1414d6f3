#include "logs/fwndlogbase.h"

#include "db/dbconn.h"
#include "db/dbevent.h"
#include "db/dbquote.h"
#include "db/utdebug.h"
#include "logs/flogrequest.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QtEndian>

#include <algorithm>
#include <limits>
#include <utility>

using namespace fwndlog;

namespace {

constexpr int kLogCategory = 15;
constexpr int kPacketLength = 10;
constexpr uchar kLogUpdateKind = 8;
constexpr uint kPacketCapacity = 1500;

void trace(const QString &line)
{
    utDebug(kLogCategory, 4, line);
}

struct UpdatePacket
{
    int logId = -1;
    quint32 offset = 0;
    quint32 count = 0;
};

bool readPacket(const uchar *data, int length, UpdatePacket *packet)
{
    if (!data || length != kPacketLength || data[1] != kLogUpdateKind)
        return false;
    packet->logId = data[0];
    packet->offset = qFromBigEndian<quint32>(data + 2);
    packet->count = qFromBigEndian<quint32>(data + 6);
    return true;
}

} // namespace

FWndLogBase::FWndLogBase(const QString &logName, DBConn *conn, QWidget *parent)
    : QAbstractScrollArea(parent)
    , m_logName(logName)
    , m_conn(conn)
    , m_mailbox(std::make_shared<FLogMailbox>(this))
    , m_decoder(QStringConverter::Utf8)
    , m_checkTimer(new QTimer(this))
{
    setObjectName(QStringLiteral("FWndLog"));
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    viewport()->setAutoFillBackground(true);
    viewport()->setBackgroundRole(QPalette::Base);
    m_checkTimer->setSingleShot(true);
    m_checkTimer->setInterval(kCheckIntervalMs);
    connect(m_checkTimer, &QTimer::timeout, this, &FWndLogBase::slotCheckConnection);
    if (m_conn) {
        connect(m_conn, &DBConn::signalStateChanged, this, [this](DBConn::StateEnum state) {
            if ((state == DBConn::Connected || state == DBConn::Working)
                && !m_checkTimer->isActive())
                m_checkTimer->start();
        });
    }
    m_checkTimer->start();
    // Opened from the event loop, once the subclass is complete.
    QMetaObject::invokeMethod(
            this, [this] { open(); }, Qt::QueuedConnection);
}

FWndLogBase::~FWndLogBase()
{
    // Completions that arrive from now on post nowhere; reads still queued go.
    m_mailbox->detach();
    listen(false);
    if (m_conn) {
        const void *owner = m_mailbox.get();
        m_conn->cancelQueued([owner](const DBReq *req) {
            auto *own = dynamic_cast<const FLogRequest *>(req);
            if (!own || own->owner() != owner)
                return false;
            own->markCancelled();
            return true;
        });
    }
}

int FWndLogBase::outstandingPageReads() const
{
    return int(m_outstanding.size());
}

// --- geometry ---

int FWndLogBase::lineHeight() const
{
    return qMax(1, fontMetrics().height());
}

qint64 FWndLogBase::scrollScale() const
{
    // The scroll bar holds an int; past its range one step covers several lines.
    constexpr qint64 range = std::numeric_limits<int>::max() / 2;
    return qMax<qint64>(1, (maxTopLine() + range - 1) / range);
}

qint64 FWndLogBase::maxTopLine() const
{
    const qint64 full = qMax(1, viewport()->height() / lineHeight());
    return qMax<qint64>(0, m_count - full);
}

qint64 FWndLogBase::topLine() const
{
    const QScrollBar *bar = verticalScrollBar();
    if (bar->value() >= bar->maximum())
        return maxTopLine();
    return qMin(maxTopLine(), qint64(bar->value()) * scrollScale());
}

int FWndLogBase::visibleLines() const
{
    const int lh = lineHeight();
    return (viewport()->height() + lh - 1) / lh;
}

bool FWndLogBase::isLastLineVisible() const
{
    if (m_count <= 0)
        return true;
    const qint64 full = viewport()->height() / lineHeight();
    return topLine() + full >= m_count;
}

void FWndLogBase::scrollToLine(qint64 line)
{
    line = std::clamp<qint64>(line, 0, maxTopLine());
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(line >= maxTopLine() ? bar->maximum() : int(line / scrollScale()));
}

void FWndLogBase::scrollToBottom()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

int FWndLogBase::textOffsetX() const
{
    return horizontalScrollBar()->value() - kLeftMargin;
}

void FWndLogBase::updateScrollRanges()
{
    const qint64 scale = scrollScale();
    QScrollBar *bar = verticalScrollBar();
    const QSignalBlocker block(bar);
    const bool atEnd = bar->value() >= bar->maximum() && bar->maximum() > 0;
    const qint64 top = topLine();
    bar->setRange(0, int((maxTopLine() + scale - 1) / scale));
    bar->setPageStep(qMax(1, int(viewport()->height() / lineHeight() / scale)));
    bar->setSingleStep(1);
    if (!atEnd)
        bar->setValue(int(top / scale));
    QScrollBar *hbar = horizontalScrollBar();
    hbar->setRange(0, qMax(0, m_contentsWidth + kLeftMargin - viewport()->width()));
    hbar->setPageStep(viewport()->width());
    hbar->setSingleStep(lineHeight());
}

void FWndLogBase::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    const bool atBottom = isLastLineVisible();
    updateScrollRanges();
    if (atBottom)
        scrollToBottom();
    prefetch();
}

void FWndLogBase::scrollContentsBy(int dx, int)
{
    if (dx != 0 || horizontalScrollBar()->value() != m_lastX) {
        m_lastX = horizontalScrollBar()->value();
        bumpTextGeneration();
    }
    viewport()->update();
    QCoreApplication::postEvent(this, new FLogEvent(FLogEvent::ContentsMoved, 0));
    prefetch();
}

void FWndLogBase::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        bumpTextGeneration();
        updateScrollRanges();
        prefetch();
    }
}

// --- opening and reading ---

void FWndLogBase::send(ReadKind kind, const QString &query, qint64 first, qint64 last,
                       qint64 newCount, bool cancellable)
{
    if (!m_conn)
        return;
    FLogReply meta;
    meta.generation = m_generation;
    meta.ticket = ++m_nextTicket;
    meta.kind = kind;
    meta.first = first;
    meta.last = last;
    meta.newCount = newCount;
    if (kind == ReadKind::Page)
        m_outstanding.insert(meta.ticket, meta);
    FLogRequest::send(m_conn, query, m_mailbox, meta, cancellable);
}

void FWndLogBase::open()
{
    ++m_generation;
    m_outstanding.clear();
    m_updateOut = false;
    m_pendingUpdateCount = -1;
    m_loading = true;
    m_infoOut = true;
    m_packetWhileLoading.clear();
    listen(true);
    send(ReadKind::Info, QStringLiteral("select LogList(\"%1\")").arg(dbEscape(m_logName)));
}

void FWndLogBase::reload()
{
    setCount(0);
    m_previousCount = 0;
    m_offset = 0;
    m_buffer.clear();
    m_contentsWidth = 0;
    bumpTextGeneration();
    updateScrollRanges();
    viewport()->update();
    open();
}

void FWndLogBase::setEncoding(const QString &name)
{
    QStringDecoder decoder = name.isEmpty() ? QStringDecoder(QStringConverter::Utf8)
                                            : QStringDecoder(name.toLatin1().constData());
    if (!decoder.isValid())
        return;
    m_decoder = std::move(decoder);
    m_encodingName = name;
    bumpTextGeneration();
}

void FWndLogBase::readPage(qint64 first, qint64 last)
{
    // Not cancellable by other pages' cancelPending (the read would vanish
    // without a word and its page would count as under way for ever); the
    // view takes back its own reads through cancelQueued.
    send(ReadKind::Page,
         QStringLiteral("select LogData(\"%1\", %2, %3)")
                 .arg(dbEscape(m_logName), QString::number(first),
                      QString::number(last - first + 1)),
         first, last, -1, false);
}

void FWndLogBase::setCount(qint64 count)
{
    if (count == m_count)
        return;
    m_count = count;
    QCoreApplication::postEvent(this, new FLogEvent(FLogEvent::CountChanged, count));
}

void FWndLogBase::infoFinished(FLogReply &reply)
{
    m_infoOut = false;
    m_loading = false;
    if (!reply.ok()) {
        m_failed = true;
        trace(QStringLiteral("slotInfoReady() %1 (%2)").arg(reply.errorText).arg(reply.code));
        return;
    }
    const auto cell = [&reply](const char *name) {
        const int column = reply.column(QString::fromLatin1(name));
        return column < 0 || reply.rows.isEmpty() ? -1
                                                  : reply.rows.first().value(column).toLongLong();
    };
    m_logId = int(cell("ID"));
    m_previousCount = m_count < 0 ? 0 : m_count;
    setCount(qMax<qint64>(0, cell("Count")));
    m_offset = cell("Offset");
    m_buffer.clear();
    m_buffer.setAnchor(m_count);
    drainStalePackets();
    updateScrollRanges();
    scrollToBottom();
    if (m_count > 0) {
        m_firstResizePending = true;
        const FBufferPage page = FBufferPage::of(m_count - 1, m_count, m_count, true);
        emit signalInfoReady(page.first, page.last);
        prefetch();
    }
    // A packet that came while loading and tells of more lines is not lost;
    // older ones (a lower count) are stale, not a sign of shrinking.
    QByteArray packet = std::exchange(m_packetWhileLoading, QByteArray());
    UpdatePacket waiting;
    if (readPacket(reinterpret_cast<const uchar *>(packet.constData()), int(packet.size()),
                   &waiting)
        && waiting.logId == m_logId && waiting.offset == quint32(m_offset)
        && qint64(waiting.count) > m_count)
        slotUpdateData(reinterpret_cast<uchar *>(packet.data()), int(packet.size()));
}

void FWndLogBase::drainStalePackets()
{
    if (!m_conn)
        return;
    // Packets sent before the count was read would make the fresh view reload
    // or fetch lines it already knows of.
    int dropped = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kDrainMs) {
        uchar data[kPacketCapacity];
        uint length = kPacketCapacity;
        if (!m_conn->recvNotification(data, &length))
            break;
        UpdatePacket packet;
        if (!readPacket(data, int(length), &packet) || packet.logId != m_logId)
            continue;
        if (packet.count <= m_count && packet.offset == quint32(m_offset)) {
            ++dropped;
            continue;
        }
        // A newer packet of this log: kept for after the open.
        m_packetWhileLoading = QByteArray(reinterpret_cast<const char *>(data), int(length));
        break;
    }
    trace(QStringLiteral("There were %1 old update packets deleted.").arg(dropped));
}

void FWndLogBase::listen(bool on)
{
    if (!m_conn || on == m_listening)
        return;
    m_listening = on;
    if (on)
        connect(m_conn, &DBConn::signalUpdateData, this, &FWndLogBase::slotUpdateData,
                Qt::UniqueConnection);
    else
        disconnect(m_conn, &DBConn::signalUpdateData, this, &FWndLogBase::slotUpdateData);
}

void FWndLogBase::prefetch()
{
    if (m_loading || m_count <= 0 || m_clearing)
        return;
    const qint64 top = topLine();
    const qint64 bottom = qMin(m_count - 1, top + visibleLines() - 1);
    const qint64 from = qMax<qint64>(0, top - kPrefetchMargin);
    const qint64 to = qMin(m_count - 1, bottom + kPrefetchMargin);

    // Every page the viewport and its margins touch, so a viewport taller than
    // a page shows no blank band; the buffer is sized to hold them all.
    QList<QPair<qint64, qint64>> pages;
    for (qint64 line = from; line <= to;) {
        const FBufferPage page = FBufferPage::of(line, m_buffer.anchor(), m_count, true);
        if (!page.isValid())
            break;
        pages.append({page.first, page.last});
        line = page.last + 1;
    }
    m_buffer.setCapacityPages(int(pages.size()) + 1);

    QList<QPair<qint64, qint64>> missing;
    for (const auto &page : std::as_const(pages)) {
        if (m_buffer.containsRange(page.first, page.second))
            continue;
        bool out = false;
        for (const FLogReply &read : std::as_const(m_outstanding))
            out = out || (read.first == page.first && read.last == page.second);
        if (!out)
            missing.append(page);
    }
    cancelPrefetchExcept(pages);
    if (missing.isEmpty())
        return;
    // Pages before the held run (or into an empty one) are read newest first
    // so each one joins the run at its front; the others oldest first.
    const bool backwards = m_buffer.isEmpty() || missing.last().second < m_buffer.first();
    if (backwards)
        std::reverse(missing.begin(), missing.end());
    for (const auto &page : std::as_const(missing))
        readPage(page.first, page.second);
}

void FWndLogBase::cancelPrefetchExcept(const QList<QPair<qint64, qint64>> &wanted)
{
    if (!m_conn || m_outstanding.isEmpty())
        return;
    // Only this view's page reads that a newer position made pointless; they
    // come back marked cancelled, which removes them from the outstanding list.
    QSet<quint64> stale;
    for (const FLogReply &read : std::as_const(m_outstanding)) {
        if (!wanted.contains(QPair<qint64, qint64>(read.first, read.last)))
            stale.insert(read.ticket);
    }
    if (stale.isEmpty())
        return;
    const void *owner = m_mailbox.get();
    m_conn->cancelQueued([owner, &stale](const DBReq *req) {
        auto *own = dynamic_cast<const FLogRequest *>(req);
        if (!own || own->owner() != owner || own->meta().kind != ReadKind::Page
            || !stale.contains(own->meta().ticket))
            return false;
        own->markCancelled();
        return true;
    });
}

// --- arrivals ---

bool FWndLogBase::event(QEvent *event)
{
    if (!FLogEvent::isLogEvent(event))
        return QAbstractScrollArea::event(event);
    DBEvent::afterReceive();
    auto *logEvent = static_cast<FLogEvent *>(event);
    FLogReply &reply = logEvent->reply();
    switch (int(event->type())) {
    case FLogEvent::InfoFinished:
        if (reply.generation == m_generation)
            infoFinished(reply);
        break;
    case FLogEvent::DataFinished:
        if (reply.generation == m_generation)
            dataFinished(reply);
        break;
    case FLogEvent::UpdateFinished:
        if (reply.generation == m_generation)
            updateFinished(reply);
        break;
    case FLogEvent::CommandFinished:
        commandFinished(reply);
        break;
    case FLogEvent::ChangeWidth:
        updateScrollRanges();
        break;
    case FLogEvent::Reload:
        reload();
        break;
    case FLogEvent::CountChanged:
        emit signalCountChanged(logEvent->value());
        break;
    default:
        break;
    }
    return true;
}

void FWndLogBase::dataFinished(FLogReply &reply)
{
    m_outstanding.remove(reply.ticket);
    if (reply.cancelled) {
        ++m_cancelledReads;
        return;
    }
    if (reply.code != 0) {
        m_failed = true;
        trace(QStringLiteral("slotDataFinished() %1 (%2)").arg(reply.errorText).arg(reply.code));
    } else if (reply.lines.size() != reply.last - reply.first + 1) {
        trace(QStringLiteral("Scroll data ignored. Wanted %1-%2, got %3")
                      .arg(reply.first)
                      .arg(reply.last)
                      .arg(reply.lines.size()));
    } else {
        m_failed = false;
        if (m_buffer.storePage(reply.first, reply.lines, m_count))
            storeArrived(reply.first, reply.last);
    }
    emit signalDataReady(reply.first, reply.last);
    viewport()->update();
    if (m_firstResizePending && m_buffer.contains(m_count - 1)) {
        m_firstResizePending = false;
        updateScrollRanges();
        scrollToBottom();
    }
    prefetch();
}

void FWndLogBase::storeArrived(qint64 first, qint64 last)
{
    const int widthBefore = m_contentsWidth;
    for (qint64 line = qMax(first, m_buffer.first()); line <= qMin(last, m_buffer.last()); ++line) {
        if (FData *data = m_buffer.at(line))
            lineArrived(line, *data);
    }
    if (m_contentsWidth > widthBefore)
        QCoreApplication::postEvent(this, new FLogEvent(FLogEvent::ChangeWidth, m_contentsWidth));
}

void FWndLogBase::lineArrived(qint64, FData &data)
{
    if (data.width < 0)
        data.width = fontMetrics().horizontalAdvance(textOf(data));
    m_contentsWidth = qMax(m_contentsWidth, data.width);
}

const QString &FWndLogBase::textOf(FData &data)
{
    if (!data.textKnown || data.textGeneration < m_timeStamp.text) {
        QString text = m_decoder.decode(data.raw);
        m_decoder.resetState();
        if (!data.textKnown || text != data.text) {
            data.text = std::move(text);
            data.links.reset();
            data.width = -1;
        }
        data.textKnown = true;
        data.textGeneration = m_timeStamp.text;
    }
    return data.text;
}

QString FWndLogBase::lineText(qint64 line)
{
    FData *data = m_buffer.at(line);
    return data ? textOf(*data) : QString();
}

// --- live updates ---

void FWndLogBase::slotUpdateData(uchar *data, int length)
{
    UpdatePacket packet;
    if (!readPacket(data, length, &packet))
        return;
    if (m_loading || m_logId < 0) {
        m_packetWhileLoading = QByteArray(reinterpret_cast<const char *>(data), length);
        return;
    }
    if (packet.logId != m_logId || m_clearing)
        return;
    const qint64 newCount = packet.count;
    // A rotated log (new offset) or one that shrank is read from the start.
    if (packet.offset != quint32(m_offset) || newCount < m_count) {
        QCoreApplication::postEvent(this, new FLogEvent(FLogEvent::Reload, newCount));
        m_loading = true; // nothing more until the reload has begun
        return;
    }
    if (newCount == m_count) {
        trace(QStringLiteral("zero update"));
        return;
    }
    if (m_updateOut) {
        // One update read at a time; the highest count seen is read next.
        m_pendingUpdateCount = qMax(m_pendingUpdateCount, newCount);
        return;
    }
    applyGrowth(newCount);
}

void FWndLogBase::applyGrowth(qint64 newCount)
{
    const qint64 count = m_count;
    const bool atBottom = isLastLineVisible();
    const bool bufferEndsPage = m_buffer.isEmpty()
            || FBufferPage::of(m_buffer.last(), m_buffer.anchor(), count, false).last
                    == m_buffer.last();
    if (!atBottom && bufferEndsPage) {
        m_previousCount = count;
        setCount(newCount);
        updateRepaint(false);
        return;
    }
    FLogReply meta;
    meta.generation = m_generation;
    meta.newCount = newCount;
    if (atBottom && newCount - count > FBufferPage::kLines) {
        // Too many new lines: only the count changes, the visible pages come
        // through prefetch.
        const FBufferPage page = FBufferPage::of(newCount - 1, m_buffer.anchor(), newCount, true);
        meta.first = page.first;
        meta.last = page.last;
        meta.lines.clear();
        meta.code = 0;
        meta.kind = ReadKind::Update;
        meta.cancelled = true; // nothing was read
        m_updateOut = true;
        QCoreApplication::postEvent(this, new FLogEvent(FLogEvent::UpdateFinished, meta));
        return;
    }
    qint64 last = newCount - 1;
    if (!atBottom)
        last = qMin(last, FBufferPage::of(m_buffer.last(), m_buffer.anchor(), count, false).last);
    m_updateOut = true;
    send(ReadKind::Update,
         QStringLiteral("select LogData(\"%1\", %2, %3)")
                 .arg(dbEscape(m_logName), QString::number(count),
                      QString::number(last - count + 1)),
         count, last, newCount, false);
}

void FWndLogBase::updateFinished(FLogReply &reply)
{
    m_updateOut = false;
    const bool wasAtBottom = isLastLineVisible();
    if (reply.code != 0) {
        m_failed = true;
        trace(QStringLiteral("slotUpdateFinished() %1 (%2)").arg(reply.errorText).arg(reply.code));
    } else {
        const qint64 count = m_count;
        m_previousCount = count;
        setCount(qMax(count, reply.newCount));
        const bool continues = m_buffer.isEmpty() || m_buffer.last() == count - 1;
        if (!reply.cancelled && continues && reply.first == count
            && reply.lines.size() == reply.last - reply.first + 1) {
            const int widthBefore = m_contentsWidth;
            qint64 line = reply.first;
            for (const QByteArray &raw : std::as_const(reply.lines)) {
                if (!m_buffer.appendLine(line, raw, m_count))
                    break;
                if (FData *data = m_buffer.at(line))
                    lineArrived(line, *data);
                ++line;
            }
            if (m_contentsWidth > widthBefore)
                QCoreApplication::postEvent(this,
                                            new FLogEvent(FLogEvent::ChangeWidth, m_contentsWidth));
        }
    }
    updateRepaint(wasAtBottom);
    if (m_pendingUpdateCount > m_count) {
        const qint64 next = m_pendingUpdateCount;
        m_pendingUpdateCount = -1;
        applyGrowth(next);
    } else {
        m_pendingUpdateCount = -1;
    }
}

void FWndLogBase::updateRepaint(bool wasAtBottom)
{
    updateScrollRanges();
    if (wasAtBottom)
        scrollToBottom();
    viewport()->update();
    prefetch();
}

// --- clearing and keep-alive ---

void FWndLogBase::slotClearLog()
{
    slotClearLog(true);
}

void FWndLogBase::slotClearLog(bool ask)
{
    if (m_clearing || !m_conn)
        return;
    if (ask
        && QMessageBox::warning(
                   this, UtKontainer::getText(UtKey::Caption),
                   tr("The log data will be permanently deleted. Do you want to proceed?"),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
                != QMessageBox::Yes)
        return;
    m_clearing = true;
    listen(false);
    send(ReadKind::Clear, QStringLiteral("select LogCtrl(\"%1\", 1)").arg(dbEscape(m_logName)));
}

void FWndLogBase::slotCheckConnection()
{
    if (!m_conn || !m_conn->isConnected())
        return; // restarted when the connection is back
    m_checkTimer->stop();
    const qint64 idle = QDateTime::currentMSecsSinceEpoch() - m_conn->idleSinceMs();
    if (idle > kCheckIntervalMs && idle > 5000LL * m_conn->averageResponseTime())
        send(ReadKind::KeepAlive, QStringLiteral("select dummy from info"));
    m_checkTimer->start(kCheckIntervalMs);
}

void FWndLogBase::replyArrived(FLogReply &) { }

void FWndLogBase::commandFinished(FLogReply &reply)
{
    if (reply.kind == ReadKind::KeepAlive)
        return;
    if (reply.kind != ReadKind::Clear) {
        replyArrived(reply);
        return;
    }
    m_clearing = false;
    if (!reply.ok()) {
        listen(true);
        emit signalCleared(false);
        QMessageBox::critical(
                this, tr("Error"),
                tr("Sorry, but log cannot be cleared due to the error on server side.")
                        + QStringLiteral("<br>") + reply.errorText.toHtmlEscaped());
        return;
    }
    emit signalCleared(true);
    QCoreApplication::postEvent(this, new FLogEvent(FLogEvent::Reload, 0));
}

// --- drawing ---

QColor FWndLogBase::lineColor(const QString &)
{
    return palette().color(QPalette::Base);
}

void FWndLogBase::drawLine(QPainter &painter, qint64, FData &data, const QRect &rect)
{
    painter.drawText(rect.translated(-textOffsetX(), 0), Qt::AlignLeft | Qt::AlignVCenter,
                     textOf(data));
}

void FWndLogBase::drawOverlay(QPainter &, qint64, FData &, const QRect &) { }

void FWndLogBase::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    painter.setClipRect(event->rect());
    painter.setFont(font());
    const int lh = lineHeight();
    const qint64 top = topLine();
    const int rows = visibleLines();
    const int width = viewport()->width();
    for (int row = 0; row < rows; ++row) {
        const qint64 line = top + row;
        if (line >= m_count)
            break;
        const QRect rect(0, row * lh, width, lh);
        if (!rect.intersects(event->rect()))
            continue;
        FData *data = m_buffer.at(line);
        if (!data)
            continue; // shows the background until its page arrives
        FData::HighlightColor &cached = data->highlight;
        if (!cached.known || cached.generation < m_timeStamp.color) {
            cached.color = lineColor(textOf(*data));
            cached.generation = m_timeStamp.color;
            cached.known = true;
        }
        painter.fillRect(rect, cached.color);
        painter.setPen(palette().color(QPalette::Text));
        drawLine(painter, line, *data, rect);
        drawOverlay(painter, line, *data, rect);
    }
}

#pragma once

#include "db/dbconn.h"
#include "logs/fbuffer.h"
#include "logs/flogevent.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringDecoder>

#include <memory>

class QTimer;

namespace fwndlog {
class FLogMailbox;

// Generations of the per-line caches: a cached line drawing or colour is
// valid while it is not older than the current generation.
struct FTimeStamp
{
    quint64 text = 1;
    quint64 color = 1;
};
} // namespace fwndlog

// A live view of one server log of any length. It holds at most a few pages
// of it (fwndlog::FBuffer), reads the pages the viewport needs plus a margin
// while it scrolls, and follows the log's growth through the server's
// log-update notifications. Line positions are 64-bit; the vertical scroll
// bar counts lines (scaled down for logs past its range).
class FWndLogBase : public QAbstractScrollArea
{
    Q_OBJECT

public:
    static constexpr int kLeftMargin = 4;
    static constexpr int kPrefetchMargin = 25;
    static constexpr int kCheckIntervalMs = 5000;
    static constexpr int kDrainMs = 1000;

    FWndLogBase(const QString &logName, DBConn *conn, QWidget *parent = nullptr);
    ~FWndLogBase() override;

    QString logName() const { return m_logName; }
    DBConn *connection() const { return m_conn; }

    qint64 count() const { return m_count; }
    qint64 previousCount() const { return m_previousCount; }
    qint64 offset() const { return m_offset; }
    int logId() const { return m_logId; }
    bool isLoading() const { return m_loading; }
    bool lastRequestFailed() const { return m_failed; }
    quint64 generation() const { return m_generation; }
    const fwndlog::FBuffer &buffer() const { return m_buffer; }
    const fwndlog::FTimeStamp &timeStamp() const { return m_timeStamp; }
    // Outstanding page reads (update, information and clearing not counted).
    int outstandingPageReads() const;
    bool isUpdateReadOut() const { return m_updateOut; }
    // Page reads taken back from the queue because the view moved on.
    int cancelledPageReads() const { return m_cancelledReads; }

    int lineHeight() const;
    // First line at the top of the viewport, and how many lines it shows
    // (the last one possibly cut).
    qint64 topLine() const;
    int visibleLines() const;
    bool isLastLineVisible() const;
    void scrollToLine(qint64 line);
    void scrollToBottom();
    // The decoded text of a buffered line (empty when it is not buffered).
    QString lineText(qint64 line);
    // The width the contents need: the widest line seen so far.
    int contentsWidth() const { return m_contentsWidth; }

    // Reads the log's information again and starts over (a new generation:
    // whatever the older one still has under way is dropped on arrival).
    void reload();
    // Changes how the delivered bytes are read ("" = UTF-8 as delivered).
    void setEncoding(const QString &name);
    QString encoding() const { return m_encodingName; }

signals:
    void signalInfoReady(qint64 first, qint64 last);
    void signalDataReady(qint64 first, qint64 last);
    void signalCountChanged(qint64 count);
    void signalCleared(bool ok);

public slots:
    void slotClearLog();
    void slotClearLog(bool ask);
    void slotUpdateData(uchar *data, int length);
    void slotCheckConnection();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent *event) override;

    // Draws the text layer of one line into rect (the line's row of the viewport).
    virtual void drawLine(QPainter &painter, qint64 line, fwndlog::FData &data, const QRect &rect);
    // Draws whatever lies over the text (the selection); nothing here.
    virtual void drawOverlay(QPainter &painter, qint64 line, fwndlog::FData &data,
                             const QRect &rect);
    // The background of a line.
    virtual QColor lineColor(const QString &text);
    // A line has just been stored.
    virtual void lineArrived(qint64 line, fwndlog::FData &data);
    // The text of a line, decoded once per text generation.
    const QString &textOf(fwndlog::FData &data);
    // Horizontal pixel offset of the text (scroll position minus margin).
    int textOffsetX() const;
    // Invalidates every line's cached colour (the rules changed).
    void bumpColorGeneration() { ++m_timeStamp.color; }
    void bumpTextGeneration() { ++m_timeStamp.text; }
    // The contents grew wider or taller: scroll ranges follow.
    void updateScrollRanges();
    // Queues one request of this view; its reply comes back as an event.
    void send(fwndlog::ReadKind kind, const QString &query, qint64 first = -1, qint64 last = -1,
              qint64 newCount = -1, bool cancellable = false);
    // A reply of a request the subclass sent (kinds other than the view's own).
    virtual void replyArrived(fwndlog::FLogReply &reply);

private:
    void open();
    void readPage(qint64 first, qint64 last);
    void prefetch();
    void cancelPrefetchExcept(const QList<QPair<qint64, qint64>> &wanted);
    void drainStalePackets();
    void listen(bool on);
    void applyGrowth(qint64 newCount);
    void setCount(qint64 count);
    void updateRepaint(bool wasAtBottom);
    void infoFinished(fwndlog::FLogReply &reply);
    void dataFinished(fwndlog::FLogReply &reply);
    void updateFinished(fwndlog::FLogReply &reply);
    void commandFinished(fwndlog::FLogReply &reply);
    void storeArrived(qint64 first, qint64 last);
    qint64 maxTopLine() const;
    qint64 scrollScale() const;

    const QString m_logName;
    QPointer<DBConn> m_conn;
    std::shared_ptr<fwndlog::FLogMailbox> m_mailbox;
    fwndlog::FBuffer m_buffer;
    fwndlog::FTimeStamp m_timeStamp;
    QStringDecoder m_decoder;
    QString m_encodingName;
    QTimer *m_checkTimer = nullptr;

    quint64 m_generation = 0;
    quint64 m_nextTicket = 0;
    QHash<quint64, fwndlog::FLogReply> m_outstanding; // page reads by ticket
    bool m_infoOut = false;
    bool m_updateOut = false;
    qint64 m_pendingUpdateCount = -1; // highest count announced while an update read was out
    QByteArray m_packetWhileLoading;
    bool m_listening = false;
    bool m_loading = false;
    bool m_failed = false;
    bool m_firstResizePending = false;
    bool m_clearing = false;

    int m_logId = -1;
    qint64 m_count = -1;
    qint64 m_previousCount = -1;
    qint64 m_offset = -1;
    int m_contentsWidth = 0;
    int m_lastX = 0;
    int m_cancelledReads = 0;
};

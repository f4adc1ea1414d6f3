#pragma once

#include <QByteArray>
#include <QEvent>
#include <QList>
#include <QString>
#include <QStringList>

namespace fwndlog {

// What a request of the log view was for.
enum class ReadKind {
    Info,
    Page,
    Update,
    Clear,
    KeepAlive,
    Rules,
    Search,
    AsyncSearch,
    SearchStatus,
    KillSearch
};

// The outcome of one request, built on the connection's worker and handed
// whole to the interface thread.
struct FLogReply
{
    quint64 generation = 0; // of the view's open that made the request
    quint64 ticket = 0; // the request's number within the view
    ReadKind kind = ReadKind::Page;
    qint64 first = -1;
    qint64 last = -1;
    qint64 newCount = -1; // update reads: the line count they bring the view to
    uint code = 0;
    QString errorText;
    bool cancelled = false;
    // Page and update reads: column "line", each a view into block (copy a
    // line with QByteArray(data, size) to keep it beyond the reply).
    QByteArray block;
    QList<QByteArray> lines;
    QStringList columns; // other reads: every cell as text
    QList<QStringList> rows;

    bool ok() const { return code == 0 && !cancelled; }
    int column(const QString &name) const;
};

// The events the log view posts to itself. Completions on the worker only
// post; everything else happens in the view's event handler.
class FLogEvent : public QEvent
{
public:
    enum Type {
        DataFinished = 1100, // a page read finished
        UpdateFinished = 1101, // an update read finished, or must be applied at once
        ChangeWidth = 1102, // the widest line became wider
        Reload = 1103, // the log must be read again (cleared, shrunk, rotated)
        InfoFinished = 1104, // the log information arrived
        CommandFinished = 1105, // clearing, keep-alive or highlighting rules
        CountChanged = 1107, // the line count changed
        ContentsMoved = 1108, // re-evaluate the pointer shape
    };

    explicit FLogEvent(Type type, FLogReply reply = {})
        : QEvent(QEvent::Type(type))
        , m_reply(std::move(reply))
    { }
    FLogEvent(Type type, qint64 value)
        : QEvent(QEvent::Type(type))
        , m_value(value)
    { }

    static bool isLogEvent(const QEvent *event)
    {
        return int(event->type()) >= int(DataFinished) && int(event->type()) <= int(ContentsMoved);
    }

    FLogReply &reply() { return m_reply; }
    qint64 value() const { return m_value; }

private:
    FLogReply m_reply;
    qint64 m_value = 0;
};

} // namespace fwndlog

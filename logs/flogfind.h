#pragma once

#include "logs/flogevent.h"
#include "logs/fselect.h"

#include <QObject>
#include <QPointer>

#include <memory>

class FWndLog;
class QTimer;

namespace fwndlog {
class FLogMailbox;

// Finds a text in a log: first in the lines the view holds, then on the
// server from the first line it does not hold ("LogSearch(", or in the
// background with "AsyncLogSearch(" and status polling). A search that did
// not start at the log's edge offers to wrap around once.
class FLogFind : public QObject
{
    Q_OBJECT

public:
    enum Direction { Down = 0, Up = 1 };
    enum StartFrom { Edge = 0, Displayed = 1, LastFound = 2 };
    static constexpr int kPollMs = 1000;

    explicit FLogFind(FWndLog *view);
    ~FLogFind() override;

    bool isSearching() const { return m_busy; }
    QString text() const { return m_text; }
    qint64 occurrences() const { return m_occurrences; }
    bool isCaseSensitive() const { return m_caseSensitive; }
    bool isAsynchronous() const { return m_async; }
    void setAsynchronous(bool async) { m_async = async; }
    // The statement that searches the server from start (the text escaped).
    QString searchStatement(qint64 start) const;

public slots:
    // A new search; with a selection it starts there, otherwise as asked.
    void slotFindFirst(fwndlog::FLogFind::Direction direction, const QString &text,
                       fwndlog::FLogFind::StartFrom from = LastFound);
    // The next occurrence of the last text (F3, Shift+F3).
    void slotFindNext(fwndlog::FLogFind::Direction direction);
    // Ends a running search (a background one is killed on the server).
    void slotCancel();

signals:
    void signalFound(const QString &text, fwndlog::FLogFind::Direction direction, qint64 line,
                     int column);
    void signalChangeWidgetAppearance(bool enabled);
    void signalChangeCursorAppearance(bool busy);
    void signalSearchingProgress(int percent);
    // The search ended: found or not (after its messages were shown).
    void signalFinished(bool found);

protected:
    bool event(QEvent *event) override;

private:
    void run();
    void askServer(qint64 start);
    void serverFound(qint64 line);
    void place(qint64 line);
    void notFound();
    void setBusy(bool busy);
    void finished(bool found);
    bool beyondOrigin(qint64 line, int column) const;
    void send(fwndlog::ReadKind kind, const QString &query);
    void pollStatus();

    QPointer<FWndLog> m_view;
    std::shared_ptr<FLogMailbox> m_mailbox;
    QTimer *m_poll = nullptr;
    QString m_text;
    Direction m_direction = Down;
    FTextPos m_position; // where the next look starts
    FTextPos m_origin; // where this search began
    bool m_startedInMiddle = false;
    bool m_wrapped = false;
    bool m_busy = false;
    qint64 m_occurrences = 0;
    qint64 m_searchId = -1;
    qint64 m_serverStart = 0;
    qint64 m_pendingLine = -1; // found on the server, waiting for its page
    quint64 m_run = 0; // replies of an earlier run are dropped
    const bool m_caseSensitive;
    bool m_async;
    const bool m_endLine;
};

} // namespace fwndlog

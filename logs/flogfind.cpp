#include "logs/flogfind.h"

#include "db/dbevent.h"
#include "db/dbquote.h"
#include "logs/flogrequest.h"
#include "logs/fwndlog.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QMessageBox>
#include <QTimer>

namespace fwndlog {

FLogFind::FLogFind(FWndLog *view)
    : QObject(view)
    , m_view(view)
    , m_mailbox(std::make_shared<FLogMailbox>(this))
    , m_poll(new QTimer(this))
    , m_caseSensitive(UtKontainer::getBool(UtKey::IsLogSearchCaseSensitive, true))
    , m_async(UtKontainer::getBool(UtKey::IsLogSearchAsync, false))
    , m_endLine(UtKontainer::getBool(UtKey::LogSearchHasEndLine, false))
{
    m_poll->setInterval(kPollMs);
    m_poll->setSingleShot(true);
    connect(m_poll, &QTimer::timeout, this, &FLogFind::pollStatus);
    connect(view, &FWndLogBase::signalDataReady, this, [this] {
        if (m_pendingLine >= 0 && m_view && m_view->buffer().contains(m_pendingLine)) {
            const qint64 line = std::exchange(m_pendingLine, -1);
            place(line);
        }
    });
}

FLogFind::~FLogFind()
{
    m_mailbox->detach();
}

void FLogFind::send(ReadKind kind, const QString &query)
{
    if (!m_view || !m_view->connection())
        return;
    FLogReply meta;
    meta.kind = kind;
    meta.generation = m_run;
    FLogRequest::send(m_view->connection(), query, m_mailbox, meta, false);
}

QString FLogFind::searchStatement(qint64 start) const
{
    QString statement = m_async ? QStringLiteral("select AsyncLogSearch(\"")
                                : QStringLiteral("select LogSearch(\"");
    statement += dbEscape(m_view ? m_view->logName() : QString());
    statement += QStringLiteral("\", \"") + dbEscape(m_text) + QStringLiteral("\", ");
    statement += QString::number(start) + QStringLiteral(", ");
    statement += m_direction == Up ? QStringLiteral("1") : QStringLiteral("0");
    if (m_endLine && m_wrapped)
        statement += QStringLiteral(", ") + QString::number(m_origin.line);
    return statement + QLatin1Char(')');
}

void FLogFind::slotFindFirst(Direction direction, const QString &text, StartFrom from)
{
    if (m_busy || !m_view || text.isEmpty())
        return;
    m_text = text;
    m_direction = direction;
    m_occurrences = 0;
    m_wrapped = false;
    const qint64 last = m_view->count() - 1;
    const FSelect *selection = m_view->selection();
    if (from == Edge) {
        m_position = direction == Down ? FTextPos{0, 0} : FTextPos{last, FTextPos::kLineEnd};
    } else if (from == LastFound && selection->hasSelection()) {
        // From the selection: past its start going down, before its end going up.
        m_position = direction == Down
                ? FTextPos{selection->start().line, selection->start().column + 1}
                : FTextPos{selection->end().line, qMax(0, selection->end().column - 1)};
    } else if (from == Displayed || !m_position.isValid()) {
        const qint64 top = m_view->topLine();
        m_position = direction == Down
                ? FTextPos{top, 0}
                : FTextPos{qMin(last, top + m_view->visibleLines() - 1), FTextPos::kLineEnd};
    }
    m_startedInMiddle = !(direction == Down ? m_position == FTextPos{0, 0}
                                            : m_position.line >= last
                                          && m_position.column == FTextPos::kLineEnd);
    m_origin = m_position;
    run();
}

void FLogFind::slotFindNext(Direction direction)
{
    if (m_text.isEmpty() || m_busy)
        return;
    if (direction != m_direction && m_view && m_view->selection()->hasSelection()) {
        // Turning round: start from the other side of the current occurrence.
        const FSelect *selection = m_view->selection();
        m_position = direction == Down ? selection->end() : selection->start();
    }
    m_direction = direction;
    m_occurrences = 0;
    m_wrapped = false;
    m_origin = m_position;
    m_startedInMiddle = true;
    run();
}

void FLogFind::slotCancel()
{
    if (!m_busy)
        return;
    ++m_run;
    m_poll->stop();
    if (m_searchId >= 0)
        send(ReadKind::KillSearch, QStringLiteral("KillLogSearch(%1)").arg(m_searchId));
    m_searchId = -1;
    m_pendingLine = -1;
    finished(false);
}

void FLogFind::setBusy(bool busy)
{
    m_busy = busy;
    emit signalChangeWidgetAppearance(!busy);
    emit signalChangeCursorAppearance(busy);
}

bool FLogFind::beyondOrigin(qint64 line, int column) const
{
    if (!m_wrapped)
        return false;
    const FTextPos at{line, column};
    return m_direction == Down ? at >= m_origin : at <= m_origin;
}

void FLogFind::run()
{
    if (!m_view)
        return;
    const qint64 count = m_view->count();
    const Qt::CaseSensitivity cs = m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qint64 line = m_position.line;
    int column = m_position.column;
    // The buffered lines first.
    while (line >= 0 && line < count && m_view->buffer().contains(line)) {
        const QString text = m_view->lineText(line);
        qsizetype found = -1;
        if (m_direction == Down) {
            found = column <= text.size() ? text.indexOf(m_text, column, cs) : -1;
        } else if (column > 0) {
            const qsizetype from = column == FTextPos::kLineEnd ? -1 : column - 1;
            found = text.lastIndexOf(m_text, from, cs);
        }
        if (found >= 0 && !beyondOrigin(line, int(found))) {
            if (m_busy)
                setBusy(false);
            m_pendingLine = -1;
            ++m_occurrences;
            m_position = m_direction == Down ? FTextPos{line, int(found) + 1}
                                             : FTextPos{line, int(found)};
            emit signalFound(m_text, m_direction, line, int(found));
            finished(true);
            return;
        }
        if (beyondOrigin(line, m_direction == Down ? int(text.size()) : 0)) {
            notFound();
            return;
        }
        line += m_direction == Down ? 1 : -1;
        column = m_direction == Down ? 0 : FTextPos::kLineEnd;
    }
    if (line < 0 || line >= count || (m_wrapped && beyondOrigin(line, 0))) {
        notFound();
        return;
    }
    askServer(line);
}

void FLogFind::askServer(qint64 start)
{
    if (!m_busy)
        setBusy(true);
    m_serverStart = start;
    send(m_async ? ReadKind::AsyncSearch : ReadKind::Search, searchStatement(start));
}

bool FLogFind::event(QEvent *event)
{
    if (!FLogEvent::isLogEvent(event))
        return QObject::event(event);
    DBEvent::afterReceive();
    FLogReply &reply = static_cast<FLogEvent *>(event)->reply();
    if (reply.generation != m_run || !m_busy)
        return true;
    const int lineColumn = reply.column(QStringLiteral("Line"));
    switch (reply.kind) {
    case ReadKind::Search: // LogSearch: a row with the line, or none
        if (!reply.ok()) {
            notFound();
        } else if (reply.rows.isEmpty() || lineColumn < 0) {
            notFound();
        } else {
            serverFound(reply.rows.first().value(lineColumn).toLongLong());
        }
        break;
    case ReadKind::AsyncSearch: { // AsyncLogSearch: the search id
        const int idColumn = reply.column(QStringLiteral("SearchId"));
        if (!reply.ok() || reply.rows.isEmpty() || idColumn < 0) {
            notFound();
            break;
        }
        m_searchId = reply.rows.first().value(idColumn).toLongLong();
        m_poll->start();
        break;
    }
    case ReadKind::SearchStatus: { // GetSearchStatus
        const int statusColumn = reply.column(QStringLiteral("status"));
        const QString status = reply.rows.isEmpty() || statusColumn < 0
                ? QString()
                : reply.rows.first().value(statusColumn);
        if (reply.ok() && status == QLatin1String("searching")) {
            // How far the search got, as far as the server tells it.
            const qint64 at = reply.rows.first().value(lineColumn).toLongLong();
            const qint64 total
                    = m_direction == Down ? m_view->count() - m_serverStart : m_serverStart + 1;
            const qint64 done = m_direction == Down ? at - m_serverStart : m_serverStart - at;
            emit signalSearchingProgress(
                    total > 0 && at > 0 ? int(qBound(qint64(0), done * 100 / total, qint64(100)))
                                        : 0);
            m_poll->start();
            break;
        }
        m_searchId = -1;
        if (reply.ok() && status == QLatin1String("found"))
            serverFound(reply.rows.first().value(lineColumn).toLongLong());
        else
            notFound();
        break;
    }
    default:
        break;
    }
    return true;
}

void FLogFind::pollStatus()
{
    if (m_searchId >= 0)
        send(ReadKind::SearchStatus, QStringLiteral("select GetSearchStatus(%1)").arg(m_searchId));
}

void FLogFind::serverFound(qint64 line)
{
    if (!m_view || line < 0 || line >= m_view->count()
        || (m_wrapped && beyondOrigin(line, 0) && line != m_origin.line)) {
        notFound();
        return;
    }
    if (m_view->buffer().contains(line)) {
        place(line);
        return;
    }
    // Scroll there; the occurrence is placed once its page has arrived.
    m_pendingLine = line;
    m_view->scrollToLine(line);
}

void FLogFind::place(qint64 line)
{
    if (!m_view)
        return;
    const QString text = m_view->lineText(line);
    const Qt::CaseSensitivity cs = m_caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype column
            = m_direction == Down ? text.indexOf(m_text, 0, cs) : text.lastIndexOf(m_text, -1, cs);
    if (column < 0) // the server matched what the text here cannot place
        column = m_direction == Down ? text.indexOf(m_text, 0, Qt::CaseInsensitive)
                                     : text.lastIndexOf(m_text, -1, Qt::CaseInsensitive);
    setBusy(false);
    ++m_occurrences;
    if (column < 0) {
        m_position = m_direction == Down ? FTextPos{line + 1, 0}
                                         : FTextPos{line - 1, FTextPos::kLineEnd};
        emit signalFound(QString(), m_direction, line, -1);
    } else {
        m_position = m_direction == Down ? FTextPos{line, int(column) + 1}
                                         : FTextPos{line, int(column)};
        emit signalFound(m_text, m_direction, line, int(column));
    }
    finished(true);
}

void FLogFind::notFound()
{
    if (m_busy)
        setBusy(false);
    if (!m_view) {
        finished(false);
        return;
    }
    const QString caption = UtKontainer::getText(UtKey::Caption);
    if (m_startedInMiddle && !m_wrapped) {
        const QString question = m_direction == Down
                ? tr("Text '%1' not found,%2would you like to search from the beginning?")
                : tr("Text '%1' not found,%2would you like to search from the end?");
        if (QMessageBox::question(m_view, caption,
                                  question.arg(m_text.toHtmlEscaped(), QStringLiteral("<br>")),
                                  QMessageBox::Yes | QMessageBox::No)
            == QMessageBox::Yes) {
            m_wrapped = true;
            m_position = m_direction == Down ? FTextPos{0, 0}
                                             : FTextPos{m_view->count() - 1, FTextPos::kLineEnd};
            run();
            return;
        }
        finished(false);
        return;
    }
    const QString text = m_occurrences == 0
            ? tr("Text '%1' not found.").arg(m_text.toHtmlEscaped())
            : tr("No more occurrencies of '%1' were found.").arg(m_text.toHtmlEscaped());
    QMessageBox::information(m_view, caption, text);
    finished(false);
}

void FLogFind::finished(bool found)
{
    if (m_busy)
        setBusy(false);
    emit signalFinished(found);
}

} // namespace fwndlog

#include "logs/fwndlog.h"

#include "db/dbconn.h"
#include "logs/flogevent.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>

using namespace fwndlog;

namespace {
// Lines longer than this are drawn from the first visible column only.
constexpr int kSliceFrom = 512;
} // namespace

FWndLog::FWndLog(const QString &logName, DBConn *conn, QWidget *parent)
    : FWndLogBase(logName, conn, parent)
{
    setAccessibleName(tr("Log %1").arg(logName));
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::IBeamCursor);
    buildMenus();
    loadRules();
    connect(this, &FWndLogBase::signalDataReady, this,
            [this] { setProperty(kLoadedProperty, true); });
    connect(this, &FWndLogBase::signalInfoReady, this, [this] {
        if (count() <= 0)
            setProperty(kLoadedProperty, true);
    });
}

FWndLog::~FWndLog() = default;

void FWndLog::buildMenus()
{
    m_menu = new QMenu(tr("&Edit"), this);
    m_menu->setObjectName(QStringLiteral("logMenu"));
    DBConn *conn = connection();
    if (conn && conn->mayModify()) {
        m_actClear = m_menu->addAction(tr("Clear Log"));
        m_actClear->setObjectName(QStringLiteral("actClearLog"));
        connect(m_actClear, &QAction::triggered, this, [this] { slotClearLog(true); });
    }
}

void FWndLog::loadRules()
{
    if (UtKontainer::getInt(UtKey::AdminHasLogRegExp) != 1)
        return;
    send(ReadKind::Rules,
         QStringLiteral("select Id, Enabled, Order, Description, Condition, "
                        "IsRegularExpression, Color from LogHighlighting"));
}

void FWndLog::replyArrived(FLogReply &reply)
{
    if (reply.kind != ReadKind::Rules || !reply.ok())
        return;
    m_rules.setRows(reply.columns, reply.rows);
    m_rulesLoaded = true;
    bumpColorGeneration();
    viewport()->update();
}

void FWndLog::setRules(const QList<FLogRule> &rules)
{
    m_rules.setRules(rules);
    m_rulesLoaded = true;
    bumpColorGeneration();
    bumpTextGeneration();
    viewport()->update();
}

QColor FWndLog::lineColor(const QString &text)
{
    return m_rules.colorOf(text, palette().color(QPalette::Base));
}

const QList<fdata::Link> &FWndLog::linksOf(qint64 line, FData &data)
{
    if (!data.links)
        data.links = m_link.find(line, textOf(data));
    return *data.links;
}

int FWndLog::columnAt(const QString &text, int x) const
{
    if (x <= 0 || text.isEmpty())
        return 0;
    const QFontMetrics metrics = fontMetrics();
    // The largest boundary whose prefix is not wider than x.
    int low = 0;
    int high = int(text.size());
    if (metrics.horizontalAdvance(text) <= x)
        return high;
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (metrics.horizontalAdvance(text.left(middle)) <= x)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

qint64 FWndLog::lineAt(const QPoint &viewportPos) const
{
    return topLine() + viewportPos.y() / lineHeight();
}

void FWndLog::drawLine(QPainter &painter, qint64 line, FData &data, const QRect &rect)
{
    const QString &text = textOf(data);
    const int offset = textOffsetX();
    int firstColumn = 0;
    int lastColumn = int(text.size());
    if (text.size() > kSliceFrom) {
        // Only the slice the viewport shows is laid out.
        firstColumn = qMax(0, columnAt(text, offset) - 1);
        lastColumn = qMin(int(text.size()), columnAt(text, offset + rect.width()) + 2);
    }
    const QFontMetrics metrics = fontMetrics();
    const int sliceX = firstColumn > 0 ? metrics.horizontalAdvance(text.left(firstColumn)) : 0;
    const int baseline = rect.top() + metrics.ascent() + (rect.height() - metrics.height()) / 2;
    painter.drawText(QPoint(sliceX - offset, baseline),
                     text.mid(firstColumn, lastColumn - firstColumn));

    const QList<fdata::Link> &links = linksOf(line, data);
    if (links.isEmpty())
        return;
    QFont underlined = font();
    underlined.setUnderline(true);
    painter.save();
    painter.setFont(underlined);
    for (const fdata::Link &link : links) {
        if (link.start + link.length < firstColumn || link.start > lastColumn)
            continue;
        const int x = metrics.horizontalAdvance(text.left(link.start));
        painter.drawText(QPoint(x - offset, baseline), text.mid(link.start, link.length));
    }
    painter.restore();
}

std::optional<fdata::Link> FWndLog::linkAt(const QPoint &viewportPos)
{
    const qint64 line = lineAt(viewportPos);
    FData *data = const_cast<FBuffer &>(buffer()).at(line);
    if (!data)
        return std::nullopt;
    const QString &text = textOf(*data);
    const int x = viewportPos.x() + textOffsetX();
    const QFontMetrics metrics = fontMetrics();
    for (const fdata::Link &link : linksOf(line, *data)) {
        const int left = metrics.horizontalAdvance(text.left(link.start));
        const int right = metrics.horizontalAdvance(text.left(link.start + link.length));
        if (x >= left && x < right)
            return link;
    }
    return std::nullopt;
}

void FWndLog::updateCursor(const QPoint &viewportPos)
{
    const bool over = linkAt(viewportPos).has_value();
    if (over == m_overLink)
        return;
    m_overLink = over;
    viewport()->setCursor(over ? Qt::PointingHandCursor : Qt::IBeamCursor);
}

bool FWndLog::event(QEvent *event)
{
    if (event->type() == QEvent::Type(FLogEvent::ContentsMoved)) {
        updateCursor(viewport()->mapFromGlobal(QCursor::pos()));
        return true;
    }
    return FWndLogBase::event(event);
}

bool FWndLog::viewportEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseMove: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        updateCursor(mouse->position().toPoint());
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && m_overLink) {
            const QPoint pos = mouse->position().toPoint();
            if (const auto link = linkAt(pos)) {
                FData *data = const_cast<FBuffer &>(buffer()).at(link->line);
                if (data)
                    QDesktopServices::openUrl(QUrl(textOf(*data).mid(link->start, link->length)));
            }
        }
        break;
    }
    default:
        break;
    }
    return FWndLogBase::viewportEvent(event);
}

void FWndLog::contextMenuEvent(QContextMenuEvent *event)
{
    if (!m_menu->isEmpty())
        m_menu->exec(event->globalPos());
}

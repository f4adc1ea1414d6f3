#include "status/timegraph.h"

#include "status/statformat.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTimeZone>

#include <algorithm>
#include <cmath>
#include <vector>

namespace timegraph {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("TimeGraphWnd", text);
}

// Margins around the chart area: room for the value labels on the left, the
// time labels below and the titles.
constexpr int kLeft = 56;
constexpr int kRight = 14;
constexpr int kTop = 26;
constexpr int kBottom = 34;

} // namespace

QString Chart::valueColumn() const
{
    return chartClass == QLatin1String("Messages") ? QStringLiteral("count")
                                                   : QStringLiteral("connections");
}

QString Chart::title() const
{
    return seriesName(chartClass) + QStringLiteral(": ") + seriesName(name) + QStringLiteral(" (")
            + statformat::duration(scaleTime) + QStringLiteral(")");
}

QString Chart::yAxisTitle() const
{
    const QString length = statformat::duration(sampleTime);
    return chartClass == QLatin1String("Messages") ? tr("Count (in %1)").arg(length)
                                                   : tr("Connections (in %1)").arg(length);
}

QString Chart::settingsKey() const
{
    // Class and name as one path element, '/' kept out of it.
    QString key = chartClass + QLatin1Char('_') + name;
    key.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("/Other/TimeGraph/") + key;
}

int parseTimeZone(const QString &text)
{
    if (text.size() <= 4)
        return 0;
    const QChar sign = text.at(0);
    if (sign != QLatin1Char('+') && sign != QLatin1Char('-'))
        return 0;
    bool hoursOk = false;
    bool minutesOk = false;
    const int hours = text.mid(1, 2).toInt(&hoursOk);
    const int minutes = text.mid(3, 2).toInt(&minutesOk);
    if (!hoursOk || !minutesOk || hours > 14 || minutes > 59)
        return 0;
    const int seconds = (hours * 60 + minutes) * 60;
    return sign == QLatin1Char('-') ? -seconds : seconds;
}

QString seriesName(const QString &name)
{
    static const struct
    {
        const char *key;
        const char *text;
    } names[] = {{"Messages", QT_TRANSLATE_NOOP("TimeGraphWnd", "Messages")},
                 {"Connections", QT_TRANSLATE_NOOP("TimeGraphWnd", "Connections")},
                 {"Received", QT_TRANSLATE_NOOP("TimeGraphWnd", "Received")},
                 {"Count", QT_TRANSLATE_NOOP("TimeGraphWnd", "Count")},
                 {"Sent", QT_TRANSLATE_NOOP("TimeGraphWnd", "Sent")},
                 {"Total", QT_TRANSLATE_NOOP("TimeGraphWnd", "Total")},
                 {"Spam", QT_TRANSLATE_NOOP("TimeGraphWnd", "Spam")},
                 {"OutgoingSMTP", QT_TRANSLATE_NOOP("TimeGraphWnd", "Outgoing SMTP")},
                 {"RejectedSMTP", QT_TRANSLATE_NOOP("TimeGraphWnd", "Rejected SMTP")},
                 {"MarkedAsHam", QT_TRANSLATE_NOOP("TimeGraphWnd", "Marked As Ham")},
                 {"MarkedAsSpam", QT_TRANSLATE_NOOP("TimeGraphWnd", "Marked As Spam")}};
    for (const auto &entry : names) {
        if (name == QLatin1String(entry.key))
            return tr(entry.text);
    }
    return name;
}

Ladder ladderFor(qint64 span)
{
    if (span < 180)
        return {1, {1, 5, 10, 15, 30, 60}, QStringLiteral("mm:ss")};
    if (span < 10800)
        return {60, {1, 5, 10, 15, 30, 60}, QStringLiteral("h:mm")};
    if (span < 259200)
        return {900, {1, 2, 4, 6, 12, 24}, QStringLiteral("h:mm d.M.")};
    if (span < 2592000)
        return {7200, {1, 4, 12, 24, 36, 48}, QStringLiteral("h:mm d.M.")};
    return {43200, {1, 2, 8, 20, 40, 240}, QStringLiteral("d.M.yyyy")};
}

qint64 labelStep(const Ladder &ladder, double pixelsPerSecond, double minDistance)
{
    for (int multiplier : ladder.multipliers) {
        const qint64 step = ladder.base * multiplier;
        if (double(step) * pixelsPerSecond >= minDistance)
            return step;
    }
    return ladder.base * ladder.multipliers.last(); // nothing fits: the widest step
}

void valueRange(const Chart &chart, qint64 *low, qint64 *high)
{
    qint64 min = chart.settings.yMin;
    qint64 max = chart.settings.yMax > min ? chart.settings.yMax : chart.suggestedMax;
    if (max <= min)
        max = min + 1; // never divide by an empty range
    *low = min;
    *high = max;
}

namespace {

QDateTime shownTime(const Chart &chart, qint64 seconds)
{
    if (chart.settings.serverTime)
        return QDateTime::fromSecsSinceEpoch(seconds + chart.serverOffset, Qt::UTC);
    return QDateTime::fromSecsSinceEpoch(seconds);
}

// Seconds east of UTC of the zone the times are shown in, at that time.
qint64 shownOffset(const Chart &chart, qint64 seconds)
{
    if (chart.settings.serverTime)
        return chart.serverOffset;
    return QDateTime::fromSecsSinceEpoch(seconds).offsetFromUtc();
}

void drawMessage(QPainter &painter, const QRect &rect, const QString &message)
{
    painter.fillRect(rect, Qt::white);
    painter.setPen(Qt::darkRed);
    painter.drawText(rect.adjusted(4, 4, -4, -4), Qt::AlignCenter | Qt::TextWordWrap, message);
}

} // namespace

void draw(QPainter &painter, const QRect &rect, const Chart &chart)
{
    painter.save();
    const QRect area = rect.adjusted(kLeft, kTop, -kRight, -kBottom);
    if (area.width() < kMinWidth || area.height() < kMinHeight) {
        drawMessage(
                painter, rect,
                tr("We are sorry.%1The area of the graph is too small.").arg(QStringLiteral("\n")));
        painter.restore();
        return;
    }
    if (area.width() > kMaxSide || area.height() > kMaxSide) {
        drawMessage(
                painter, rect,
                tr("We are sorry.%1The area of the graph is too large.").arg(QStringLiteral("\n")));
        painter.restore();
        return;
    }
    painter.fillRect(rect, Qt::white);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QFontMetrics metrics = painter.fontMetrics();

    qint64 low = 0;
    qint64 high = 1;
    valueRange(chart, &low, &high);
    const double valueSpan = double(high - low);
    const qint64 end = chart.serverNow;
    const qint64 span = std::max<qint64>(chart.scaleTime, 0);
    const qint64 start = end - span;
    const double pixelsPerSecond = span > 0 ? double(area.width()) / double(span) : 0.0;
    auto xOf = [&](qint64 time) {
        return span > 0 ? area.left() + double(time - start) * pixelsPerSecond
                        : double(area.right());
    };
    auto yOf = [&](double value) {
        return area.bottom() - (value - double(low)) / valueSpan * area.height();
    };

    // Titles.
    painter.setPen(Qt::black);
    painter.drawText(QRect(rect.left(), rect.top() + 2, rect.width(), kTop - 6), Qt::AlignCenter,
                     chart.title());
    painter.save();
    painter.translate(rect.left() + metrics.height(), area.center().y());
    painter.rotate(-90);
    painter.drawText(QRect(-area.height() / 2, -metrics.height(), area.height(), metrics.height()),
                     Qt::AlignCenter, chart.yAxisTitle());
    painter.restore();

    // Value labels and grid: about five steps.
    const qint64 valueStep = std::max<qint64>(1, qint64(std::ceil(valueSpan / 5.0)));
    const QPen gridPen(QColor(220, 220, 220), 0, Qt::DotLine);
    for (qint64 value = low; value <= high; value += valueStep) {
        const int y = qRound(yOf(double(value)));
        if (chart.settings.grid) {
            painter.setPen(gridPen);
            painter.drawLine(area.left(), y, area.right(), y);
        }
        painter.setPen(Qt::black);
        painter.drawText(QRect(rect.left() + metrics.height() + 2, y - metrics.height() / 2,
                               kLeft - metrics.height() - 6, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(value));
    }

    // Time labels at whole steps of the shown zone.
    const Ladder ladder = ladderFor(span);
    const double minDistance = 1.5 * metrics.horizontalAdvance(ladder.format);
    if (span > 0) {
        const qint64 step = labelStep(ladder, pixelsPerSecond, minDistance);
        const qint64 shift = shownOffset(chart, end);
        qint64 first = ((start + shift) / step) * step - shift;
        if (first < start)
            first += step;
        for (qint64 time = first; time <= end; time += step) {
            const int x = qRound(xOf(time));
            if (chart.settings.grid) {
                painter.setPen(gridPen);
                painter.drawLine(x, area.top(), x, area.bottom());
            }
            painter.setPen(Qt::black);
            painter.drawLine(x, area.bottom(), x, area.bottom() + 3);
            const QString label = shownTime(chart, time).toString(ladder.format);
            const int width = metrics.horizontalAdvance(label);
            painter.drawText(x - width / 2, area.bottom() + 4 + metrics.ascent(), label);
        }
    }

    // Axes.
    painter.setPen(Qt::black);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.bottomLeft(), area.topLeft());

    // The samples: one minimum and maximum per pixel column, so a long
    // series costs what a short one does once it is reduced.
    painter.setClipRect(area.adjusted(0, 0, 1, 1));
    painter.setPen(QPen(chart.settings.lineColor, 1.5));
    painter.setRenderHint(QPainter::Antialiasing, true);
    const int columns = area.width() + 1;
    struct Column
    {
        double first, last, min, max;
        bool used = false;
    };
    std::vector<Column> reduced(size_t(columns), Column{});
    const Sample *samples = chart.samples.constData();
    for (qsizetype i = 0, n = chart.samples.size(); i < n; ++i) {
        const Sample &sample = samples[i];
        if (sample.time < start || sample.time > end)
            continue;
        const int column = std::clamp(int(xOf(sample.time)) - area.left(), 0, columns - 1);
        Column &c = reduced[size_t(column)];
        const double v = double(sample.value);
        if (!c.used) {
            c = {v, v, v, v, true};
        } else {
            c.last = v;
            c.min = std::min(c.min, v);
            c.max = std::max(c.max, v);
        }
    }
    // Drawn as short polylines: one long antialiased outline of a jagged
    // line costs the raster engine far more than many small ones.
    std::vector<QPointF> points;
    points.reserve(size_t(columns) * 4);
    for (int i = 0; i < columns; ++i) {
        const Column &c = reduced[size_t(i)];
        if (!c.used)
            continue;
        const double x = area.left() + i;
        points.emplace_back(x, yOf(c.first));
        if (c.min != c.max) {
            points.emplace_back(x, yOf(c.min));
            points.emplace_back(x, yOf(c.max));
        }
        points.emplace_back(x, yOf(c.last));
    }
    constexpr size_t kChunk = 32;
    for (size_t from = 0; from + 1 < points.size(); from += kChunk) {
        const size_t count = std::min(kChunk + 1, points.size() - from);
        painter.drawPolyline(points.data() + from, int(count));
    }
    painter.restore();
}

QImage render(const Chart &chart, const QSize &size, qreal devicePixelRatio)
{
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    draw(painter, QRect(QPoint(0, 0), size), chart);
    return image;
}

} // namespace timegraph

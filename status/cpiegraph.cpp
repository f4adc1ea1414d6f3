#include "status/cpiegraph.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

void CPieGraph::addSlice(qint64 value, const QColor &color, const QString &label)
{
    m_slices.append({value, color, label});
}

void CPieGraph::setShadow(int size, int offsetX, int offsetY)
{
    m_shadowSize = size;
    m_shadowX = offsetX;
    m_shadowY = offsetY;
}

void CPieGraph::setStatisticsStyle()
{
    setDepth(13);
    setSpacing(10);
    setMargin(10);
    setShadow(4, 10, 10);
}

QList<int> CPieGraph::spans(const QList<qint64> &values)
{
    QList<int> result(values.size(), 0);
    // Sums of 64-bit values and their products with 5 760 need more than 64 bits.
    __int128 total = 0;
    for (qint64 value : values)
        total += std::max<qint64>(value, 0);
    if (total <= 0)
        return result;
    int used = 0;
    int largest = -1;
    for (int i = 0; i < values.size(); ++i) {
        const qint64 value = std::max<qint64>(values.at(i), 0);
        result[i] = int(__int128(value) * 5760 / total);
        used += result[i];
        if (value > 0 && (largest < 0 || value > values.at(largest)))
            largest = i;
    }
    if (largest >= 0)
        result[largest] += 5760 - used;
    return result;
}

void blurTwoPass5(QImage &image)
{
    if (image.isNull())
        return;
    image = image.convertToFormat(QImage::Format_ARGB32);
    const int width = image.width();
    const int height = image.height();
    QImage pass(image.size(), QImage::Format_ARGB32);
    // One tap: the weight times each of the four channels.
    auto add = [](int *sum, QRgb pixel, int weight) {
        sum[0] += qRed(pixel) * weight;
        sum[1] += qGreen(pixel) * weight;
        sum[2] += qBlue(pixel) * weight;
        sum[3] += qAlpha(pixel) * weight;
    };
    static const int weights[5] = {1, 4, 6, 4, 1};
    // Rows.
    for (int y = 0; y < height; ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(pass.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int sum[4] = {0, 0, 0, 0};
            for (int k = 0; k < 5; ++k)
                add(sum, in[std::clamp(x + k - 2, 0, width - 1)], weights[k]);
            out[x] = qRgba(sum[0] >> 4, sum[1] >> 4, sum[2] >> 4, sum[3] >> 4);
        }
    }
    // Columns, five rows at a time.
    for (int y = 0; y < height; ++y) {
        const QRgb *rows[5];
        for (int k = 0; k < 5; ++k)
            rows[k] = reinterpret_cast<const QRgb *>(
                    pass.constScanLine(std::clamp(y + k - 2, 0, height - 1)));
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            int sum[4] = {0, 0, 0, 0};
            for (int k = 0; k < 5; ++k)
                add(sum, rows[k][x], weights[k]);
            out[x] = qRgba(sum[0] >> 4, sum[1] >> 4, sum[2] >> 4, sum[3] >> 4);
        }
    }
}

namespace {

struct Wedge
{
    int start; // sixteenths of a degree, counterclockwise from three o'clock
    int span; // negative: clockwise
    QColor color;
    QPointF offset;
};

// The front wall of one wedge: the part of its rim between 180 and 360
// degrees, from the top ellipse down to the bottom one.
void drawWall(QPainter &painter, const QRectF &top, qreal depth, const Wedge &wedge)
{
    // The wedge covers [from, to] in degrees, counterclockwise.
    double from = (wedge.start + wedge.span) / 16.0;
    double to = wedge.start / 16.0;
    if (from > to)
        std::swap(from, to);
    while (from < 0) {
        from += 360;
        to += 360;
    }
    const QRectF bottom = top.translated(0, depth);
    for (double visibleFrom : {180.0, 540.0}) {
        const double a = std::max(from, visibleFrom);
        const double b = std::min(to, visibleFrom + 180.0);
        if (b <= a)
            continue;
        QPainterPath path;
        path.arcMoveTo(top, a);
        path.arcTo(top, a, b - a);
        QPointF end;
        {
            QPainterPath probe;
            probe.arcMoveTo(bottom, b);
            end = probe.currentPosition();
        }
        path.lineTo(end);
        path.arcTo(bottom, b, a - b);
        path.closeSubpath();
        painter.fillPath(path.translated(wedge.offset), wedge.color.darker(140));
    }
}

} // namespace

QImage CPieGraph::render(QSize size, qreal devicePixelRatio) const
{
    if (size.isEmpty())
        return QImage();
    const qreal ratio = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    const QSize pixels(qRound(size.width() * ratio), qRound(size.height() * ratio));
    // The pie is drawn at three times the target size; on a dense screen at
    // one and a half times its pixels, which is as smooth and costs a quarter.
    const qreal scale = std::max<qreal>(kSupersampling, 1.5 * ratio);

    // The wedges, clockwise from nine o'clock. With no value at all one grey
    // wedge stands in (it is not one of the chart's slices).
    QList<qint64> values;
    for (const Slice &slice : m_slices)
        values << slice.value;
    QList<QColor> colors;
    for (const Slice &slice : m_slices)
        colors << slice.color;
    QList<int> spanList = spans(values);
    if (std::all_of(spanList.begin(), spanList.end(), [](int span) { return span == 0; })) {
        spanList = {5760};
        colors = {QColor(221, 221, 221)};
    }
    const int visible = int(
            std::count_if(spanList.begin(), spanList.end(), [](int span) { return span > 0; }));
    const qreal spacing = visible >= 2 ? m_spacing : 0;

    const qreal depth = m_depth >= 0 ? m_depth : size.height() / 7.0;
    const qreal shrink = std::max(std::abs(m_shadowX), std::abs(m_shadowY)) + 3.0 * m_shadowSize;
    QRectF area = QRectF(QPointF(0, 0), QSizeF(size))
                          .adjusted(m_margin, m_margin, -m_margin, -m_margin)
                          .adjusted(spacing, spacing, -spacing - shrink, -spacing - shrink);
    if (area.width() < 2 || area.height() < depth + 2) {
        QImage empty(pixels, QImage::Format_ARGB32_Premultiplied);
        empty.fill(background());
        empty.setDevicePixelRatio(ratio);
        return empty;
    }
    const QRectF top(area.left(), area.top(), area.width(), area.height() - depth);

    QList<Wedge> wedges;
    int start = 2880;
    for (int i = 0; i < spanList.size(); ++i) {
        const int span = spanList.at(i);
        if (span <= 0)
            continue;
        const double middle = (start - span / 2.0) / 16.0 * std::numbers::pi / 180.0;
        const QPointF offset(spacing * std::cos(middle), -spacing * std::sin(middle));
        wedges.append({start, -span, colors.value(i), offset});
        start -= span;
    }

    // Shadow: the wedges in grey, shifted, blurred. It is soft anyway, so it
    // is drawn at the target size, not supersampled.
    QImage result(pixels, QImage::Format_ARGB32);
    result.fill(background());
    {
        QPainter painter(&result);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(ratio, ratio);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(100, 100, 100));
        painter.translate(m_shadowX, m_shadowY);
        for (const Wedge &wedge : wedges)
            painter.drawPie(area.translated(wedge.offset), wedge.start, wedge.span);
    }
    for (int pass = 0; pass < std::max(1, int(m_shadowSize * ratio / 2)); ++pass)
        blurTwoPass5(result);
    result = result.convertToFormat(QImage::Format_ARGB32_Premultiplied);

    // The pie: front walls, then the top faces, on a transparent layer.
    QImage pie(QSize(qRound(size.width() * scale), qRound(size.height() * scale)),
               QImage::Format_ARGB32_Premultiplied);
    pie.fill(Qt::transparent);
    {
        QPainter painter(&pie);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale, scale);
        painter.setPen(Qt::NoPen);
        for (const Wedge &wedge : wedges)
            drawWall(painter, top, depth, wedge);
        for (const Wedge &wedge : wedges) {
            painter.setBrush(wedge.color);
            painter.drawPie(top.translated(wedge.offset), wedge.start, wedge.span);
        }
    }
    {
        QPainter painter(&result);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRect(QPoint(0, 0), pixels),
                          pie.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    result.setDevicePixelRatio(ratio);
    return result;
}

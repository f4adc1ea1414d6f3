#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// A pie chart with depth, exploded slices and a soft drop shadow, drawn with
// QPainter at three times its size and scaled down for smooth edges.
class CPieGraph
{
public:
    struct Slice
    {
        qint64 value = 0;
        QColor color;
        QString label;
    };

    void addSlice(qint64 value, const QColor &color, const QString &label);
    const QList<Slice> &slices() const { return m_slices; }

    // Style; lengths in pixels of the target size.
    void setDepth(int depth) { m_depth = depth; }
    void setSpacing(int spacing) { m_spacing = spacing; }
    void setMargin(int margin) { m_margin = margin; }
    void setShadow(int size, int offsetX, int offsetY);
    // The statistics page's style: depth 13, spacing 10, margin 10, shadow 4
    // offset 10 right and 10 down.
    void setStatisticsStyle();

    // The image at size (device-independent pixels) for a screen of the given
    // pixel ratio: size * ratio pixels, tagged with the ratio.
    QImage render(QSize size, qreal devicePixelRatio = 1.0) const;

    // Spans in sixteenths of a degree of each slice (0 for a slice of no
    // value; negative values count as 0). The spans add up to 5 760 when any
    // slice has a value: the rounding remainder goes to the largest slice.
    static QList<int> spans(const QList<qint64> &values);

    static constexpr int kSupersampling = 3;
    static QColor background() { return QColor(0xe8, 0xee, 0xe8); }

private:
    QList<Slice> m_slices;
    int m_depth = -1;
    int m_spacing = 0;
    int m_margin = 0;
    int m_shadowSize = 0;
    int m_shadowX = 0;
    int m_shadowY = 0;
};

// Blurs an image with the two-pass five-tap kernel 1 4 6 4 1 (rows, then
// columns); edges repeat their last pixel.
void blurTwoPass5(QImage &image);

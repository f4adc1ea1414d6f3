#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

class QPainter;
class QRect;
class QImage;
class QSize;
class QFontMetrics;

// One traffic chart: its samples, time span and display settings, and the
// drawing of it with time and value axes.
namespace timegraph {

struct Sample
{
    qint64 time = 0; // seconds since the epoch
    qint64 value = 0;
};

struct Settings
{
    qint64 yMin = 0;
    qint64 yMax = 0; // 0 (with yMin 0): the server's suggestion
    QColor lineColor = QColor(0, 0, 160);
    bool grid = true;
    bool serverTime = false; // times in the server's zone instead of the console's
};

struct Chart
{
    QString chartClass; // "Messages" or a connection class
    QString name;
    qint64 scale = 0;
    qint64 scaleTime = 0; // seconds the chart covers
    qint64 sampleTime = 0; // seconds per sample
    qint64 suggestedMax = 0;
    qint64 serverNow = 0; // the server's current time
    int serverOffset = 0; // the server's zone, seconds east of UTC
    QList<Sample> samples;
    Settings settings;

    // "count" for message charts, "connections" for the others.
    QString valueColumn() const;
    QString title() const;
    QString yAxisTitle() const;
    // The settings key below "/Other/TimeGraph/".
    QString settingsKey() const;
};

// "+0130" → 5 400, "-0130" → −5 400 (the sign covers the minutes too); texts
// of four characters or less, or not of that form, give 0.
int parseTimeZone(const QString &text);

// The name of a series as it is shown.
QString seriesName(const QString &name);

struct Ladder
{
    qint64 base;
    QList<int> multipliers; // 1 first
    QString format;
};
// How the time axis of a span of this many seconds is labelled.
Ladder ladderFor(qint64 span);

// The label step in seconds: the base times the first multiplier whose
// length in pixels is at least minDistance; the largest when none is.
qint64 labelStep(const Ladder &ladder, double pixelsPerSecond, double minDistance);

// The value range drawn: the stored minimum, the stored maximum when it is
// above the minimum, else the suggested one; never empty.
void valueRange(const Chart &chart, qint64 *low, qint64 *high);

// Draws the chart into rect (device-independent pixels).
void draw(QPainter &painter, const QRect &rect, const Chart &chart);

// The chart as an image for a screen of the given ratio.
QImage render(const Chart &chart, const QSize &size, qreal devicePixelRatio = 1.0);

// Smallest and largest area the chart is drawn in.
inline constexpr int kMinWidth = 120;
inline constexpr int kMinHeight = 60;
inline constexpr int kMaxSide = 16384;

} // namespace timegraph

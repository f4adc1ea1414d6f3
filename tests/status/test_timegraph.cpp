// Time zones, label steps, value ranges and the drawing of the traffic charts.
#include "status/timegraph.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

class TestTimeGraph : public QObject
{
    Q_OBJECT

private slots:
    void timeZones_data();
    void timeZones();
    void ladders_data();
    void ladders();
    void labelSteps_data();
    void labelSteps();
    void valueRanges_data();
    void valueRanges();
    void names();
    void drawsSamplesWithoutDividingByZero_data();
    void drawsSamplesWithoutDividingByZero();
    void tooSmallShowsTheMessage();
};

void TestTimeGraph::timeZones_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds");
    QTest::newRow("plus one and a half hours") << "+0130" << 5400;
    QTest::newRow("minus one and a half hours") << "-0130" << -5400;
    QTest::newRow("plus one hour") << "+0100" << 3600;
    QTest::newRow("too short") << "+010" << 0;
    QTest::newRow("no sign") << "01300" << 0;
    QTest::newRow("not digits") << "+01x0" << 0;
    QTest::newRow("minutes out of range") << "+0199" << 0;
}

void TestTimeGraph::timeZones()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    QCOMPARE(timegraph::parseTimeZone(text), seconds);
}

void TestTimeGraph::ladders_data()
{
    QTest::addColumn<qint64>("span");
    QTest::addColumn<qint64>("base");
    QTest::addColumn<QString>("format");
    QTest::newRow("two minutes") << qint64(120) << qint64(1) << "mm:ss";
    QTest::newRow("two hours") << qint64(7200) << qint64(60) << "h:mm";
    QTest::newRow("one day") << qint64(86400) << qint64(900) << "h:mm d.M.";
    QTest::newRow("one week") << qint64(7 * 86400) << qint64(7200) << "h:mm d.M.";
    QTest::newRow("one month") << qint64(2592000) << qint64(43200) << "d.M.yyyy";
}

void TestTimeGraph::ladders()
{
    QFETCH(qint64, span);
    QFETCH(qint64, base);
    QFETCH(QString, format);
    const timegraph::Ladder ladder = timegraph::ladderFor(span);
    QCOMPARE(ladder.base, base);
    QCOMPARE(ladder.format, format);
}

void TestTimeGraph::labelSteps_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<qint64>("step");
    // Two hours, labels at least 60 pixels apart.
    QTest::newRow("wide: every 5 minutes") << 1500 << qint64(300);
    QTest::newRow("medium: every 15 minutes") << 500 << qint64(900);
    QTest::newRow("narrow: every hour") << 120 << qint64(3600);
    QTest::newRow("nothing fits: the widest") << 30 << qint64(3600);
    QTest::newRow("very wide: every minute") << 8000 << qint64(60);
}

void TestTimeGraph::labelSteps()
{
    QFETCH(int, width);
    QFETCH(qint64, step);
    const timegraph::Ladder ladder = timegraph::ladderFor(7200);
    QCOMPARE(timegraph::labelStep(ladder, double(width) / 7200.0, 60.0), step);
}

void TestTimeGraph::valueRanges_data()
{
    QTest::addColumn<qint64>("storedMin");
    QTest::addColumn<qint64>("storedMax");
    QTest::addColumn<qint64>("suggested");
    QTest::addColumn<qint64>("low");
    QTest::addColumn<qint64>("high");
    QTest::newRow("0, 0: the server's maximum")
            << qint64(0) << qint64(0) << qint64(200) << qint64(0) << qint64(200);
    QTest::newRow("stored range") << qint64(10) << qint64(50) << qint64(200) << qint64(10)
                                  << qint64(50);
    QTest::newRow("stored maximum below the minimum")
            << qint64(300) << qint64(5) << qint64(200) << qint64(300) << qint64(301);
    QTest::newRow("no suggestion either")
            << qint64(0) << qint64(0) << qint64(0) << qint64(0) << qint64(1);
}

void TestTimeGraph::valueRanges()
{
    QFETCH(qint64, storedMin);
    QFETCH(qint64, storedMax);
    QFETCH(qint64, suggested);
    QFETCH(qint64, low);
    QFETCH(qint64, high);
    timegraph::Chart chart;
    chart.settings.yMin = storedMin;
    chart.settings.yMax = storedMax;
    chart.suggestedMax = suggested;
    qint64 l = -1;
    qint64 h = -1;
    timegraph::valueRange(chart, &l, &h);
    QCOMPARE(l, low);
    QCOMPARE(h, high);
}

void TestTimeGraph::names()
{
    timegraph::Chart chart;
    chart.chartClass = QStringLiteral("SMTP");
    chart.name = QStringLiteral("OutgoingSMTP");
    chart.scaleTime = 3600;
    chart.sampleTime = 300;
    QCOMPARE(chart.valueColumn(), QStringLiteral("connections"));
    QCOMPARE(chart.yAxisTitle(), QStringLiteral("Connections (in 5 minutes)"));
    QCOMPARE(chart.title(), QStringLiteral("SMTP: Outgoing SMTP (1 hour)"));
    chart.chartClass = QStringLiteral("Messages");
    QCOMPARE(chart.valueColumn(), QStringLiteral("count"));
    QCOMPARE(chart.yAxisTitle(), QStringLiteral("Count (in 5 minutes)"));
    QCOMPARE(timegraph::seriesName(QStringLiteral("MarkedAsHam")), QStringLiteral("Marked As Ham"));
    QCOMPARE(timegraph::seriesName(QStringLiteral("Other")), QStringLiteral("Other"));
}

void TestTimeGraph::drawsSamplesWithoutDividingByZero_data()
{
    QTest::addColumn<qint64>("scaleTime");
    QTest::addColumn<qint64>("yMin");
    QTest::addColumn<qint64>("yMax");
    QTest::addColumn<qint64>("suggested");
    QTest::addColumn<bool>("lineDrawn");
    QTest::newRow("ordinary") << qint64(3600) << qint64(0) << qint64(0) << qint64(100) << true;
    QTest::newRow("empty value range")
            << qint64(3600) << qint64(50) << qint64(50) << qint64(0) << true;
    // All samples fall on one column: axes, no line.
    QTest::newRow("no time span") << qint64(0) << qint64(0) << qint64(0) << qint64(100) << false;
}

void TestTimeGraph::drawsSamplesWithoutDividingByZero()
{
    QFETCH(qint64, scaleTime);
    QFETCH(qint64, yMin);
    QFETCH(qint64, yMax);
    QFETCH(qint64, suggested);
    QFETCH(bool, lineDrawn);
    timegraph::Chart chart;
    chart.chartClass = QStringLiteral("Messages");
    chart.name = QStringLiteral("Received");
    chart.scaleTime = scaleTime;
    chart.sampleTime = 60;
    chart.serverNow = 1796917560;
    chart.suggestedMax = suggested;
    chart.settings.yMin = yMin;
    chart.settings.yMax = yMax;
    chart.settings.lineColor = QColor(255, 0, 0);
    for (qint64 t = chart.serverNow - scaleTime; t <= chart.serverNow; t += 60)
        chart.samples.append({t, 50 + (t / 60) % 20});
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = timegraph::render(chart, QSize(600, 240), ratio);
        QCOMPARE(image.size(), QSize(600, 240) * ratio);
        int red = 0;
        int black = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80;
                black += c.red() < 30 && c.green() < 30 && c.blue() < 30;
            }
        }
        QCOMPARE(red > 20, lineDrawn);
        QVERIFY(black > 0); // the axes and labels
    }
}

void TestTimeGraph::tooSmallShowsTheMessage()
{
    timegraph::Chart chart;
    chart.scaleTime = 3600;
    chart.suggestedMax = 10;
    chart.samples = {{0, 1}};
    chart.settings.lineColor = QColor(255, 0, 0);
    const QImage small = timegraph::render(chart, QSize(100, 60));
    // The message in dark red instead of the chart (no axes in black).
    int message = 0;
    int black = 0;
    for (int y = 0; y < small.height(); ++y) {
        for (int x = 0; x < small.width(); ++x) {
            const QColor c = small.pixelColor(x, y);
            message += c.red() > 60 && c.green() < 40 && c.blue() < 40;
            black += c.red() < 30 && c.green() < 30 && c.blue() < 30;
        }
    }
    QVERIFY(message > 0);
    QCOMPARE(black, 0);
}

QTEST_MAIN(TestTimeGraph)
#include "test_timegraph.moc"

// Number formats, section lists, pie slices and the page document of the
// statistics page.
#include "status/cpiegraph.h"
#include "status/statformat.h"
#include "status/statsections.h"

#include <QElapsedTimer>
#include <QTest>

#include <limits>

class TestStatistics : public QObject
{
    Q_OBJECT

private slots:
    void counts_data();
    void counts();
    void volumes_data();
    void volumes();
    void percents_data();
    void percents();
    void durations_data();
    void durations();
    void sectionLists_data();
    void sectionLists();
    void spans_data();
    void spans();
    void derivedSlicesAreClamped();
    void pieIsDrawnAtThePixelRatio();
    void documentRows();
};

void TestStatistics::counts_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0";
    QTest::newRow("three digits") << qint64(999) << "999";
    QTest::newRow("four digits") << qint64(1000) << "1 000";
    QTest::newRow("millions") << qint64(1234567) << "1 234 567";
    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "9 223 372 036 854 775 807";
    QTest::newRow("negative") << qint64(-1234) << "-1 234";
}

void TestStatistics::counts()
{
    QFETCH(qint64, value);
    QFETCH(QString, text);
    QCOMPARE(statformat::count(value), text);
}

void TestStatistics::volumes_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << qint64(0) << "0 B";
    QTest::newRow("a kilobyte stays bytes") << qint64(1024) << "1 024 B";
    QTest::newRow("one and a half kB") << qint64(1536) << "1.5 kB";
    QTest::newRow("two kB, no decimal") << qint64(2048) << "2 kB";
    QTest::newRow("half up") << qint64(1076) << "1.1 kB"; // 105 hundredths: 11 tenths
    QTest::newRow("megabytes") << qint64(5 * 1048576 + 524288) << "5.5 MB";
    QTest::newRow("gigabytes") << qint64(500107862016) << "465.8 GB";
    QTest::newRow("no overflow") << std::numeric_limits<qint64>::max() << "8 589 934 592 GB";
}

void TestStatistics::volumes()
{
    QFETCH(qint64, bytes);
    QFETCH(QString, text);
    QCOMPARE(statformat::volume(bytes), text);
}

void TestStatistics::percents_data()
{
    QTest::addColumn<qint64>("value");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<int>("percent");
    QTest::newRow("half a percent down") << qint64(505) << qint64(1000) << 50;
    QTest::newRow("above the half up") << qint64(506) << qint64(1000) << 51;
    QTest::newRow("all") << qint64(7) << qint64(7) << 100;
    QTest::newRow("no total") << qint64(5) << qint64(0) << -1;
    QTest::newRow("huge values") << std::numeric_limits<qint64>::max() / 2
                                 << std::numeric_limits<qint64>::max() << 50;
}

void TestStatistics::percents()
{
    QFETCH(qint64, value);
    QFETCH(qint64, total);
    QFETCH(int, percent);
    QCOMPARE(statformat::percent(value, total), percent);
}

void TestStatistics::durations_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("under a minute") << qint64(59) << "Less than 1 minute";
    QTest::newRow("one of each") << qint64(86400 + 3600 + 60 + 5) << "1 day, 1 hour, 1 minute";
    QTest::newRow("plurals, zero parts left out")
            << qint64(3 * 86400 + 25 * 60) << "3 days, 25 minutes";
    QTest::newRow("hours only") << qint64(5 * 3600) << "5 hours";
}

void TestStatistics::durations()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(statformat::duration(seconds), text);
}

void TestStatistics::sectionLists_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("ids");
    QTest::addColumn<bool>("valid");
    QTest::newRow("basic default") << "00040000000100100011" << QList<int>{0, 1, 10, 11} << true;
    QTest::newRow("empty list") << "0000" << QList<int>{} << true;
    QTest::newRow("count too large") << "000500000001" << QList<int>{} << false;
    QTest::newRow("cut short") << "0004000000010010001" << QList<int>{} << false;
    QTest::newRow("not digits") << "0002000a0001" << QList<int>{} << false;
    QTest::newRow("id out of range") << "000100022" << QList<int>{} << false;
    QTest::newRow("id twice") << "000200010001" << QList<int>{} << false;
    QTest::newRow("empty text") << "" << QList<int>{} << false;
}

void TestStatistics::sectionLists()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, ids);
    QFETCH(bool, valid);
    const auto decoded = statsections::decodeList(text);
    QCOMPARE(decoded.has_value(), valid);
    if (valid) {
        QCOMPARE(*decoded, ids);
        QCOMPARE(statsections::encodeList(ids), text);
    }
}

void TestStatistics::spans_data()
{
    QTest::addColumn<QList<qint64>>("values");
    QTest::addColumn<QList<int>>("spans");
    QTest::newRow("thirds: remainder on the largest")
            << QList<qint64>{1, 1, 2} << QList<int>{1440, 1440, 2880};
    QTest::newRow("rounding remainder") << QList<qint64>{1, 1, 1} << QList<int>{1920, 1920, 1920};
    QTest::newRow("uneven") << QList<qint64>{7, 3, 0, 1} << QList<int>{3665 + 2, 1570, 0, 523};
    QTest::newRow("zero slices are not drawn") << QList<qint64>{0, 5} << QList<int>{0, 5760};
    QTest::newRow("negative counts as zero") << QList<qint64>{-5, 5} << QList<int>{0, 5760};
    QTest::newRow("nothing at all") << QList<qint64>{0, 0} << QList<int>{0, 0};
    // value * 5 760 would overflow 64 bits.
    QTest::newRow("huge values") << QList<qint64>{std::numeric_limits<qint64>::max() / 2,
                                                  std::numeric_limits<qint64>::max() / 2}
                                 << QList<int>{2880, 2880};
}

void TestStatistics::spans()
{
    QFETCH(QList<qint64>, values);
    QFETCH(QList<int>, spans);
    const QList<int> result = CPieGraph::spans(values);
    QCOMPARE(result, spans);
}

void TestStatistics::derivedSlicesAreClamped()
{
    statsections::Values values;
    values.hasInfo = true;
    values.storageTotal = 100;
    values.storageOccupied = 150; // more than the total
    values.spamFilterOn = true;
    values.stats = {{"mtaAntivirChecked", 3}, {"mtaAntivirVirusFound", 5}, {"mtaSpamChecked", 10},
                    {"mtaSpamTagged", 20},    {"mtaSpamBlocked", 1},       {"MarkedAsJunk", 0},
                    {"MarkedAsNotJunk", 0}};
    const struct
    {
        int section;
        int derived;
        const char *image;
    } charts[] = {{1, 1, "storagechart"}, {10, 1, "avirchart"}, {11, 0, "spamchart"}};
    for (const auto &c : charts) {
        QString image;
        const auto graph = statsections::chart(c.section, values, nullptr, &image);
        QVERIFY(graph);
        QCOMPARE(image, QString::fromLatin1(c.image));
        QCOMPARE(graph->slices().at(c.derived).value, qint64(0));
        for (const CPieGraph::Slice &slice : graph->slices())
            QVERIFY(slice.value >= 0);
    }
    // The spam chart needs the spam filter; the counters stay.
    values.spamFilterOn = false;
    QVERIFY(!statsections::chart(11, values));
    const QString rows = statsections::sectionRows({11}, values, {});
    QVERIFY(rows.contains(QStringLiteral("Spams detected (tagged)</td><td align=right>20<")));
    QVERIFY(!rows.contains(QStringLiteral("spamchart")));
}

void TestStatistics::pieIsDrawnAtThePixelRatio()
{
    CPieGraph graph;
    graph.setStatisticsStyle();
    graph.addSlice(3, QColor(233, 0, 4), QStringLiteral("red"));
    graph.addSlice(1, QColor(0, 165, 0), QStringLiteral("green"));
    for (qreal ratio : {1.0, 2.0}) {
        const QImage image = graph.render(QSize(250, 175), ratio);
        QCOMPARE(image.size(), QSize(250, 175) * ratio);
        QCOMPARE(image.devicePixelRatio(), ratio);
        // Corner: background; the pie holds both colours.
        QCOMPARE(image.pixelColor(0, 0), CPieGraph::background());
        int red = 0;
        int green = 0;
        int shadow = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 40 ? 1 : 0;
                green += c.green() > 140 && c.red() < 40 ? 1 : 0;
                shadow += c.red() < 200 && qAbs(c.red() - c.green()) < 12
                                && qAbs(c.green() - c.blue()) < 12
                        ? 1
                        : 0;
            }
        }
        // Three quarters red, one quarter green (the tops; walls are darker).
        QVERIFY2(red > 2 * green && green > 0, qPrintable(QString("%1/%2").arg(red).arg(green)));
        QVERIFY(shadow > 0);
    }
    // A chart with nothing to show draws the grey stand-in.
    CPieGraph empty;
    empty.setStatisticsStyle();
    empty.addSlice(0, Qt::red, QStringLiteral("none"));
    const QImage image = empty.render(QSize(250, 175));
    QCOMPARE(image.pixelColor(110, 70), QColor(221, 221, 221));
    QCOMPARE(empty.slices().size(), 1);
}

void TestStatistics::documentRows()
{
    statsections::Values values;
    values.hasInfo = true;
    values.startTime = 1000;
    values.currentTime = 1000 + 2 * 86400 + 3600;
    values.storageTotal = 2048;
    values.storageOccupied = 1536;
    values.stats = {{"mtaReceivedMessages", 1234567},
                    {"mtaReceivedVolume", 1536},
                    {"mtaReceivedRecipients", 3}};
    statsections::DocumentOptions options;
    options.selected = 2;
    const QString html = statsections::document({0, 1, 2}, values, options);
    QVERIFY(html.startsWith(
            QStringLiteral("<qt bgcolor=\"#ffffff\"><table border=1 cellspacing=0 width=530>")));
    QVERIFY(html.endsWith(QStringLiteral("</table></qt>")));
    QVERIFY(html.contains(
            QStringLiteral("<tr><td colspan=2 bgcolor=#dddddd><b><a name=\"b0\" href=\"0\"><font "
                           "color=#000000>Server Status</font></a></b></td></tr><tr><td>Server "
                           "Uptime</td><td align=right>2 days, 1 hour</td></tr>")));
    QVERIFY(html.contains(QStringLiteral(
            "<tr><td colspan=2 bgcolor=#000080><b><a name=\"b2\" href=\"2\"><font "
            "color=#ffffff>Messages received by server</font></a></b></td></tr><tr><td>Message "
            "count</td><td align=right>1 234 567</td></tr><tr><td>Message volume</td><td "
            "align=right>1.5 kB</td></tr>")));
    QVERIFY(html.contains(QStringLiteral("<td>Percent</td><td align=right>75 %</td>")));
    QVERIFY(html.contains(QStringLiteral("src=\"storagechart\"")));
    QVERIFY(html.contains(QStringLiteral("Storage Occupied 75%<br>")));

    // Without a "Stats" row the rows are there without values.
    options.anchors = false;
    const QString bare = statsections::sectionRows({4}, statsections::Values(), options);
    QVERIFY(bare.contains(QStringLiteral("<td>Message count</td><td align=right></td>")));
    QVERIFY(!bare.contains(QStringLiteral("<a ")));
}

QTEST_MAIN(TestStatistics)
#include "test_statistics.moc"

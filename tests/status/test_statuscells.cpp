// Cell texts, dates and patterns of the status lists.
#include "status/statuscells.h"

#include <QRegularExpression>
#include <QTest>

class TestStatusCells : public QObject
{
    Q_OBJECT

private slots:
    void durations_data();
    void durations();
    void queueDates_data();
    void queueDates();
    void patterns();
    void patternExpression_data();
    void patternExpression();
};

void TestStatusCells::durations_data()
{
    QTest::addColumn<qint64>("seconds");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("an hour and a bit") << qint64(3725) << "01:02:05";
    QTest::newRow("beyond a day") << qint64(100 * 3600 + 59) << "100:00:59";
    QTest::newRow("negative is none") << qint64(-5) << "00:00:00";
}

void TestStatusCells::durations()
{
    QFETCH(qint64, seconds);
    QFETCH(QString, text);
    QCOMPARE(statuscells::duration(seconds), text);
}

void TestStatusCells::queueDates_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("seconds");
    QTest::newRow("server form") << "10 Dec 2026 15:46:02" << qint64(1796917562);
    QTest::newRow("full month name, no seconds") << "1 January 1970 00:01" << qint64(60);
    QTest::newRow("extra spaces") << " 10  Dec 2026   15:46:02 " << qint64(1796917562);
    QTest::newRow("unknown month") << "10 Foo 2026 15:46:02" << statuscells::kNoDate;
    QTest::newRow("no time") << "10 Dec 2026" << statuscells::kNoDate;
    QTest::newRow("bad time") << "10 Dec 2026 25:00:00" << statuscells::kNoDate;
    QTest::newRow("no day 31 in November") << "31 Nov 2026 10:00:00" << statuscells::kNoDate;
    QTest::newRow("empty") << "" << statuscells::kNoDate;
}

void TestStatusCells::queueDates()
{
    QFETCH(QString, text);
    QFETCH(qint64, seconds);
    QCOMPARE(statuscells::queueDateSeconds(text), seconds);
}

void TestStatusCells::patterns()
{
    // New Year sorts after New Year's Eve although its text sorts first.
    QVERIFY(statuscells::queueDateSeconds(QStringLiteral("01 Jan 2027 00:00:00"))
            > statuscells::queueDateSeconds(QStringLiteral("31 Dec 2026 23:59:59")));
    // An unreadable date sorts before every real one.
    QVERIFY(statuscells::kNoDate < statuscells::queueDateSeconds(QStringLiteral("1 Jan 1900 0:0")));

    QCOMPARE(statuscells::commonPattern({"a@x", "a@x"}), QStringLiteral("a@x"));
    QCOMPARE(statuscells::commonPattern({"a@x", "b@x"}), QStringLiteral("*"));
    QCOMPARE(statuscells::commonPattern({}), QStringLiteral("*"));
    QCOMPARE(statuscells::commonPattern({""}), QStringLiteral("*"));
    QVERIFY(statuscells::matchesEverything(QStringLiteral("*")));
    QVERIFY(statuscells::matchesEverything(QStringLiteral("***")));
    QVERIFY(!statuscells::matchesEverything(QStringLiteral("*@example.com")));
    QVERIFY(!statuscells::matchesEverything(QString()));
}

void TestStatusCells::patternExpression_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("address") << "alice@example.com" << true;
    QTest::newRow("wildcards") << "*@*.example" << true;
    QTest::newRow("question marks") << "b?b@example.???" << true;
    QTest::newRow("star") << "*" << true;
    QTest::newRow("two at signs") << "a@b@c" << false;
    QTest::newRow("quote") << "a\"b" << false;
    QTest::newRow("space") << "a b@c" << false;
    QTest::newRow("domain too long") << "a@" + QString(70, QLatin1Char('x')) << false;
}

void TestStatusCells::patternExpression()
{
    QFETCH(QString, pattern);
    QFETCH(bool, accepted);
    const QRegularExpression expression(
            QRegularExpression::anchoredPattern(statuscells::addressPatternExpression()));
    QCOMPARE(expression.match(pattern).hasMatch(), accepted);
}

QTEST_GUILESS_MAIN(TestStatusCells)
#include "test_statuscells.moc"

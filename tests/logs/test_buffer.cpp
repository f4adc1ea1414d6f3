// The log view's companions without a server: pages counted from the end,
// the buffer's load rules and limit, link detection and highlighting rules.
#include "logs/fbuffer.h"
#include "logs/flink.h"
#include "logs/flogrules.h"

#include <QtTest>

using namespace fwndlog;

namespace {

QList<QByteArray> linesOf(qint64 first, qint64 last)
{
    QList<QByteArray> lines;
    for (qint64 line = first; line <= last; ++line)
        lines.append("line " + QByteArray::number(line));
    return lines;
}

FBufferPage page(qint64 line, qint64 anchor, qint64 count, bool clamp = true)
{
    return FBufferPage::of(line, anchor, count, clamp);
}

} // namespace

class TestLogBuffer : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<qint64>("line");
        QTest::addColumn<qint64>("anchor");
        QTest::addColumn<qint64>("count");
        QTest::addColumn<bool>("clamp");
        QTest::addColumn<qint64>("first");
        QTest::addColumn<qint64>("last");
        // A 250-line log: 0-49, 50-149, 150-249.
        QTest::newRow("250: oldest") << 0LL << 250LL << 250LL << true << 0LL << 49LL;
        QTest::newRow("250: end of oldest") << 49LL << 250LL << 250LL << true << 0LL << 49LL;
        QTest::newRow("250: middle") << 50LL << 250LL << 250LL << true << 50LL << 149LL;
        QTest::newRow("250: newest") << 249LL << 250LL << 250LL << true << 150LL << 249LL;
        // Whole pages when the count is a multiple of 100.
        QTest::newRow("300: first") << 0LL << 300LL << 300LL << true << 0LL << 99LL;
        QTest::newRow("300: last") << 299LL << 300LL << 300LL << true << 200LL << 299LL;
        // Grown since the open: the pages keep their places, the newest is clamped.
        QTest::newRow("grown, clamped") << 260LL << 250LL << 270LL << true << 250LL << 269LL;
        QTest::newRow("grown, whole") << 260LL << 250LL << 270LL << false << 250LL << 349LL;
        QTest::newRow("tiny log") << 3LL << 7LL << 7LL << true << 0LL << 6LL;
        // Past 2^31 lines.
        QTest::newRow("huge") << 5000000005LL << 5000000050LL << 5000000050LL << true
                              << 4999999950LL << 5000000049LL;
    }
    void pages()
    {
        QFETCH(qint64, line);
        QFETCH(qint64, anchor);
        QFETCH(qint64, count);
        QFETCH(bool, clamp);
        QFETCH(qint64, first);
        QFETCH(qint64, last);
        const FBufferPage found = page(line, anchor, count, clamp);
        QCOMPARE(found.first, first);
        QCOMPARE(found.last, last);
        QVERIFY(found.isValid());
    }

    void bufferKeepsContiguousPages()
    {
        FBuffer buffer;
        buffer.setAnchor(1000);
        QVERIFY(buffer.storePage(900, linesOf(900, 999), 1000));
        QCOMPARE(buffer.mode(), FBuffer::Append);
        // The page before joins at the front.
        QVERIFY(buffer.storePage(800, linesOf(800, 899), 1000));
        QCOMPARE(buffer.mode(), FBuffer::Prepend);
        QCOMPARE(buffer.first(), 800);
        QCOMPARE(buffer.last(), 999);
        QCOMPARE(buffer.at(850)->raw, QByteArray("line 850"));
        // A page already held is discarded.
        QVERIFY(!buffer.storePage(800, linesOf(800, 899), 1000));
        QCOMPARE(buffer.mode(), FBuffer::Discard);
        // A page that does not join the run replaces it.
        QVERIFY(buffer.storePage(300, linesOf(300, 399), 1000));
        QCOMPARE(buffer.first(), 300);
        QCOMPARE(buffer.last(), 399);
        QCOMPARE(buffer.size(), 100);
        QVERIFY(buffer.storePage(600, linesOf(600, 699), 1000));
        QCOMPARE(buffer.first(), 600);
        QCOMPARE(buffer.at(600)->raw, QByteArray("line 600"));
    }

    void bufferHoldsThreePages_data()
    {
        QTest::addColumn<bool>("downwards");
        QTest::newRow("down") << true;
        QTest::newRow("up") << false;
    }
    void bufferHoldsThreePages()
    {
        QFETCH(bool, downwards);
        FBuffer buffer;
        buffer.setAnchor(1000);
        const QList<qint64> starts
                = downwards ? QList<qint64>{0, 100, 200, 300} : QList<qint64>{900, 800, 700, 600};
        for (qint64 start : starts)
            QVERIFY(buffer.storePage(start, linesOf(start, start + 99), 1000));
        // The three most recent pages.
        QCOMPARE(buffer.size(), 300);
        QCOMPARE(buffer.first(), downwards ? 100 : 600);
        QCOMPARE(buffer.last(), downwards ? 399 : 899);
        QCOMPARE(buffer.at(buffer.first())->raw, "line " + QByteArray::number(buffer.first()));
        QCOMPARE(buffer.at(buffer.last())->raw, "line " + QByteArray::number(buffer.last()));
    }

    void bufferCapacityFollowsTheViewport()
    {
        FBuffer buffer;
        buffer.setAnchor(1000);
        buffer.setCapacityPages(5);
        for (qint64 start = 0; start < 600; start += 100)
            buffer.storePage(start, linesOf(start, start + 99), 1000);
        QCOMPARE(buffer.size(), 500);
        QCOMPARE(buffer.first(), 100);
        buffer.setCapacityPages(1); // never below three pages
        QCOMPARE(buffer.capacity(), 300);
    }

    void appendedLinesContinueTheBuffer()
    {
        FBuffer buffer;
        buffer.setAnchor(250);
        QVERIFY(buffer.storePage(150, linesOf(150, 249), 250));
        QVERIFY(!buffer.appendLine(260, "gap", 261));
        QCOMPARE(buffer.last(), 249);
        // Growing by more than two pages one line at a time drops whole pages
        // from the front.
        for (qint64 line = 250; line < 560; ++line)
            QVERIFY(buffer.appendLine(line, "line " + QByteArray::number(line), line + 1));
        QCOMPARE(buffer.last(), 559);
        QVERIFY(buffer.size() <= buffer.capacity());
        QCOMPARE((buffer.first() - 50) % 100, 0); // a page start of the anchored grid
        QCOMPARE(buffer.at(buffer.first())->raw, "line " + QByteArray::number(buffer.first()));
    }

    void links_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("links");
        QTest::newRow("none") << "plain line, no address" << QStringList();
        QTest::newRow("one") << "see http://example.com/a?b=1 now"
                             << QStringList{"http://example.com/a?b=1"};
        QTest::newRow("two") << "https://a.example/x and http://b.example"
                             << QStringList{"https://a.example/x", "http://b.example"};
        QTest::newRow("quoted") << "href=\"http://example.com/q\" rest"
                                << QStringList{"http://example.com/q"};
        QTest::newRow("escaped quote")
                << "url http://example.com/q\\\" rest" << QStringList{"http://example.com/q\\\""};
        QTest::newRow("ftp is no link") << "ftp://example.com/file" << QStringList();
    }
    void links()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, links);
        FLink finder;
        QStringList found;
        for (const fdata::Link &link : finder.find(7, text)) {
            QCOMPARE(link.line, 7);
            QCOMPARE(link.owner, &finder);
            found.append(text.mid(link.start, link.length));
        }
        QCOMPARE(found, links);
    }

    void ruleColours()
    {
        const QStringList columns{"Id",          "Enabled",   "Order",
                                  "Description", "Condition", "IsRegularExpression",
                                  "Color"};
        FLogRules rules;
        rules.setRows(columns,
                      {{"a", "1", "2", "Errors", "error", "0", "#FFCCCC"},
                       {"b", "1", "1", "Logins", "LOGIN.*OK", "1", "#ccffcc"},
                       {"c", "0", "0", "Off", "line", "0", "#000000"},
                       {"d", "1", "3", "Literal", "a.b", "0", "#ccccff"}});
        const QColor base(Qt::white);
        QCOMPARE(rules.rules().size(), 3); // the disabled rule never colours
        // Upper-case digits are read; names are written in lower case.
        QCOMPARE(colorName(rules.colorOf("an error here", base)), QStringLiteral("#ffcccc"));
        // Both match: the lower order wins.
        QCOMPARE(colorName(rules.colorOf("LOGIN user OK with error", base)),
                 QStringLiteral("#ccffcc"));
        // Without the expression flag, special characters match literally.
        QCOMPARE(rules.colorOf("axb", base), base);
        QCOMPARE(colorName(rules.colorOf("a.b", base)), QStringLiteral("#ccccff"));
        // Plain conditions are case-sensitive.
        QCOMPARE(rules.colorOf("ERROR", base), base);
        QCOMPARE(rules.colorOf("just a line", base), base);
    }
};

QTEST_GUILESS_MAIN(TestLogBuffer)
#include "test_buffer.moc"

// The HTML pieces of the log copy, the log save and the statistics export.
#include "forms/uthtml.h"

#include <QTest>

class TestUtHtml : public QObject
{
    Q_OBJECT

private slots:
    void colorText_data()
    {
        QTest::addColumn<int>("red");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("blue");
        QTest::addColumn<QString>("text");
        QTest::newRow("black") << 0 << 0 << 0 << "#000000";
        QTest::newRow("two digits, lower case") << 255 << 10 << 171 << "#ff0aab";
        QTest::newRow("clamped") << -4 << 300 << 15 << "#00ff0f";
    }
    void colorText()
    {
        QFETCH(int, red);
        QFETCH(int, green);
        QFETCH(int, blue);
        QTEST(UtHtml::colorText(red, green, blue), "text");
    }

    void escape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("escaped");
        QTest::newRow("plain") << "mail from a@b"
                               << "mail from a@b";
        QTest::newRow("all five") << R"(<a href="x">'&'</a>)"
                                  << "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;";
        QTest::newRow("entity is escaped again") << "&amp;"
                                                 << "&amp;amp;";
        QTest::newRow("non-ASCII stays")
                << QStringLiteral("Grüße <ü>") << QStringLiteral("Grüße &lt;ü&gt;");
        QTest::newRow("empty") << ""
                               << "";
    }
    void escape()
    {
        QFETCH(QString, text);
        QTEST(UtHtml::escape(text), "escaped");
    }

    void documentHead()
    {
        const QString head = UtHtml::documentHead(QStringLiteral("Log <mail> & \"more\" 100%1"));
        QVERIFY(head.startsWith(
                QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\" "
                               "\"http://www.w3.org/TR/html4/strict.dtd\">\n<html>\n<head>\n")));
        QVERIFY(head.contains(QStringLiteral(
                "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">")));
        QVERIFY(head.contains(
                QStringLiteral("<title>Log &lt;mail&gt; &amp; &quot;more&quot; 100%1</title>")));
        QVERIFY(head.endsWith(QStringLiteral("</head>\n")));
        // The charset is declared before the title.
        QVERIFY(head.indexOf(QStringLiteral("charset")) < head.indexOf(QStringLiteral("<title>")));
    }
};

QTEST_GUILESS_MAIN(TestUtHtml)
#include "test_uthtml.moc"

// Qt's own messages and the framework's logging categories reach the console's
// trace, masked, without recursion, and warnings still reach the handler that
// was installed before.
#include "db/utdebug.h"
#include "forms/formslog.h"
#include "forms/utqtmessages.h"

#include <QTest>

namespace {

struct Seen
{
    QtMsgType type;
    QString text;
};
QList<Seen> g_previous;

void recordingHandler(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    g_previous.append({type, text});
}

struct Line
{
    int category;
    int level;
    QString text;
};

} // namespace

class TestQtMessages : public QObject
{
    Q_OBJECT

private slots:
    void maskSecrets_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("masked");
        QTest::newRow("key=value") << "login admin password=hunter2 ok"
                                   << "login admin password=*** ok";
        QTest::newRow("quoted with escapes")
                << R"(update User set Password='it\'s secret', Name='a' where Id='1')"
                << R"(update User set Password=***, Name='a' where Id='1')";
        QTest::newRow("double quoted") << R"({"pwd": "a b"})"
                                       << R"({"pwd": ***})";
        QTest::newRow("inside a longer word") << "utKontPassword: s3cret;"
                                              << "utKontPassword: ***;";
        QTest::newRow("cut off quote") << "passwd='never closed"
                                       << "passwd=***";
        QTest::newRow("nothing to mask") << "Password field has the focus"
                                         << "Password field has the focus";
    }
    void maskSecrets()
    {
        QFETCH(QString, text);
        QTEST(UtQtMessages::maskSecrets(text), "masked");
    }

    void messagesReachTheTrace()
    {
        QList<Line> lines;
        const int sink = UtDebug::addSink([&lines](int category, int level, const QString &text) {
            lines.append({category, level, text});
            // A sink that itself complains must not bring the handler back.
            if (text.contains(QLatin1String("first")))
                qWarning("complaint from the sink");
        });
        const int oldLevel = UtDebug::stderrLevel();
        UtDebug::setStderrLevel(-1);
        g_previous.clear();
        const QtMessageHandler before = qInstallMessageHandler(recordingHandler);
        UtQtMessages::install();
        UtQtMessages::install(); // a second call changes nothing
        QVERIFY(UtQtMessages::isInstalled());

        qWarning("first warning, password=topsecret");
        qDebug("a debug line");
        qCWarning(lcForms) << "dialog shown:"
                           << "AliasDlg";

        UtQtMessages::uninstall();
        QVERIFY(!UtQtMessages::isInstalled());
        qWarning("after uninstall");
        qInstallMessageHandler(before);
        UtDebug::removeSink(sink);
        UtDebug::setStderrLevel(oldLevel);

        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0].category, UtQtMessages::kQtCategory);
        QCOMPARE(lines[0].level, UtQtMessages::levelFor(QtWarningMsg));
        QCOMPARE(lines[0].text, QStringLiteral("[default] first warning, password=***"));
        QCOMPARE(lines[1].level, UtQtMessages::levelFor(QtDebugMsg));
        QCOMPARE(lines[1].text, QStringLiteral("[default] a debug line"));
        QCOMPARE(lines[2].category, UtQtMessages::kFrameworkCategory);
        QCOMPARE(lines[2].text, QStringLiteral("[postdesk.forms] dialog shown: AliasDlg"));

        // The sink's complaint was not traced again (Qt itself writes a message
        // raised inside a handler to standard error). The previous handler saw
        // the two warnings, masked, and no debug line; after uninstall it is
        // back.
        QStringList previous;
        for (const Seen &seen : g_previous)
            previous << seen.text;
        QCOMPARE(previous,
                 (QStringList{"first warning, password=***", "dialog shown: AliasDlg",
                              "after uninstall"}));
        for (const QString &text : previous)
            QVERIFY(!text.contains(QLatin1String("topsecret")));
    }

    void levelsRiseWithSeverity()
    {
        QVERIFY(UtQtMessages::levelFor(QtDebugMsg) < UtQtMessages::levelFor(QtInfoMsg));
        QVERIFY(UtQtMessages::levelFor(QtInfoMsg) < UtQtMessages::levelFor(QtWarningMsg));
        QVERIFY(UtQtMessages::levelFor(QtWarningMsg) < UtQtMessages::levelFor(QtCriticalMsg));
        QVERIFY(UtQtMessages::levelFor(QtCriticalMsg) < UtQtMessages::levelFor(QtFatalMsg));
    }
};

QTEST_GUILESS_MAIN(TestQtMessages)
#include "test_qtmessages.moc"

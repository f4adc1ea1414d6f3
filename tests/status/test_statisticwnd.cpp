// The statistics page in the real console against the development server: it
// shows the server's counters and charts, keeps its modes and section lists,
// resets the counters after asking, and exports HTML with PNG charts.
#include "app/consoletest.h"
#include "app/fconsole.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "db/dbreq.h"
#include "forms/bpagefactory.h"
#include "forms/modalanswerer.h"
#include "forms/sectionids.h"
#include "registry/utkontainer.h"
#include "status/statisticwnd.h"
#include "support/devserver_process.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>

class TestStatisticWnd : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init()
    {
        setUpConsole();
        registerApplicationPages();
    }
    void cleanup() { tearDownConsole(); }
    void showsCountersAndCharts();
    void modesAndSectionsAreKept();
    void damagedSettingsFallBackToDefaults();
    void resetAsksFirst_data();
    void resetAsksFirst();
    void viewerCannotReset();
    void exportWritesPageAndCharts();
    void exportReportsWhatCouldNotBeWritten();

private:
    StatisticWnd *openPage(const QString &user = QStringLiteral("admin"));
    qint64 serverCounter(const QString &name);
    void reload(StatisticWnd *page);
};

StatisticWnd *TestStatisticWnd::openPage(const QString &user)
{
    if (!startServer({"--no-ticker"}) || !launchConsoleAndWait(user))
        return nullptr;
    return qobject_cast<StatisticWnd *>(openSection(SectionId::Statistics));
}

qint64 TestStatisticWnd::serverCounter(const QString &name)
{
    DBConn second(QString::fromStdString(m_server->host()), int(m_server->port()),
                  QStringLiteral("admin"), QStringLiteral("admin"));
    second.setKnownHostsPath(knownHostsPath());
    second.start();
    if (!QTest::qWaitFor([&second] { return second.isConnected(); }, kTimeout))
        return -1;
    DBReq req(QStringLiteral("select %1 from Stats").arg(name));
    const qint64 value = second.execSync(&req) && req.rowCount() == 1
            ? req.readInt64(0, 0).toString().toLongLong()
            : -1;
    second.stop();
    return value;
}

void TestStatisticWnd::reload(StatisticWnd *page)
{
    page->refreshButton()->click();
    QVERIFY(!page->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled(), kTimeout);
}

void TestStatisticWnd::showsCountersAndCharts()
{
    StatisticWnd *page = openPage();
    QVERIFY(page);
    QVERIFY(pageArea()->bottomBar()->isHidden());
    // A fresh installation: basic mode with four sections.
    QCOMPARE(page->mode(), StatisticWnd::Basic);
    QCOMPARE(page->visibleSections(), QList<int>({0, 1, 10, 11}));
    const QString text = page->browser()->toPlainText();
    for (const char *heading :
         {"Server Status", "Total Storage", "Antivirus statistics", "Spam filter statistics"})
        QVERIFY2(text.contains(QLatin1String(heading)), heading);
    QVERIFY(!text.contains(QStringLiteral("SMTP server statistics")));
    // The seeded storage: 123 456 789 012 of 500 107 862 016 bytes.
    QVERIFY(text.contains(QStringLiteral("115 GB")));
    QVERIFY(text.contains(QStringLiteral("25 %")));
    QVERIFY(text.contains(QStringLiteral("Spams detected (tagged)")));
    QVERIFY(page->sinceLabel()->text().startsWith(
            QStringLiteral("The statistics are counted since ")));
    // The charts are images of the page's own drawing, at the screen's ratio.
    for (const char *name : {"storagechart", "avirchart", "spamchart", "markoccup"}) {
        const QVariant resource = page->browser()->document()->resource(
                QTextDocument::ImageResource, QUrl(QLatin1String(name)));
        const QImage image = resource.value<QImage>();
        QVERIFY2(!image.isNull(), name);
        QCOMPARE(image.devicePixelRatio(), page->devicePixelRatioF());
    }

    // Clicking a heading selects its section.
    QSignalSpy clicked(page->browser(), &StatisticTextBrowser::signalSectionClicked);
    emit page->browser()->anchorClicked(QUrl(QStringLiteral("10")));
    QCOMPARE(page->selectedSection(), 10);
    QVERIFY(page->pageHtml().contains(
            QStringLiteral("bgcolor=#000080><b><a name=\"b10\" href=\"10\"><font color=#ffffff>")));
}

void TestStatisticWnd::modesAndSectionsAreKept()
{
    StatisticWnd *page = openPage();
    QVERIFY(page);
    QCOMPARE(page->modeAction()->text(), QStringLiteral("Switch to &Advanced Mode"));
    page->modeAction()->trigger();
    QCOMPARE(page->mode(), StatisticWnd::Advanced);
    QCOMPARE(page->modeAction()->text(), QStringLiteral("Switch to &Basic Mode"));
    QCOMPARE(page->visibleSections().size(), 22);
    QVERIFY(page->sectionAction(13)->isVisible());
    QVERIFY(page->sectionAction(13)->isChecked());
    QVERIFY(page->browser()->toPlainText().contains(QStringLiteral("SMTP server statistics")));

    // Hiding a section through its menu entry; moving one up.
    page->sectionAction(13)->trigger();
    QVERIFY(!page->visibleSections().contains(13));
    QVERIFY(!page->browser()->toPlainText().contains(QStringLiteral("SMTP server statistics")));
    page->selectSection(21);
    page->moveSelected(-1);
    QCOMPARE(page->visibleSections().mid(19), QList<int>({21, 20}));
    QCOMPARE(UtKontainer::getText(QStringLiteral("/Statistics/disp"), QString(),
                                  QStringLiteral("/Statistics/disp"))
                     .left(4),
             QStringLiteral("0021"));

    // A new page reads the stored choice; basic mode keeps its own order.
    QVERIFY(pageArea()->selectSection(SectionId::ProductInfo));
    QVERIFY(pageArea()->selectSection(SectionId::Statistics));
    auto *again = qobject_cast<StatisticWnd *>(pageArea()->currentPage());
    QVERIFY(again);
    QTRY_VERIFY_WITH_TIMEOUT(FPage::isLoaded(again), kTimeout);
    QCOMPARE(again->mode(), StatisticWnd::Advanced);
    QCOMPARE(again->visibleSections().size(), 21);
    QCOMPARE(again->visibleSections().mid(19), QList<int>({21, 20}));
    again->setMode(StatisticWnd::Basic);
    QCOMPARE(again->visibleSections(), QList<int>({0, 1, 10, 11}));
}

void TestStatisticWnd::damagedSettingsFallBackToDefaults()
{
    const struct
    {
        const char *key;
        const char *value;
    } damaged[] = {{"/Statistics/ordb", "0009000000010010"}, {"/Statistics/disp", "00x2"}};
    for (const auto &entry : damaged)
        UtKontainer::setText(QLatin1String(entry.key), QLatin1String(entry.value),
                             QLatin1String(entry.key));
    StatisticWnd *page = openPage();
    QVERIFY(page);
    QCOMPARE(page->visibleSections(), QList<int>({0, 1, 10, 11}));
    page->setMode(StatisticWnd::Advanced);
    QCOMPARE(page->visibleSections().size(), 22);
}

void TestStatisticWnd::resetAsksFirst_data()
{
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::addColumn<bool>("reset");
    QTest::newRow("yes resets") << QMessageBox::Yes << true;
    QTest::newRow("no keeps") << QMessageBox::No << false;
}

void TestStatisticWnd::resetAsksFirst()
{
    QFETCH(QMessageBox::StandardButton, answer);
    QFETCH(bool, reset);
    StatisticWnd *page = openPage();
    QVERIFY(page);
    const qint64 before = serverCounter(QStringLiteral("SMTPConnections"));
    QVERIFY(before > 0);
    ModalAnswerer answerer(answer);
    page->resetButton()->click();
    QCOMPARE(answerer.texts,
             QStringList{"This action will reset all statistics. Do you want to proceed?"});
    QCOMPARE(serverCounter(QStringLiteral("SMTPConnections")), reset ? 0 : before);
    QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled(), kTimeout);
    QCOMPARE(page->values().stat("SMTPConnections"), reset ? 0 : before);
}

void TestStatisticWnd::viewerCannotReset()
{
    StatisticWnd *page = openPage(QStringLiteral("viewer"));
    QVERIFY(page);
    QVERIFY(page->browser()->toPlainText().contains(QStringLiteral("Total Storage")));
    QVERIFY(!page->resetButton()->isEnabled());
    const qint64 before = serverCounter(QStringLiteral("SMTPConnections"));
    ModalAnswerer answerer(QMessageBox::Yes);
    page->slotReset();
    QTest::qWait(100);
    QVERIFY(answerer.texts.isEmpty());
    QCOMPARE(serverCounter(QStringLiteral("SMTPConnections")), before);
    // Reading is still allowed.
    reload(page);
    QVERIFY(page->exportButton()->isEnabled());
}

void TestStatisticWnd::exportWritesPageAndCharts()
{
    StatisticWnd *page = openPage();
    QVERIFY(page);
    const QString path = folderPath(QStringLiteral("My Stats.htm"));
    QString error;
    QVERIFY2(page->exportTo(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QStringLiteral("charset=utf-8"))
            || html.contains(QStringLiteral("charset=UTF-8")));
    QVERIFY(html.contains(QStringLiteral("<title>Postvane Statistics</title>")));
    QVERIFY(html.contains(QStringLiteral("<body>\n<table border=1 cellspacing=0 width = 530>\n")));
    QVERIFY(html.endsWith(QStringLiteral("</table>\n</body>\n</html>\n")));
    QVERIFY(!html.contains(QStringLiteral("<a name=")));
    QVERIFY(html.contains(QStringLiteral("src=\"My%20Stats_graphs/storagechart.png\"")));
    const QDir graphs(folderPath(QStringLiteral("My Stats_graphs")));
    for (const char *name :
         {"storagechart", "avirchart", "spamchart", "markoccup", "marksunrecognized"}) {
        const QImage image(graphs.filePath(QLatin1String(name) + QStringLiteral(".png")));
        QVERIFY2(!image.isNull(), name);
    }
    QCOMPARE(QImage(graphs.filePath(QStringLiteral("storagechart.png"))).size(), QSize(250, 175));
}

void TestStatisticWnd::exportReportsWhatCouldNotBeWritten()
{
    StatisticWnd *page = openPage();
    QVERIFY(page);
    // A folder where the chart file should go: the image cannot be written.
    QVERIFY(QDir().mkpath(folderPath(QStringLiteral("blocked_graphs/storagechart.png"))));
    ModalAnswerer answerer(QMessageBox::Ok);
    QString error;
    QVERIFY(!page->exportTo(folderPath(QStringLiteral("blocked.htm")), &error));
    QVERIFY2(error.startsWith(QStringLiteral("Cannot write the chart image '")), qPrintable(error));
    QVERIFY(!QFile::exists(folderPath(QStringLiteral("blocked.htm"))));
    QTRY_COMPARE_WITH_TIMEOUT(answerer.texts.size(), 1, kTimeout);

    // A file that cannot be opened.
    const QString missing = folderPath(QStringLiteral("no/such/folder/page.htm"));
    page->setMode(StatisticWnd::Advanced);
    page->setSectionShown(1, false);
    page->setSectionShown(10, false);
    page->setSectionShown(11, false);
    QVERIFY(!page->exportTo(missing, &error));
    QCOMPARE(error, QStringLiteral("Cannot open file '%1' for writing").arg(missing));
}

QTEST_MAIN(TestStatisticWnd)
#include "test_statisticwnd.moc"

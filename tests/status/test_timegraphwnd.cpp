// The traffic charts page in the real console against the development server:
// every chart of "ChartList()" gets its samples, settings are checked and kept
// per series, and a chart is saved as a PNG image.
#include "app/consoletest.h"
#include "app/fconsole.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fwidgetbottom.h"
#include "app/fwindow.h"
#include "db/dbconn.h"
#include "forms/bpagefactory.h"
#include "forms/modalanswerer.h"
#include "forms/sectionids.h"
#include "status/timegraphwnd.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

class TestTimeGraphWnd : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init()
    {
        setUpConsole();
        registerApplicationPages();
    }
    void cleanup() { tearDownConsole(); }
    void chartsGetTheirSamples();
    void settingsAreCheckedAndKept();
    void chartIsSavedAsPng();
    void pageIsExportedAsHtml();

private:
    TimeGraphWnd *openPage(const QString &user = QStringLiteral("admin"));
};

TimeGraphWnd *TestTimeGraphWnd::openPage(const QString &user)
{
    if (!m_server && !startServer({"--no-ticker"}))
        return nullptr;
    if (!m_console && !launchConsoleAndWait(user))
        return nullptr;
    auto *page = qobject_cast<TimeGraphWnd *>(openSection(SectionId::TrafficCharts));
    if (!page || !QTest::qWaitFor([page] { return !page->isLoadingCharts(); }, kTimeout))
        return nullptr;
    return page;
}

void TestTimeGraphWnd::chartsGetTheirSamples()
{
    TimeGraphWnd *page = openPage(QStringLiteral("viewer"));
    QVERIFY(page);
    QVERIFY(pageArea()->bottomBar()->isHidden());
    const QList<GWndTimeGraphInner *> charts = page->browser()->charts();
    QCOMPARE(charts.size(), 33); // eleven series over three spans
    for (GWndTimeGraphInner *chart : charts) {
        const timegraph::Chart &c = chart->chart();
        QVERIFY2(chart->isLoaded(), qPrintable(c.title()));
        // One sample per sample time, ending at the server's time (the
        // samples are read a moment after "Info").
        QCOMPARE(c.samples.size(), int(c.scaleTime / c.sampleTime));
        QVERIFY(qAbs(c.serverNow - c.samples.last().time) < c.sampleTime + 30);
        QCOMPARE(c.serverOffset, 3600); // the demo server's "+0100"
        QVERIFY(c.samples.first().value > 0);
    }
    QCOMPARE(charts.first()->chart().chartClass, QStringLiteral("Messages"));
    QCOMPARE(charts.first()->accessibleName(), QStringLiteral("Messages: Received (1 hour)"));
    QCOMPARE(page->currentChart(), charts.first());

    // Refresh loads everything again.
    page->refreshButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled() && !page->isLoadingCharts(), kTimeout);
    QCOMPARE(page->browser()->charts().size(), 33);
    QVERIFY(page->browser()->charts().last()->isLoaded());
}

void TestTimeGraphWnd::settingsAreCheckedAndKept()
{
    TimeGraphWnd *page = openPage();
    QVERIFY(page);
    // The third series ("Messages", "Spam") over its second span.
    GWndTimeGraphInner *chart = page->browser()->charts().at(7);
    QCOMPARE(chart->chart().name, QStringLiteral("Spam"));
    chart->setFocus();
    page->setCurrentChart(chart);

    ModalAnswerer answerer(QMessageBox::Ok);
    int dialogs = 0;
    QString refusal;
    answerer.setDialogHandler([&](QDialog *dialog) {
        auto *settings = qobject_cast<TimeGraphDlg *>(dialog);
        if (!settings)
            return dialog->reject();
        ++dialogs;
        QCOMPARE(settings->windowTitle(), QStringLiteral("Chart Settings"));
        settings->minEdit()->setValue(40);
        settings->maxEdit()->setValue(20);
        // The refusal comes in a box of its own, answered from its own loop.
        QTimer::singleShot(100, settings, [&refusal] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                refusal = box->text();
                box->accept();
            }
        });
        settings->accept(); // refused: stays open with the message
        QVERIFY(settings->isVisible());
        settings->maxEdit()->setValue(90);
        settings->gridCheck()->setChecked(false);
        settings->serverTimeButton()->setChecked(true);
        settings->accept();
    });
    page->slotSettings();
    QCOMPARE(dialogs, 1);
    QCOMPARE(refusal, QStringLiteral("Maximal value must be greater than minimal value!"));
    QVERIFY(answerer.texts.isEmpty());
    // Every span of the series takes the settings; other series keep theirs.
    for (GWndTimeGraphInner *other : page->browser()->charts()) {
        const bool same = other->chart().chartClass == QLatin1String("Messages")
                && other->chart().name == QLatin1String("Spam");
        QCOMPARE(other->chart().settings.yMin, same ? 40 : 0);
        QCOMPARE(other->chart().settings.grid, !same);
    }
    qint64 low = 0;
    qint64 high = 0;
    timegraph::valueRange(chart->chart(), &low, &high);
    QCOMPARE(low, 40);
    QCOMPARE(high, 90);

    // A new page reads them back.
    QVERIFY(pageArea()->selectSection(SectionId::ProductInfo));
    TimeGraphWnd *again = openPage();
    QVERIFY(again);
    const timegraph::Settings kept = again->browser()->charts().at(6)->chart().settings;
    QCOMPARE(kept.yMin, 40);
    QCOMPARE(kept.yMax, 90);
    QVERIFY(!kept.grid);
    QVERIFY(kept.serverTime);
}

void TestTimeGraphWnd::chartIsSavedAsPng()
{
    TimeGraphWnd *page = openPage();
    QVERIFY(page);
    GWndTimeGraphInner *chart = page->currentChart();
    QVERIFY(chart);
    const QString path = folderPath(QStringLiteral("chart.png"));
    QVERIFY(chart->saveImage(path));
    const QImage image(path);
    QCOMPARE(image.size(), chart->size());
    // A folder in the way: the failure is reported.
    ModalAnswerer answerer(QMessageBox::Ok);
    QVERIFY(!chart->saveImage(folderPath(QString())));
    QTRY_COMPARE_WITH_TIMEOUT(answerer.texts.size(), 1, kTimeout);
    QVERIFY(answerer.texts.first().startsWith(QStringLiteral("Cannot write the file")));
}

void TestTimeGraphWnd::pageIsExportedAsHtml()
{
    TimeGraphWnd *page = openPage();
    QVERIFY(page);
    const QString path = folderPath(QStringLiteral("My Charts.htm"));
    QString error;
    QVERIFY2(page->exportTo(path, &error), qPrintable(error));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(file.readAll());
    QVERIFY(html.contains(QStringLiteral("<title>Postvane Statistics</title>")));
    QVERIFY(html.contains(QStringLiteral("Messages: Received (1 hour)")));
    QCOMPARE(html.count(QStringLiteral("<img ")), 33);
    QVERIFY(html.contains(QStringLiteral("src=\"My%20Charts_graphs/chart33.png\"")));
    QVERIFY(html.endsWith(QStringLiteral("</body>\n</html>\n")));
    const QImage last(folderPath(QStringLiteral("My Charts_graphs/chart33.png")));
    QVERIFY(!last.isNull());
    QCOMPARE(last.size(), page->browser()->charts().last()->size());
}

QTEST_MAIN(TestTimeGraphWnd)
#include "test_timegraphwnd.moc"

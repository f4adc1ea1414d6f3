// The log view inside the real console: a log item of the tree opens the
// view of its log through the page factory, it shows the log's newest lines
// and counts as loaded; a section page still gets the factory's own page.
#include "app/fmaintree.h"
#include "app/fmaintreeitem.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fwindow.h"
#include "consoletest.h"
#include "db/dbconn.h"
#include "forms/bpagefactory.h"
#include "forms/sectionids.h"
#include "logs/fwndlog.h"

#include <QMenuBar>
#include <QTreeWidgetItemIterator>
#include <QtTest>

class TestLogConsole : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init()
    {
        setUpConsole();
        registerApplicationPages();
    }
    void cleanup() { tearDownConsole(); }

    void logItemsOpenTheLogView()
    {
        QVERIFY(startServer({"--no-ticker", "--seed-log-lines", "500"}));
        QVERIFY(launchConsole(QStringLiteral("admin"), QStringLiteral("admin")));
        QVERIFY(QTest::qWaitFor(
                [this] {
                    return connection()->isConnected() && pageArea()->isInfoLoaded()
                            && pageArea()->areLogsLoaded();
                },
                kTimeout));
        int mailId = -1;
        for (QTreeWidgetItemIterator it(pageArea()->tree()); *it; ++it) {
            auto *item = static_cast<FMainTreeItem *>(*it);
            if (item->kind() == FMainTreeItem::LogFile && item->text(0) == QLatin1String("mail"))
                mailId = item->id();
        }
        QVERIFY(mailId > SectionId::Logs);
        QVERIFY(pageArea()->selectSection(mailId));
        auto *view = qobject_cast<FWndLog *>(pageArea()->currentPage());
        QVERIFY(view);
        QCOMPARE(view->logName(), QStringLiteral("mail"));
        QTRY_VERIFY_WITH_TIMEOUT(FPage::isLoaded(view), kTimeout);
        QTRY_VERIFY_WITH_TIMEOUT(view->count() == 500 && view->buffer().contains(499), kTimeout);
        QVERIFY(view->isLastLineVisible());

        // Its context menu is the window's "Edit" menu.
        QMenu *edit = nullptr;
        for (QAction *entry : mainWindow()->menuBar()->actions()) {
            if (entry->menu() && entry->text() == QLatin1String("&Edit"))
                edit = entry->menu();
        }
        QVERIFY(edit);
        QStringList texts;
        for (QAction *action : edit->actions()) {
            if (!action->isSeparator())
                texts.append(action->text());
        }
        QCOMPARE(texts,
                 (QStringList{"&Copy", "Save Log...", "&Find...", "&Highlighting...",
                              "&Select Font...", "&Encoding", "&Log Settings...", "Clear Log"}));

        // Leaving the log deletes its view; a section keeps its own page.
        QPointer<FWndLog> left(view);
        QVERIFY(pageArea()->selectSection(SectionId::ProductInfo));
        QTRY_VERIFY_WITH_TIMEOUT(left.isNull(), kTimeout);
    }
};

QTEST_MAIN(TestLogConsole)
#include "test_console.moc"

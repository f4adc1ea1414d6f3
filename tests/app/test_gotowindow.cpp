// The cross-window message queue: navigation refused or allowed, messages for
// the right and the wrong section, ambiguous names, blinking and run-code calls.
#include "app/fgotowindow.h"

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A page with two tab widgets (one name used twice), a field and slots to call.
class TargetPage : public QWidget
{
    Q_OBJECT

public:
    TargetPage()
    {
        auto *layout = new QVBoxLayout(this);
        tabs = addTabs(QStringLiteral("m_tabMain"));
        addTabs(QStringLiteral("m_tabTwice"));
        addTabs(QStringLiteral("m_tabTwice"));
        field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("m_edPath"));
        auto *twin1 = new QLineEdit(this);
        auto *twin2 = new QLineEdit(this);
        twin1->setObjectName(QStringLiteral("m_edTwin"));
        twin2->setObjectName(QStringLiteral("m_edTwin"));
        for (QWidget *w : {static_cast<QWidget *>(field), static_cast<QWidget *>(twin1),
                           static_cast<QWidget *>(twin2)})
            layout->addWidget(w);
    }

    QTabWidget *addTabs(const QString &name)
    {
        auto *tab = new QTabWidget(this);
        tab->setObjectName(name);
        for (const char *page : {"m_pageGeneral", "m_pageBackup"}) {
            auto *child = new QWidget;
            child->setObjectName(QString::fromLatin1(page));
            tab->addTab(child, QString::fromLatin1(page));
        }
        layout()->addWidget(tab);
        return tab;
    }

    QTabWidget *tabs = nullptr;
    QLineEdit *field = nullptr;
    int voidCalls = 0;
    int lastInt = 0;
    QString lastText;

public slots:
    void slotRefresh() { ++voidCalls; }
    void slotSelectRow(int row) { lastInt = row; }
    void slotSelectPath(const QString &path) { lastText = path; }
};

} // namespace

class TestGotoWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void refusedNavigationEmptiesTheQueue();
    void allowedNavigationSelectsTheFirstSection();
    void messagesForAnotherSectionAreDropped();
    void selectTabNeedsExactlyOneMatch_data();
    void selectTabNeedsExactlyOneMatch();
    void focusGoesToTheNamedField();
    void blinkHighlightsForOneSecond();
    void runCodeCallsTheCurrentPageOnly();

private:
    FGotoWindow *m_goto = nullptr;
};

void TestGotoWindow::init()
{
    m_goto = FGotoWindow::instance();
    m_goto->clear();
}

void TestGotoWindow::refusedNavigationEmptiesTheQueue()
{
    int selected = -1;
    m_goto->setNavigator([] { return false; },
                         [&](int id) {
                             selected = id;
                             return true;
                         });
    m_goto->addMessage(12, FGotoWindow::SetFocus, new FGotoWindow::Message_02_SetFocus("m_ed"));
    m_goto->addMessage(5, FGotoWindow::Blink, new FGotoWindow::Message_03_Blink("m_ed"));
    m_goto->go();
    QCOMPARE(m_goto->queuedCount(), 0);
    QCOMPARE(selected, -1);
}

void TestGotoWindow::allowedNavigationSelectsTheFirstSection()
{
    int selected = -1;
    m_goto->setNavigator([] { return true; },
                         [&](int id) {
                             selected = id;
                             return true;
                         });
    m_goto->go(); // nothing queued: nothing happens
    QCOMPARE(selected, -1);
    m_goto->addMessage(12, FGotoWindow::SetFocus, new FGotoWindow::Message_02_SetFocus("m_ed"));
    m_goto->addMessage(5, FGotoWindow::SetFocus, new FGotoWindow::Message_02_SetFocus("m_ed"));
    m_goto->go();
    QCOMPARE(selected, 12);
    QCOMPARE(m_goto->queuedCount(), 2);
    m_goto->dropFirst();
    QCOMPARE(m_goto->queuedCount(), 1);
}

void TestGotoWindow::messagesForAnotherSectionAreDropped()
{
    TargetPage page;
    m_goto->addMessage(23, FGotoWindow::SelectTab,
                       new FGotoWindow::Message_01_SelectTab("m_tabMain", "m_pageBackup"));
    QVERIFY(!m_goto->process(&page, 1));
    QCOMPARE(m_goto->queuedCount(), 0);
    QCOMPARE(page.tabs->currentIndex(), 0);
}

void TestGotoWindow::selectTabNeedsExactlyOneMatch_data()
{
    QTest::addColumn<QString>("tabWidget");
    QTest::addColumn<QString>("page");
    QTest::addColumn<int>("mainIndex");
    QTest::newRow("unique") << "m_tabMain"
                            << "m_pageBackup" << 1;
    QTest::newRow("tab widget named twice") << "m_tabTwice"
                                            << "m_pageBackup" << 0;
    QTest::newRow("unknown page") << "m_tabMain"
                                  << "m_pageNone" << 0;
    QTest::newRow("unknown tab widget") << "m_tabNone"
                                        << "m_pageBackup" << 0;
}

void TestGotoWindow::selectTabNeedsExactlyOneMatch()
{
    QFETCH(QString, tabWidget);
    QFETCH(QString, page);
    TargetPage target;
    m_goto->addMessage(12, FGotoWindow::SelectTab,
                       new FGotoWindow::Message_01_SelectTab(tabWidget, page));
    QVERIFY(m_goto->process(&target, 12));
    QTEST(target.tabs->currentIndex(), "mainIndex");
    for (QTabWidget *twice : target.findChildren<QTabWidget *>(QStringLiteral("m_tabTwice")))
        QCOMPARE(twice->currentIndex(), 0);
}

void TestGotoWindow::focusGoesToTheNamedField()
{
    TargetPage page;
    page.show();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    m_goto->addMessage(12, FGotoWindow::SetFocus, new FGotoWindow::Message_02_SetFocus("m_edTwin"));
    m_goto->addMessage(12, FGotoWindow::SetFocus, new FGotoWindow::Message_02_SetFocus("m_edPath"));
    QVERIFY(m_goto->process(&page, 12));
    QTRY_COMPARE(QApplication::focusWidget(), page.field);
}

void TestGotoWindow::blinkHighlightsForOneSecond()
{
    TargetPage page;
    const QColor base = page.field->palette().color(QPalette::Base);
    const QColor highlight = page.field->palette().color(QPalette::Highlight);
    QVERIFY(base != highlight);
    m_goto->addMessage(12, FGotoWindow::Blink, new FGotoWindow::Message_03_Blink("m_edPath"));
    QVERIFY(m_goto->process(&page, 12));
    QVERIFY(m_goto->isBlinking());
    QCOMPARE(page.field->palette().color(QPalette::Base), base);
    // Driven tick by tick: the timer's period is what makes each step one second.
    m_goto->slotBlink();
    QCOMPARE(page.field->palette().color(QPalette::Base), highlight);
    m_goto->slotBlink();
    QCOMPARE(page.field->palette().color(QPalette::Base), base);
    QVERIFY(!m_goto->isBlinking());

    // And with the real timer: highlighted after a second, restored after two.
    m_goto->addMessage(12, FGotoWindow::Blink, new FGotoWindow::Message_03_Blink("m_edPath"));
    QVERIFY(m_goto->process(&page, 12));
    QTRY_COMPARE_WITH_TIMEOUT(page.field->palette().color(QPalette::Base), highlight, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!m_goto->isBlinking(), 10000);
    QCOMPARE(page.field->palette().color(QPalette::Base), base);
}

void TestGotoWindow::runCodeCallsTheCurrentPageOnly()
{
    TargetPage first;
    TargetPage second;
    m_goto->addMessage(12, FGotoWindow::RunCodeVoid,
                       new FGotoWindow::Message_20_RunCodeVoid("slotRefresh()"));
    m_goto->addMessage(12, FGotoWindow::RunCodeInt,
                       new FGotoWindow::Message_21_RunCodeInt("slotSelectRow(int)", 7));
    m_goto->addMessage(12, FGotoWindow::RunCodeStr,
                       new FGotoWindow::Message_22_RunCodeStr("slotSelectPath(const QString&)",
                                                              "/var/backup"));
    QVERIFY(m_goto->process(&first, 12));
    QCOMPARE(first.voidCalls, 1);
    QCOMPARE(first.lastInt, 7);
    QCOMPARE(first.lastText, QStringLiteral("/var/backup"));

    m_goto->addMessage(12, FGotoWindow::RunCodeVoid,
                       new FGotoWindow::Message_20_RunCodeVoid("slotRefresh()"));
    QVERIFY(m_goto->process(&second, 12));
    QCOMPARE(second.voidCalls, 1);
    QCOMPARE(first.voidCalls, 1);
    // An unknown slot calls nothing.
    m_goto->addMessage(12, FGotoWindow::RunCodeVoid,
                       new FGotoWindow::Message_20_RunCodeVoid("slotMissing()"));
    QVERIFY(m_goto->process(&second, 12));
    QCOMPARE(second.voidCalls, 1);
}

QTEST_MAIN(TestGotoWindow)
#include "test_gotowindow.moc"

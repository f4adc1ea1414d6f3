// A page of the form framework inside the real console against the development
// server: the page factory builds it for its section, the page area loads it,
// the Apply/Reset bar and the save question follow its edits, a second session
// reads what Apply sent, a read-only session changes nothing, its menu appears
// in the menu bar and the cross-window messages reach it once it is loaded.
#include "app/fconsole.h"
#include "app/fdlgconnect.h"
#include "app/fgotowindow.h"
#include "app/fmaintree.h"
#include "app/fmainwindowex.h"
#include "app/fpage.h"
#include "app/fwidgetbottom.h"
#include "app/mailwindow.h"
#include "consoletest.h"
#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "db/dbreq.h"
#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "forms/bform.h"
#include "forms/blistregistrations.h"
#include "forms/blistview.h"
#include "forms/bpagefactory.h"
#include "forms/sectionids.h"
#include "forms/statusformlist.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/devserver_process.h"

#include <QAction>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

constexpr int kSection = SectionId::Aliases;
const QString kSeeded = QStringLiteral("Whole sales group");

using postdesk::test::DevServerProcess;

QList<DBKol> aliasColumns()
{
    return {DBKol(1, "Lhs", true), DBKol(1, "Domain", true), DBKol(1, "Rhs", true),
            DBKol(1, "Description")};
}

} // namespace

// A page over the aliases of example.com that edits the description of the
// "team" alias, with a menu of its own and a slot for cross-window messages.
class SeamAliasWnd : public BForm
{
    Q_OBJECT
public:
    explicit SeamAliasWnd(QWidget *parent)
        : BForm(parent)
        , m_table(UtKontainer::objectAs<DBConn>(UtKey::DBConn), "Alias", aliasColumns(),
                  DBTable::Options{.filter = "Domain='example.com'"})
        , m_trans(UtKontainer::objectAs<DBConn>(UtKey::DBConn))
        , m_edDescription(new QLineEdit(this))
    {
        m_edDescription->setObjectName(QStringLiteral("m_edDescription"));
        m_trans.addTable(&m_table);
        connect(m_edDescription, &QLineEdit::textChanged, this, &BForm::slotChange);
        m_viewMenu->setTitle(QStringLiteral("&Aliases"));
        m_viewMenu->addAction(new QAction(QStringLiteral("&Check Targets"), this));
    }

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override { return saveTables(&m_trans); }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override
    {
        DBRow *row = teamRow();
        m_edDescription->setText(row ? row->text("Description") : QString());
        return row != nullptr;
    }
    void storeView() override
    {
        if (DBRow *row = teamRow())
            row->setText("Description", m_edDescription->text());
    }

    QLineEdit *edit() const { return m_edDescription; }
    QStringList marks;

public slots:
    void slotMark(const QString &text) { marks << text; }

private:
    DBRow *teamRow() const
    {
        for (DBRow *row : m_table.rows()) {
            if (row->text("Lhs") == QLatin1String("team"))
                return row;
        }
        return nullptr;
    }

    DBTable m_table;
    DBTransTab m_trans;
    QLineEdit *m_edDescription;
};

// A status list over the same aliases: it edits nothing and refreshes itself.
class SeamStatusWnd : public StatusFormList<>
{
public:
    SeamStatusWnd()
        : StatusFormList<>(QStringLiteral("SeamStatusWnd"))
        , m_table(UtKontainer::objectAs<DBConn>(UtKey::DBConn), "Alias", aliasColumns(),
                  DBTable::Options{.filter = "Domain='example.com'"})
        , m_trans(UtKontainer::objectAs<DBConn>(UtKey::DBConn))
    {
        m_trans.addTable(&m_table);
    }
    void defineColumns(BCols &cols) override
    {
        cols.setRegistration(*BListRegistrations::find(QStringLiteral("mailqueue")));
        cols.addColumn(QStringLiteral("Alias"), QStringLiteral("Lhs"));
    }
    BListViewItem *createItem(DBRow *row) override
    {
        return new BListViewItem(listView(), row, {row->text("Lhs")});
    }
    DBTable *table() override { return &m_table; }
    void load(bool first) override { loadTables(&m_trans, first); }

private:
    DBTable m_table;
    DBTransTab m_trans;
};

// Presses a button of the next message box (the save question has its own
// buttons, found by their text) and records the box's text.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(QString button)
        : m_button(std::move(button))
    {
        connect(&m_timer, &QTimer::timeout, this, [this] { poll(); });
        m_timer.start(20);
    }
    QStringList texts;

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == m_last || !box->isVisible())
            return;
        m_last = box;
        texts << box->text();
        for (QAbstractButton *button : box->buttons()) {
            if (button->text() == m_button) {
                QTimer::singleShot(0, button, &QAbstractButton::click);
                return;
            }
        }
        QTimer::singleShot(0, box, &QDialog::reject);
    }

    QString m_button;
    QTimer m_timer;
    QPointer<QMessageBox> m_last;
};

class TestPageSeam : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void pageLoadsAppliesAndResets();
    void leavingWithAnEditAsksToSave_data();
    void leavingWithAnEditAsksToSave();
    void viewerCannotEdit();
    void statusPageHasNoBarAndStaysUsable();
    void viewMenuFollowsThePage();
    void messagesReachTheLoadedPage();
    void lostSessionWithAnEdit_data();
    void lostSessionWithAnEdit();

private:
    bool startConsole(const QString &user = QStringLiteral("admin"));
    SeamAliasWnd *openPage();
    QString serverDescription();
    void clickTreeItem(int id);

    FWidgetBottom *bar() const { return pageArea()->bottomBar(); }
    int pendingOperations() const { return connection()->transCtrl()->operationCount(); }
};

void TestPageSeam::init()
{
    setUpConsole();
    BPageFactory::instance().add(kSection,
                                 [](QWidget *parent) { return new SeamAliasWnd(parent); });
}

void TestPageSeam::cleanup()
{
    BPageFactory::instance().remove(kSection);
    BPageFactory::instance().remove(SectionId::MessageQueue);
    FGotoWindow::instance()->clear();
    tearDownConsole();
}

bool TestPageSeam::startConsole(const QString &user)
{
    return launchConsole(user, user)
            && QTest::qWaitFor(
                    [this] { return connection()->isConnected() && pageArea()->isInfoLoaded(); },
                    kTimeout);
}

SeamAliasWnd *TestPageSeam::openPage()
{
    return qobject_cast<SeamAliasWnd *>(openSection(kSection));
}

// What a second session of its own reads from the server.
QString TestPageSeam::serverDescription()
{
    DBConn second(QString::fromStdString(m_server->host()), int(m_server->port()),
                  QStringLiteral("admin"), QStringLiteral("admin"));
    second.setKnownHostsPath(knownHostsPath());
    second.start();
    if (!QTest::qWaitFor([&second] { return second.isConnected(); }, kTimeout))
        return QStringLiteral("<no second session>");
    DBReq req(QStringLiteral(
            "select Description from Alias where Domain='example.com' and Lhs='team'"));
    const QString text = second.execSync(&req) && req.rowCount() == 1
            ? req.readStr(0, 0).toString()
            : QStringLiteral("<error: %1>").arg(req.errorText());
    second.stop();
    return text;
}

void TestPageSeam::clickTreeItem(int id)
{
    FMainTree *tree = pageArea()->tree();
    const QRect target = tree->visualItemRect(tree->item(id));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, target.center());
}

void TestPageSeam::pageLoadsAppliesAndResets()
{
    QVERIFY(startConsole());
    // A section without a registered page keeps its stand-in and no bar.
    QVERIFY(pageArea()->selectSection(SectionId::Services));
    QVERIFY(!qobject_cast<SeamAliasWnd *>(pageArea()->currentPage()));
    QVERIFY(bar()->isHidden());

    SeamAliasWnd *page = openPage();
    QVERIFY(page);
    QCOMPARE(page->sectionId(), kSection);
    QVERIFY(bar()->isVisible());
    QVERIFY(page->isEnabled());
    QCOMPARE(page->edit()->text(), kSeeded);
    QVERIFY(!bar()->applyButton()->isEnabled());
    QVERIFY(!bar()->resetButton()->isEnabled());

    // An edit through the widget enables Apply and Reset.
    page->edit()->selectAll();
    QTest::keyClicks(page->edit(), QStringLiteral("Applied from the console"));
    QCOMPARE(pendingOperations(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(bar()->applyButton()->isEnabled(), kTimeout);
    QVERIFY(bar()->resetButton()->isEnabled());

    bar()->applyButton()->click();
    QCOMPARE(pendingOperations(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!bar()->applyButton()->isEnabled(), kTimeout);
    QCOMPARE(serverDescription(), QStringLiteral("Applied from the console"));

    // Reset drops the next edit; the server keeps the applied text.
    page->edit()->setText(QStringLiteral("Dropped again"));
    QTRY_VERIFY_WITH_TIMEOUT(bar()->resetButton()->isEnabled(), kTimeout);
    bar()->resetButton()->click();
    QCOMPARE(page->edit()->text(), QStringLiteral("Applied from the console"));
    QCOMPARE(pendingOperations(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!bar()->resetButton()->isEnabled(), kTimeout);
    QCOMPARE(serverDescription(), QStringLiteral("Applied from the console"));
}

void TestPageSeam::leavingWithAnEditAsksToSave_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("onServer");
    QTest::newRow("yes saves and leaves") << "&Yes"
                                          << "Saved on leaving";
    QTest::newRow("no drops and leaves") << "&No" << kSeeded;
    QTest::newRow("cancel stays") << "&Cancel" << kSeeded;
}

void TestPageSeam::leavingWithAnEditAsksToSave()
{
    QFETCH(QString, answer);
    QFETCH(QString, onServer);
    QVERIFY(startConsole());
    QPointer<SeamAliasWnd> page = openPage();
    QVERIFY(page);
    page->edit()->setText(QStringLiteral("Saved on leaving"));
    QCOMPARE(pendingOperations(), 1);

    BoxAnswerer answerer(answer);
    clickTreeItem(SectionId::ProductInfo);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.texts.size(), 1, kTimeout);
    QCOMPARE(answerer.texts.first(),
             QStringLiteral("<nobr>You have modified data on this view.<br>Do you want to save "
                            "changes?</nobr>"));
    const bool stays = answer == QLatin1String("&Cancel");
    QTRY_COMPARE_WITH_TIMEOUT(pageArea()->tree()->currentTreeItem()->id(),
                              stays ? kSection : SectionId::ProductInfo, kTimeout);
    if (stays) {
        QCOMPARE(pageArea()->currentPage(), page.data());
        QCOMPARE(page->edit()->text(), QStringLiteral("Saved on leaving"));
        QCOMPARE(pendingOperations(), 1);
        connection()->transCtrl()->clearOperations();
    } else {
        QCOMPARE(pendingOperations(), 0);
        QVERIFY(bar()->isHidden());
    }
    QCOMPARE(serverDescription(), onServer);
}

void TestPageSeam::viewerCannotEdit()
{
    QVERIFY(startConsole(QStringLiteral("viewer")));
    QVERIFY(!connection()->mayModify());
    SeamAliasWnd *page = openPage();
    QVERIFY(page);
    // The values are there to read, but the field takes no typing.
    QCOMPARE(page->edit()->text(), kSeeded);
    QVERIFY(page->edit()->isReadOnly());
    QTest::keyClicks(page->edit(), QStringLiteral("typed"));
    QCOMPARE(page->edit()->text(), kSeeded);
    // Even an edit made behind the widget's back registers nothing.
    page->edit()->setText(QStringLiteral("Changed by a viewer"));
    QCOMPARE(pendingOperations(), 0);
    QTest::qWait(100);
    QVERIFY(!bar()->applyButton()->isEnabled());
    bar()->applyButton()->click();
    QCOMPARE(serverDescription(), kSeeded);
}

void TestPageSeam::statusPageHasNoBarAndStaysUsable()
{
    BPageFactory::instance().add(SectionId::MessageQueue,
                                 [](QWidget *) { return new SeamStatusWnd; });
    QVERIFY(startConsole(QStringLiteral("viewer")));
    QVERIFY(pageArea()->selectSection(SectionId::MessageQueue));
    auto *page = dynamic_cast<SeamStatusWnd *>(pageArea()->currentPage());
    QVERIFY(page);
    QTRY_VERIFY_WITH_TIMEOUT(FPage::isLoaded(page), kTimeout);
    QVERIFY(bar()->isHidden());
    QVERIFY(page->listView()->topLevelItemCount() > 0);
    // Refreshing changes nothing on the server, so a viewer keeps it.
    QVERIFY(page->refreshButton()->isEnabled());
    page->refreshButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(page->isEnabled() && page->refreshButton()->isEnabled(), kTimeout);

    // Back to a page with Apply and Reset: the bar returns.
    SeamAliasWnd *form = openPage();
    QVERIFY(form);
    QVERIFY(bar()->isVisible());
}

void TestPageSeam::viewMenuFollowsThePage()
{
    QVERIFY(startConsole());
    const int menusBefore = mainWindow()->menuBar()->actions().size();
    QVERIFY(!mainWindow()->viewMenu());
    SeamAliasWnd *page = openPage();
    QVERIFY(page);
    QMenu *menu = mainWindow()->viewMenu();
    QVERIFY(menu);
    QCOMPARE(menu->title(), QStringLiteral("&Aliases"));
    QCOMPARE(menu->actions(), page->viewMenu()->actions());
    const QList<QAction *> bar = mainWindow()->menuBar()->actions();
    QCOMPARE(bar.size(), menusBefore + 1);
    // Between "File" and "Help".
    QCOMPARE(bar.indexOf(menu->menuAction()), bar.size() - 2);

    // The page offers its menu itself (through the framework's interface of
    // the main window): shown again, once.
    mainWindow()->refreshSectionMenus();
    QVERIFY(!mainWindow()->viewMenu());
    page->viewMenu()->showMenu();
    page->viewMenu()->showMenu();
    QVERIFY(mainWindow()->viewMenu());
    QCOMPARE(mainWindow()->viewMenu()->title(), QStringLiteral("&Aliases"));
    QCOMPARE(mainWindow()->menuBar()->actions().size(), menusBefore + 1);

    // Another section: the page's menu goes.
    QVERIFY(pageArea()->selectSection(SectionId::ProductInfo));
    QVERIFY(!mainWindow()->viewMenu());
    QCOMPARE(mainWindow()->menuBar()->actions().size(), menusBefore);
}

void TestPageSeam::messagesReachTheLoadedPage()
{
    QVERIFY(startConsole());
    FGotoWindow *messages = FGotoWindow::instance();
    messages->addMessage(kSection, FGotoWindow::SetFocus,
                         new FGotoWindow::Message_02_SetFocus("m_edDescription"));
    messages->addMessage(SectionId::Users, FGotoWindow::RunCodeStr,
                         new FGotoWindow::Message_22_RunCodeStr("slotMark(QString)", "not mine"));
    messages->addMessage(kSection, FGotoWindow::RunCodeStr,
                         new FGotoWindow::Message_22_RunCodeStr("slotMark(QString)", "mine"));
    messages->go();
    auto *page = qobject_cast<SeamAliasWnd *>(pageArea()->currentPage());
    QVERIFY(page);
    // Delivered once the page has shown its data, not before.
    QCOMPARE(messages->queuedCount(), 3);
    QVERIFY(page->marks.isEmpty());
    QTRY_COMPARE_WITH_TIMEOUT(messages->queuedCount(), 0, kTimeout);
    QVERIFY(FPage::isLoaded(page));
    QCOMPARE(page->marks, QStringList{"mine"});
    QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), page->edit(), kTimeout);
}

void TestPageSeam::lostSessionWithAnEdit_data()
{
    QTest::addColumn<bool>("replay");
    QTest::addColumn<QString>("afterwards");
    QTest::newRow("apply and reconnect replays the edit") << true << "Replayed after the loss";
    QTest::newRow("reconnect resets the page") << false << kSeeded;
}

void TestPageSeam::lostSessionWithAnEdit()
{
    QFETCH(bool, replay);
    QFETCH(QString, afterwards);
    QVERIFY(startConsole());
    QPointer<SeamAliasWnd> page = openPage();
    QVERIFY(page);
    page->edit()->setText(QStringLiteral("Replayed after the loss"));
    QCOMPARE(pendingOperations(), 1);

    bool offered = false;
    QTimer watcher;
    connect(&watcher, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<FDlgConnect *>(QApplication::activeModalWidget());
        if (!dialog || offered)
            return;
        offered = dialog->okButton()->text() == QLatin1String("Apply && Reconnect")
                && dialog->reconnectButton()->isVisible();
        QVERIFY(m_server->restart({}));
        UtKontainer::setInt(UtKey::Port, m_server->port());
        (replay ? dialog->okButton() : dialog->reconnectButton())->click();
    });
    watcher.start(50);
    m_server->stop();
    pageArea()->reload(); // the next request notices the loss
    QTRY_VERIFY_WITH_TIMEOUT(offered, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(connection()->transCtrl()->undoList().isEmpty(), kTimeout);
    if (replay) {
        // A fresh page shows what the server now holds.
        QTRY_VERIFY_WITH_TIMEOUT(page.isNull(), kTimeout);
        page = qobject_cast<SeamAliasWnd *>(pageArea()->currentPage());
        QVERIFY(page);
        QTRY_VERIFY_WITH_TIMEOUT(FPage::isLoaded(page), kTimeout);
    }
    // Either way the page shows what the server holds, with nothing pending.
    QCOMPARE(page->edit()->text(), afterwards);
    QCOMPARE(pendingOperations(), 0);
    QVERIFY(!bar()->applyButton()->isEnabled());
    QCOMPARE(serverDescription(), afterwards);
}

QTEST_MAIN(TestPageSeam)
#include "test_page_seam.moc"

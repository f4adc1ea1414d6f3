// The life cycle of pages and dialogs: loading from the development server,
// edit tracking into the transaction controller, apply, reset, the save
// question, dialogs with validation and the uniqueness check, tab forms.
#include "forms/bdialog.h"
#include "forms/bform.h"
#include "forms/bformtab.h"
#include "forms/bframewindow.h"
#include "forms/bmainwindowinterface.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include "db/dbctrl.h"
#include "db/dbtable.h"
#include "db/dbtranstab.h"
#include "support/testserver.h"
#include "modalanswerer.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using postdesk::test::TestServer;

namespace {

QList<DBKol> aliasColumns()
{
    return {DBKol(1, "Lhs", true), DBKol(1, "Domain", true), DBKol(1, "Rhs", true),
            DBKol(1, "Description")};
}

const QString teamDescription = QStringLiteral("Whole sales group");

// A page over the aliases of example.com that edits the description of the
// "team" alias.
class AliasForm : public BForm
{
public:
    explicit AliasForm(DBConn *conn, const QString &tableName = QStringLiteral("Alias"))
        : m_table(conn, tableName, aliasColumns(),
                  DBTable::Options{.filter = "Domain='example.com'"})
        , m_trans(conn)
        , m_edit(new QLineEdit(this))
    {
        m_trans.addTable(&m_table);
        connect(m_edit, &QLineEdit::textChanged, this, &BForm::slotChange);
    }

    void load(bool first) override { loadTables(&m_trans, first); }
    bool save() override
    {
        ++saves;
        return saveTables(&m_trans);
    }
    void discard() override { m_trans.revert(); }
    void registerChanges() override { registerTables(&m_trans); }
    bool fillView() override
    {
        ++fills;
        if (failFill)
            return false;
        DBRow *row = teamRow();
        m_edit->setText(row ? row->text("Description") : QString());
        return true;
    }
    void storeView() override
    {
        if (DBRow *row = teamRow())
            row->setText("Description", m_edit->text());
    }
    bool validate() override { return valid; }

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
    QLineEdit *m_edit;
    int fills = 0;
    int saves = 0;
    bool failFill = false;
    bool valid = true;
};

QString serverDescription(DBConn *conn)
{
    DBTable table(conn, "Alias", aliasColumns(),
                  DBTable::Options{.filter = "Domain='example.com' and Lhs='team'"});
    if (!table.selectSync() || table.rowCount() != 1)
        return QStringLiteral("<not read>");
    return table.row(0)->text("Description");
}

// A tab page that loads nothing from the server and counts what it is asked.
class CountingPage : public BForm
{
public:
    void load(bool first) override
    {
        loads << first;
        objectSlot()->slotDataLoaded();
    }
    bool save() override
    {
        ++saves;
        return true;
    }
    void discard() override { ++discards; }
    void registerChanges() override { }
    bool fillView() override
    {
        ++fills;
        return true;
    }
    bool validate() override
    {
        ++validations;
        return valid;
    }
    unsigned tableCount() const override { return 2; }

    QList<bool> loads;
    int saves = 0, discards = 0, fills = 0, validations = 0;
    bool valid = true;
};
using TabPage = BTabPageEx<CountingPage>;

class CountingTabForm : public BFormTab<>
{
public:
    bool queryClose(bool *saved) override
    {
        ++questions;
        return BFormTab<>::queryClose(saved);
    }
    int questions = 0;
};

// An alias dialog over a row of a local table.
class AliasDlg : public BDialog<QDialog>
{
public:
    AliasDlg()
        : m_edLhs(new QLineEdit(this))
    { }
    bool fillView() override
    {
        ++fills;
        m_edLhs->setText(m_row ? m_row->text("Lhs") : QString());
        return true;
    }
    void storeView() override
    {
        m_row->setText("Lhs", m_edLhs->text());
        m_row->setText("Domain", "example.com");
        m_row->setText("Rhs", "x@example.com");
    }
    bool validate() override
    {
        ++validations;
        return valid;
    }
    QLineEdit *m_edLhs;
    int fills = 0, validations = 0;
    bool valid = true;
};

// The shell's page area as the framework sees it.
using FakeFrameWindow = BFrameWindow;

// A main window that implements the framework's interface.
class FakeMainWindow : public QObject, public BMainWindowInterface
{
public:
    void setAnimationText(const QString &text) override { texts << text; }
    void showViewMenu(const BViewMenu *menu) override { menus << menu; }
    void refreshSectionMenus() override { }
    QStringList texts;
    QList<const BViewMenu *> menus;
};

// A main window that only offers slots of those names, not the interface.
class SlotMainWindow : public QObject
{
    Q_OBJECT
public slots:
    void slotSetAnimationText(const QString &text) { texts << text; }
    void slotShowViewMenu(const BViewMenu *menu) { menus << menu; }

public:
    QStringList texts;
    QList<const BViewMenu *> menus;
};

} // namespace

class TestFormLifeCycle : public QObject
{
    Q_OBJECT

    TestServer m_server;

    DBCtrl *ctrl() const { return m_server.conn()->transCtrl(); }

    bool loadForm(AliasForm &form)
    {
        const int fills = form.fills;
        form.load(true);
        return TestServer::waitFor([&] { return form.fills > fills; });
    }

private slots:
    void cleanupTestCase() { UtKontainer::clear(); }

    void initTestCase()
    {
        UtKontainer::clear();
        UtKontainer::setText(UtKey::Caption, "Console");
        QVERIFY(m_server.connectAs());
    }

    void init()
    {
        if (m_server.conn()->state() != DBConn::Connected)
            QVERIFY(m_server.connectAs("admin"));
        ctrl()->clearOperations();
    }

    void fillIsNotAnEdit()
    {
        AliasForm form(m_server.conn());
        QSignalSpy changed(&form, &BForm::signalDataChanged);
        QVERIFY(loadForm(form));
        QCOMPARE(form.m_edit->text(), teamDescription);
        QVERIFY(form.isEnabled());
        QVERIFY(form.isInitialised());
        QCOMPARE(changed.count(), 0);
        QCOMPARE(ctrl()->operationCount(), 0);
    }

    void editsAreTrackedIntoTheController()
    {
        AliasForm form(m_server.conn());
        QVERIFY(loadForm(form));
        QSignalSpy changed(&form, &BForm::signalDataChanged);
        form.m_edit->setText("Sales people");
        QCOMPARE(changed.count(), 1);
        QCOMPARE(ctrl()->operationCount(), 1);
        QVERIFY(ctrl()->operations().first().startsWith(
                "update Alias set Description='Sales people' where Lhs='team'"));
        // Editing again replaces the page's statements instead of adding more.
        form.m_edit->setText("Sales people 2");
        QCOMPARE(ctrl()->operationCount(), 1);
    }

    void applySavesAndFailsSoundly()
    {
        AliasForm form(m_server.conn());
        QVERIFY(loadForm(form));
        form.m_edit->setText("Applied text");
        bool ok = false;
        form.apply(&ok);
        QVERIFY(ok);
        QCOMPARE(ctrl()->operationCount(), 0);
        QCOMPARE(serverDescription(m_server.conn()), QString("Applied text"));

        // A page that does not validate is not saved.
        form.m_edit->setText("Never sent");
        form.valid = false;
        const int saves = form.saves;
        form.apply(&ok);
        QVERIFY(!ok);
        QCOMPARE(form.saves, saves);
        QCOMPARE(ctrl()->operationCount(), 1);

        // A server refusal keeps the edits pending and shows the server's text.
        form.valid = true;
        QVERIFY(m_server.fault("status", "301", "update alias"));
        ModalAnswerer answerer;
        form.apply(&ok);
        QVERIFY(m_server.fault("clear", "0"));
        QVERIFY(!ok);
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(!answerer.texts.first().isEmpty());
        QCOMPARE(answerer.captions.first(), QString("Console"));
        QCOMPARE(ctrl()->operationCount(), 1);
        QCOMPARE(serverDescription(m_server.conn()), QString("Applied text"));

        // Reset drops the edits and shows the loaded data again.
        QSignalSpy postReset(form.viewSlot(), &bview::BViewSlot::signalPostResetChanges);
        form.reset();
        QCOMPARE(ctrl()->operationCount(), 0);
        QCOMPARE(form.m_edit->text(), QString("Applied text"));
        QCOMPARE(postReset.count(), 1);

        form.m_edit->setText(teamDescription);
        form.apply(&ok);
        QVERIFY(ok);
    }

    void saveQuestion_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("pending");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("onServer");
        QTest::newRow("yes") << int(QMessageBox::Yes) << true << true << 0 << "Question"
                             << "Question";
        QTest::newRow("no") << int(QMessageBox::No) << true << false << 0 << teamDescription
                            << teamDescription;
        QTest::newRow("cancel") << int(QMessageBox::Cancel) << false << false << 1 << "Question"
                                << teamDescription;
    }
    void saveQuestion()
    {
        QFETCH(int, answer);
        QFETCH(bool, result);
        QFETCH(bool, saved);
        QFETCH(int, pending);
        QFETCH(QString, shown);
        QFETCH(QString, onServer);

        AliasForm form(m_server.conn());
        QVERIFY(loadForm(form));
        ModalAnswerer answerer{QMessageBox::StandardButton(answer)};
        bool wasSaved = true;
        QVERIFY(form.queryClose(&wasSaved)); // nothing pending: no question
        QVERIFY(!wasSaved);
        QVERIFY(answerer.texts.isEmpty());

        form.m_edit->setText("Question");
        QCOMPARE(form.queryClose(&wasSaved), result);
        QCOMPARE(wasSaved, saved);
        QCOMPARE(answerer.texts, QStringList{"Do you want to save changes?"});
        QCOMPARE(ctrl()->operationCount(), pending);
        QCOMPARE(form.m_edit->text(), shown);
        QCOMPARE(serverDescription(m_server.conn()), onServer);

        // Put the server back.
        form.reset();
        form.m_edit->setText(teamDescription);
        bool ok = false;
        form.apply(&ok);
        QVERIFY(ok);
    }

    void failedFillStopsTracking()
    {
        AliasForm form(m_server.conn());
        form.failFill = true;
        QVERIFY(loadForm(form));
        QVERIFY(!form.isEnabled());
        QVERIFY(form.isUpdating());
        form.m_edit->setText("ignored");
        QCOMPARE(ctrl()->operationCount(), 0);
    }

    void readOnlyUserEditsAreRefused()
    {
        QVERIFY(m_server.connectAs("viewer"));
        AliasForm form(m_server.conn());
        QVERIFY(loadForm(form));
        QSignalSpy operations(ctrl(), &DBCtrl::signalOperations);
        form.m_edit->setText("Not allowed");
        QCOMPARE(ctrl()->operationCount(), 0);
        QTRY_VERIFY(!operations.isEmpty());
        QCOMPARE(operations.last().at(0).toString(),
                 QString("You have no rights to modify this data!"));
        QVERIFY(m_server.connectAs("admin"));
    }

    void loadErrorsShowOnlyWhileConnected()
    {
        AliasForm form(m_server.conn(), "NoSuchTable");
        ModalAnswerer answerer;
        form.load(true);
        QVERIFY(TestServer::waitFor([&] { return !answerer.texts.isEmpty(); }));
        QVERIFY(!answerer.texts.first().isEmpty());
        QVERIFY(!form.isEnabled()); // stays loading
        QCOMPARE(form.fills, 0);

        // While the session is closing, the same error stays silent.
        m_server.disconnect();
        QVERIFY(m_server.conn()->state() == DBConn::Disconnected);
        form.objectSlot()->slotDataError("Connection lost");
        QTest::qWait(200);
        QCOMPARE(answerer.texts.size(), 1);
    }

    void dialogAcceptValidatesAndChecksUniqueness()
    {
        DBTable table(nullptr, "Alias", aliasColumns());
        for (const char *lhs : {"info", "team"}) {
            DBRow *row = table.addRow();
            row->setText("Lhs", lhs);
            row->setText("Domain", "example.com");
            row->setText("Rhs", "x@example.com");
        }
        DBRow *added = table.addRow();
        added->setText("Description", "before");

        AliasDlg dialog;
        dialog.setRow(added);
        dialog.show();
        QCOMPARE(dialog.fills, 1);
        QVERIFY(dialog.isEnabled());
        dialog.show();
        QCOMPARE(dialog.fills, 1); // loads once

        // Validation refuses: nothing stored, the dialog stays.
        dialog.valid = false;
        dialog.m_edLhs->setText("info");
        dialog.accept();
        QVERIFY(dialog.isVisible());
        QCOMPARE(added->text("Lhs"), QString());

        // A duplicate key: the message, the dialog stays, the row is as before.
        dialog.valid = true;
        ModalAnswerer answerer;
        dialog.accept();
        QCOMPARE(answerer.texts, QStringList{"This item is already defined."});
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
        QCOMPARE(added->text("Lhs"), QString());
        QCOMPARE(added->text("Description"), QString("before"));

        // A unique key is accepted and stored.
        dialog.m_edLhs->setText("sales");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(added->text("Lhs"), QString("sales"));
        QCOMPARE(answerer.texts.size(), 1);
    }

    void dialogWithOwnTablesSkipsTheUniquenessCheck()
    {
        DBTable table(nullptr, "Alias", aliasColumns());
        DBRow *first = table.addRow();
        first->setText("Lhs", "info");
        first->setText("Domain", "example.com");
        first->setText("Rhs", "x@example.com");
        AliasDlg dialog;
        DBTable own(nullptr, "Other");
        dialog.addOwnTable(&own);
        dialog.setRow(table.addRow());
        dialog.show();
        dialog.m_edLhs->setText("info");
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    void tabFormWorksOnLoadedPagesOnly()
    {
        CountingTabForm form;
        TabPage *pages[] = {new TabPage, new TabPage, new TabPage};
        for (TabPage *page : pages)
            form.tab()->addPage(page, "page");
        QCOMPARE(pages[0]->baseIndex(), 0u);
        QCOMPARE(pages[1]->baseIndex(), 2u);
        QCOMPARE(pages[2]->baseIndex(), 4u);
        QCOMPARE(form.name(), QString("BFormTab"));

        form.load(true);
        QCOMPARE(pages[0]->pageState(), int(BTabPage::Loaded));
        QCOMPARE(pages[1]->pageState(), int(BTabPage::NeverShown));
        QCOMPARE(pages[0]->loads, QList<bool>{true});
        QVERIFY(pages[0]->isEnabled());
        QVERIFY(!pages[1]->isEnabled());

        bool ok = false;
        form.apply(&ok);
        QVERIFY(ok);
        form.reset();
        QCOMPARE(pages[0]->validations, 1);
        QCOMPARE(pages[0]->saves, 1);
        QCOMPARE(pages[0]->discards, 1);
        for (TabPage *page : {pages[1], pages[2]}) {
            QCOMPARE(page->validations + page->saves + page->discards + page->fills, 0);
        }

        // Showing the third page loads it (not as a first load).
        form.tab()->setCurrentIndex(2);
        QCOMPARE(pages[2]->loads, QList<bool>{false});
        QCOMPARE(pages[2]->pageState(), int(BTabPage::Loaded));
        form.tab()->setCurrentIndex(0);

        // A page that does not validate becomes the current page.
        pages[2]->valid = false;
        form.apply(&ok);
        QVERIFY(!ok);
        QCOMPARE(form.tab()->currentIndex(), 2);
        QCOMPARE(pages[0]->saves, 1);
        pages[2]->valid = true;
        form.tab()->setCurrentIndex(0);
        QVERIFY(form.validate());
        QCOMPARE(form.tab()->currentIndex(), 0);
        QCOMPARE(pages[1]->validations, 0);

        // The save question of a page is the tab form's.
        bool saved = false;
        QVERIFY(pages[1]->queryClose(&saved));
        QCOMPARE(form.questions, 1);
    }

    void shellReachesFormsThroughTheRegistry()
    {
        FakeFrameWindow frame;
        FakeMainWindow mainWindow;
        UtKontainer::setObject(UtKey::FWindow, &frame);
        UtKontainer::setObject(UtKey::FMainWnd, &mainWindow);
        {
            AliasForm form(m_server.conn());
            QVERIFY(loadForm(form));
            form.m_edit->setText("From the shell");
            bool ok = false;
            emit frame.signalApply(&ok);
            QVERIFY(ok);
            QCOMPARE(mainWindow.texts, QStringList{"Saving..."});
            QCOMPARE(serverDescription(m_server.conn()), QString("From the shell"));

            form.m_edit->setText("Dropped");
            emit frame.signalReset();
            QCOMPARE(ctrl()->operationCount(), 0);
            QCOMPARE(form.m_edit->text(), QString("From the shell"));

            form.viewMenu()->showMenu();
            QCOMPARE(mainWindow.menus, QList<const BViewMenu *>{form.viewMenu()});

            form.m_edit->setText(teamDescription);
            emit frame.signalApply(&ok);
            QVERIFY(ok);
        }
        {
            // Tab pages answer through their tab form only: saved once.
            CountingTabForm tabForm;
            auto *page = new TabPage;
            tabForm.tab()->addPage(page, "page");
            tabForm.load(true);
            bool ok = false;
            emit frame.signalApply(&ok);
            QVERIFY(ok);
            QCOMPARE(page->saves, 1);
            QCOMPARE(page->validations, 1);
        }
        UtKontainer::remove(UtKey::FMainWnd);
        UtKontainer::remove(UtKey::FWindow);
    }

    void mainWindowIsReachedOnlyThroughItsInterface()
    {
        // Slots that merely carry the right names are not looked up.
        SlotMainWindow mainWindow;
        UtKontainer::setObject(UtKey::FMainWnd, &mainWindow);
        {
            CountingPage page;
            page.viewMenu()->showMenu();
            emit page.objectSlot()->signalSetAnimationText("Loading...");
            QVERIFY(mainWindow.menus.isEmpty());
            QVERIFY(mainWindow.texts.isEmpty());
        }
        UtKontainer::remove(UtKey::FMainWnd);
    }

    void tabFormWithLoadAllLoadsEveryPage()
    {
        CountingTabForm form;
        form.tab()->setLoadAll(true);
        form.tab()->setKeepRequestsOnFirstPage(true);
        TabPage *pages[] = {new TabPage, new TabPage};
        for (TabPage *page : pages)
            form.tab()->addPage(page, "page");
        form.load(true);
        QCOMPARE(pages[0]->loads, QList<bool>{false});
        QCOMPARE(pages[1]->loads, QList<bool>{false});
    }
};

QTEST_MAIN(TestFormLifeCycle)
#include "test_formlifecycle.moc"

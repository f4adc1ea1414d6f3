// The main window's layout as an administrator meets it: titles that tell
// consoles apart, a second console offset from the first, a splitter whose
// panes cannot vanish and that is remembered, a tree wide enough for its
// labels, a minimum window size, and the help and About boxes by keyboard.
#include "app/fabout.h"
#include "app/fapplication.h"
#include "app/fdlgnewconnection.h"
#include "app/fmaintree.h"
#include "app/fmainwindowex.h"
#include "app/fwidgetstatus.h"
#include "app/fwindowslot.h"
#include "app/mailwindow.h"
#include "forms/sectionids.h"
#include "modalanswerer.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSplitter>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

class TestWindowLayout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void titleTellsConsolesApart_data();
    void titleTellsConsolesApart();
    void consolesTakeTheLowestFreeSlot();
    void splitterPanesStayUsableAndAreRemembered();
    void treeIsWideEnoughForItsLongestLabel();
    void statusBarTellsOneState();
    void longTextsNeverWidenTheWindow();
    void newConnectionDialogChecksTheServer();
    void enterClosesAbout();
    void germanIncludesQtsOwnTexts();
    void missingGuideIsReported();

private:
    QTemporaryDir m_settings;
};

void TestWindowLayout::init()
{
    UtKontainer::clear();
    UtKontainer::setStoreFile(m_settings.filePath(QStringLiteral("settings.ini")));
    UtKontainer::setText(UtKey::AppEngineName, QStringLiteral("Postvane"));
}

void TestWindowLayout::cleanup()
{
    UtKontainer::clear();
    QFile::remove(m_settings.filePath(QStringLiteral("settings.ini")));
}

void TestWindowLayout::titleTellsConsolesApart_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("label");
    QTest::newRow("defaults") << "mail.example.org" << 44337 << "admin"
                              << "mail.example.org";
    QTest::newRow("other port") << "mail.example.org" << 44400 << "admin"
                                << "mail.example.org:44400";
    QTest::newRow("other user") << "10.0.0.5" << 44337 << "viewer"
                                << "viewer@10.0.0.5";
    QTest::newRow("both") << "mail.example.org" << 2000 << "ops"
                          << "ops@mail.example.org:2000";
}

void TestWindowLayout::titleTellsConsolesApart()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, user);
    QTEST(FMainWindowEx::serverLabel(host, port, user), "label");
}

void TestWindowLayout::consolesTakeTheLowestFreeSlot()
{
    QTemporaryDir folder;
    auto first = std::make_unique<FWindowSlot>(folder.path());
    FWindowSlot second(folder.path());
    QCOMPARE(first->slot(), 0);
    QCOMPARE(first->offset(), 0);
    QCOMPARE(second.slot(), 1);
    QCOMPARE(second.offset(), FWindowSlot::kOffsetPixels);
    // A console that ended frees its place for the next one.
    first.reset();
    FWindowSlot third(folder.path());
    QCOMPARE(third.slot(), 0);
    // No usable folder: the window opens where it would have anyway.
    FWindowSlot nowhere(QStringLiteral("/proc/no-such-folder"));
    QCOMPARE(nowhere.offset(), 0);
}

void TestWindowLayout::splitterPanesStayUsableAndAreRemembered()
{
    int savedTreeWidth = 0;
    {
        FMainWindowEx main;
        auto *area = new MailWindow;
        UtKontainer::setObject(UtKey::FWindow, area);
        main.setCentralWidget(area);
        area->initialize();
        main.showWithSavedGeometry();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        QVERIFY(main.minimumWidth() >= FMainWindow::kMinimumWidth);
        QSplitter *splitter = area->splitter();
        QVERIFY(!splitter->childrenCollapsible());

        // Dragging the handle to either end leaves both panes their minimum.
        splitter->setSizes({0, 2000});
        QVERIFY(splitter->sizes().at(0) >= FWindow::kMinimumTreeWidth);
        splitter->setSizes({2000, 0});
        QVERIFY(splitter->sizes().at(1) >= FWindow::kMinimumPageWidth);

        splitter->setSizes({300, main.width() - 300});
        savedTreeWidth = splitter->sizes().at(0);
        main.saveGeometrySettings();
        UtKontainer::setObject(UtKey::FWindow, nullptr);
    }
    FMainWindowEx main;
    auto *area = new MailWindow;
    UtKontainer::setObject(UtKey::FWindow, area);
    main.setCentralWidget(area);
    area->initialize();
    main.showWithSavedGeometry();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(area->splitter()->sizes().at(0), savedTreeWidth);
    UtKontainer::setObject(UtKey::FWindow, nullptr);
}

void TestWindowLayout::treeIsWideEnoughForItsLongestLabel()
{
    MailWindow area;
    area.initialize();
    FMainTree *tree = area.tree();
    // A long translated label, as German gives them, three levels down.
    FMainTreeItem *item = tree->item(SectionId::AddressGroups);
    item->setText(0, QStringLiteral("Gruppen von IP-Adressen und Adressbereichen"));
    const int labelWidth = tree->fontMetrics().horizontalAdvance(item->text(0));
    QVERIFY(tree->widthForLabels() > labelWidth + 2 * tree->indentation());
    QVERIFY(tree->widthForLabels() > FWindow::kDefaultTreeWidth);
    // The console builds its tree before the window shows.
    area.initialize();
    area.resize(1000, 600);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    QVERIFY2(area.splitter()->sizes().at(0) >= tree->widthForLabels(),
             qPrintable(QString::number(area.splitter()->sizes().at(0))));
}

void TestWindowLayout::statusBarTellsOneState()
{
    FMainWindowEx main;
    FWidgetStatus *status = main.statusWidget();
    // Before the session is up nothing says "Ready".
    QCOMPARE(status->messageText(), QStringLiteral("Not Connected"));
    QCOMPARE(status->sectionText(), QString());

    status->setState(DBConn::Connected);
    status->setStateMessage(QStringLiteral("Ready"));
    QCOMPARE(status->sectionText(), QStringLiteral("Ready."));

    // A slow request: the message cell says so, and the section cell stops saying "Ready.".
    main.slotConnectionStateChanged(DBConn::Working);
    QCOMPARE(status->messageText(), QStringLiteral("Loading..."));
    QVERIFY(status->isAnimating());
    QCOMPARE(status->sectionText(), QString());
    status->stopAnimation();
    status->setState(DBConn::Connected);

    // A menu entry's tip shows in the section cell while the entry is highlighted.
    QStatusTipEvent tip(main.quitAction()->statusTip());
    QApplication::sendEvent(&main, &tip);
    QCOMPARE(status->sectionText(), QStringLiteral("Quit the application."));
    QStatusTipEvent noTip{QString()};
    QApplication::sendEvent(&main, &noTip);
    QCOMPARE(status->sectionText(), QStringLiteral("Ready."));
    // Once the pointer met the tree, the cell names the item under it, or nothing.
    status->setSection(QPixmap(), QString());
    QCOMPARE(status->sectionText(), QString());
}

void TestWindowLayout::newConnectionDialogChecksTheServer()
{
    FDlgNewConnection dialog;
    QPushButton *ok = dialog.buttons()->button(QDialogButtonBox::Ok);
    QVERIFY(!ok->isEnabled());
    QCOMPARE(dialog.userEdit()->text(), QStringLiteral("admin"));
    QCOMPARE(dialog.passwordEdit()->echoMode(), QLineEdit::Password);

    // A bad port keeps the dialog open and says why.
    dialog.show();
    QTest::keyClicks(dialog.serverEdit(), QStringLiteral("mail.example.org:99999"));
    QVERIFY(ok->isEnabled());
    QTest::keyClicks(dialog.passwordEdit(), QStringLiteral("secret"));
    QTest::keyClick(dialog.passwordEdit(), Qt::Key_Return);
    QVERIFY(dialog.isVisible());
    QVERIFY(!dialog.errorLabel()->isHidden());

    dialog.serverEdit()->setText(QStringLiteral("mail.example.org:2000"));
    QTest::keyClick(dialog.passwordEdit(), Qt::Key_Return);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const ConnectionRecord record = dialog.record();
    QCOMPARE(record.host, QStringLiteral("mail.example.org"));
    QCOMPARE(record.port, 2000);
    QCOMPARE(record.user, QStringLiteral("admin"));
    QCOMPARE(record.password, QStringLiteral("secret"));
    // The password does not stay in the dialog.
    QVERIFY(dialog.passwordEdit()->text().isEmpty());
}

void TestWindowLayout::longTextsNeverWidenTheWindow()
{
    FMainWindowEx main;
    auto *area = new MailWindow;
    UtKontainer::setObject(UtKey::FWindow, area);
    main.setCentralWidget(area);
    area->initialize();
    main.resize(FMainWindow::kDefaultWidth, FMainWindow::kDefaultHeight);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    const int width = main.width();

    // A changed certificate's warning on the information page, and a long tip.
    const QString warning = QStringLiteral("The identity of the server has changed. ").repeated(12);
    auto *error = area->currentPage()->findChild<QLabel *>(QStringLiteral("m_lbl_error"));
    QVERIFY(error);
    error->setText(warning);
    error->show();
    main.statusWidget()->showTip(warning);
    QCoreApplication::processEvents();
    QCOMPARE(main.width(), width);
    QVERIFY2(main.minimumSizeHint().width() < width,
             qPrintable(QString::number(main.minimumSizeHint().width())));
    QVERIFY(area->splitter()->sizes().at(0) >= FWindow::kMinimumTreeWidth);
    UtKontainer::setObject(UtKey::FWindow, nullptr);
}

void TestWindowLayout::enterClosesAbout()
{
    FAbout about(QStringLiteral("Postdesk"), QStringLiteral("<p>notices</p>"));
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    auto *buttons = about.findChild<QDialogButtonBox *>();
    QVERIFY(buttons->button(QDialogButtonBox::Close)->isDefault());
    QTest::keyClick(&about, Qt::Key_Return);
    QTRY_VERIFY(!about.isVisible());
    QCOMPARE(about.result(), int(QDialog::Rejected));
}

void TestWindowLayout::germanIncludesQtsOwnTexts()
{
    QTranslator console;
    QTranslator qt;
    QVERIFY(console.load(QStringLiteral("postdesk603.de.qm"),
                         QStringLiteral(POSTDESK_TRANSLATIONS_FOLDER)));
    QVERIFY(FApplication::loadQtTranslation(qt, QStringLiteral("de")));
    QCoreApplication::installTranslator(&console);
    QCoreApplication::installTranslator(&qt);
    {
        FMainWindow main;
        QCOMPARE(main.quitAction()->shortcut().toString(QKeySequence::NativeText),
                 QStringLiteral("Strg+Q"));
        FAbout about(QStringLiteral("Postdesk"), QString());
        auto *buttons = about.findChild<QDialogButtonBox *>();
        QCOMPARE(buttons->button(QDialogButtonBox::Close)->text(), QStringLiteral("Schließen"));
    }
    QCoreApplication::removeTranslator(&qt);
    QCoreApplication::removeTranslator(&console);
}

void TestWindowLayout::missingGuideIsReported()
{
    QVERIFY(FMainWindow::helpFile().isEmpty());
    FMainWindow main;
    ModalAnswerer answerer;
    main.guideAction()->trigger();
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY2(answerer.texts.first().startsWith(
                     QStringLiteral("The Administrator's Guide is not installed.")),
             qPrintable(answerer.texts.first()));
}

QTEST_MAIN(TestWindowLayout)
#include "test_windowlayout.moc"

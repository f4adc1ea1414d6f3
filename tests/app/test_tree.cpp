// The navigation tree and the page area without a session: the section table,
// log items and their ids, saved open folders, page switching, and that every
// picture the shell names exists.
#include "app/fimages.h"
#include "app/fmaintree.h"
#include "app/fwidgetbottom.h"
#include "app/fwidgettop.h"
#include "app/mailwindow.h"
#include "forms/sectionids.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QPointer>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidgetItemIterator>

namespace {

struct Row
{
    int id;
    int parent; // -1: top level
};

// Rows in tree order with their parents, as a fresh console shows them.
const QList<Row> kExpectedRows
        = {{1000, -1}, {0, 1000}, {1, 0},   {2, 0},   {3, 0},     {14, 0},  {15, 14}, {16, 14},
           {17, 14},   {4, 0},    {5, 0},   {6, 0},   {7, 0},     {8, 0},   {9, 0},   {10, 0},
           {11, 0},    {12, 0},   {13, 0},  {18, 0},  {19, 18},   {20, 18}, {21, 18}, {22, 1000},
           {23, 22},   {24, 22},  {25, 22}, {26, 22}, {27, 1000}, {28, 27}, {31, 27}, {32, 27},
           {29, 27},   {30, 27},  {33, 27}, {34, 27}};

} // namespace

class TestTree : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void rowsFollowTheSectionTable();
    void optionalSectionsHiddenWithoutServerInformation();
    void logItemsTakeIdsFromARunningCounter();
    void openFoldersAreRestoredAndSaved();
    void everySelectionBuildsAFreshPage();
    void arrowKeysOpenAndCloseBeforeMoving();
    void closingAFolderAboveTheCurrentItemSelectsIt();
    void pageClassesFollowTheOperatingSystem();
    void everyPictureExists();

private:
    QTemporaryDir m_settings;
    MailWindow *m_window = nullptr;
};

void TestTree::init()
{
    UtKontainer::clear();
    UtKontainer::setStoreFile(m_settings.filePath(QStringLiteral("settings.ini")));
    UtKontainer::setText(UtKey::AppEngineName, QStringLiteral("Postvane"));
    m_window = new MailWindow;
    UtKontainer::setObject(UtKey::FWindow, m_window);
}

void TestTree::cleanup()
{
    delete m_window;
    m_window = nullptr;
    UtKontainer::clear();
    QFile::remove(m_settings.filePath(QStringLiteral("settings.ini")));
}

void TestTree::rowsFollowTheSectionTable()
{
    m_window->initialize();
    QList<Row> rows;
    QTreeWidgetItemIterator it(m_window->tree());
    for (; *it; ++it) {
        auto *item = static_cast<FMainTreeItem *>(*it);
        auto *parent = static_cast<FMainTreeItem *>(item->parent());
        rows.append({item->id(), parent ? parent->id() : -1});
    }
    QCOMPARE(rows.size(), kExpectedRows.size());
    for (int i = 0; i < rows.size(); ++i) {
        QCOMPARE(rows.at(i).id, kExpectedRows.at(i).id);
        QCOMPARE(rows.at(i).parent, kExpectedRows.at(i).parent);
    }
    FMainTreeItem *root = m_window->tree()->item(SectionId::ProductInfo);
    QCOMPARE(root->text(0), QStringLiteral("Postvane"));
    QCOMPARE(root->description(), QStringLiteral("Information about Postvane."));
    QCOMPARE(m_window->tree()->item(SectionId::Backup)->text(0),
             QStringLiteral("Archiving & Backup"));
    // The first page is the product information page.
    QCOMPARE(m_window->tree()->currentTreeItem(), root);
    QCOMPARE(m_window->currentPage()->objectName(), QStringLiteral("ProductInfoWnd"));

    // A rebuild in place creates nothing new and keeps the order.
    const quint64 created = FMainTreeItem::createdCount();
    m_window->tree()->beginBuild();
    QMetaObject::invokeMethod(m_window, "slotDataLoaded");
    QCOMPARE(FMainTreeItem::createdCount(), created);
}

void TestTree::optionalSectionsHiddenWithoutServerInformation()
{
    m_window->initialize();
    FMainTree *tree = m_window->tree();
    for (int id : {SectionId::Clustering, SectionId::FaxPlugin, SectionId::FaxPluginCalls,
                   SectionId::XsanCluster})
        QVERIFY2(tree->item(id)->isHidden(), qPrintable(QString::number(id)));
    QCOMPARE(UtKontainer::getInt(UtKey::ClusteringVisible, -1), 0);
    QVERIFY(!tree->selectId(SectionId::FaxPlugin));
}

void TestTree::logItemsTakeIdsFromARunningCounter()
{
    m_window->initialize();
    const int first = MailWindow::peekNextLogId();
    m_window->slotLogsLoaded({"mail", "audit", "error"});
    FMainTree *tree = m_window->tree();
    FMainTreeItem *logs = tree->item(SectionId::Logs);
    QVERIFY(logs);
    QCOMPARE(logs->parent(), tree->item(SectionId::ProductInfo));
    QCOMPARE(logs->parent()->indexOfChild(logs), logs->parent()->childCount() - 1);
    QCOMPARE(logs->description(), QStringLiteral("Log files."));
    QCOMPARE(logs->childCount(), 2);
    auto *mail = static_cast<FMainTreeItem *>(logs->child(0));
    auto *error = static_cast<FMainTreeItem *>(logs->child(1));
    QCOMPARE(mail->id(), first);
    QCOMPARE(mail->text(0), QStringLiteral("mail"));
    QCOMPARE(mail->description(), QStringLiteral("mail file."));
    QCOMPARE(error->id(), first + 2);

    // A reload gets new ids; the old items are gone.
    m_window->slotLogsLoaded({"debug"});
    QCOMPARE(logs->childCount(), 1);
    QCOMPARE(static_cast<FMainTreeItem *>(logs->child(0))->id(), first + 3);
    QVERIFY(!tree->item(first));
}

void TestTree::openFoldersAreRestoredAndSaved()
{
    const QString key = QStringLiteral("/mainTreeItems");
    UtKontainer::setText(key, QStringLiteral("14;22;10000;"), key);
    m_window->initialize();
    FMainTree *tree = m_window->tree();
    QVERIFY(tree->item(SectionId::ProductInfo)->isExpanded());
    QVERIFY(tree->item(SectionId::ContentFilter)->isExpanded());
    QVERIFY(tree->item(SectionId::DomainSettings)->isExpanded());
    QVERIFY(!tree->item(SectionId::Status)->isExpanded());
    // Until the log list arrives, its saved state is kept.
    tree->item(SectionId::Status)->setExpanded(true);
    QVERIFY(UtKontainer::getText(key, {}, key).contains(QStringLiteral("10000;")));
    m_window->slotLogsLoaded({"mail"});
    QVERIFY(tree->item(SectionId::Logs)->isExpanded());
    tree->item(SectionId::Logs)->setExpanded(false);
    tree->item(SectionId::ContentFilter)->setExpanded(false);
    QCOMPARE(UtKontainer::getText(key, {}, key), QStringLiteral("22;27;1000;"));
    QCOMPARE(FMainTree::parseOpenFolders(QStringLiteral("3;x;;7;")), (QList<int>{3, 7}));
}

void TestTree::everySelectionBuildsAFreshPage()
{
    m_window->initialize();
    const int before = m_window->pagesBuilt();
    QVERIFY(m_window->selectSection(SectionId::Services));
    QPointer<QWidget> first = m_window->currentPage();
    QCOMPARE(first->objectName(), QStringLiteral("ServiceWnd"));
    QVERIFY(m_window->selectSection(SectionId::Domains));
    QCOMPARE(m_window->currentPage()->objectName(), QStringLiteral("DomainWnd"));
    QTRY_VERIFY(first.isNull());
    QVERIFY(m_window->selectSection(SectionId::Services));
    QCOMPARE(m_window->pagesBuilt() - before, 3);
    QCOMPARE(m_window->pageStack()->count(), 1);
    QCOMPARE(m_window->header()->sectionText(), QStringLiteral("Services"));
    QVERIFY(!m_window->header()->sectionPixmap().isNull());

    // Folders get the folder page and no Apply/Reset bar; log pages hide the header.
    QVERIFY(m_window->selectSection(SectionId::Status));
    QCOMPARE(m_window->currentPage()->objectName(), QStringLiteral("FWndFolder"));
    QVERIFY(m_window->bottomBar()->isHidden());
    m_window->slotLogsLoaded({"error"});
    QVERIFY(m_window->selectSection(MailWindow::peekNextLogId() - 1));
    QVERIFY(m_window->header()->isHidden());
}

void TestTree::arrowKeysOpenAndCloseBeforeMoving()
{
    m_window->initialize();
    FMainTree *tree = m_window->tree();
    FMainTreeItem *status = tree->item(SectionId::Status);
    status->setExpanded(false);
    QVERIFY(tree->selectId(SectionId::Status));

    struct Step
    {
        Qt::Key key;
        int current;
        bool statusOpen;
    };
    // Right opens, a second Right moves in; Left moves out, a second Left closes.
    const QList<Step> steps = {{Qt::Key_Right, SectionId::Status, true},
                               {Qt::Key_Right, SectionId::MessageQueue, true},
                               {Qt::Key_Right, SectionId::MessageQueue, true},
                               {Qt::Key_Left, SectionId::Status, true},
                               {Qt::Key_Left, SectionId::Status, false},
                               {Qt::Key_Left, SectionId::ProductInfo, false}};
    for (const Step &step : steps) {
        QTest::keyClick(tree, step.key);
        QCOMPARE(tree->currentTreeItem()->id(), step.current);
        QCOMPARE(status->isExpanded(), step.statusOpen);
    }
    QCOMPARE(m_window->currentPage()->objectName(), QStringLiteral("ProductInfoWnd"));
}

void TestTree::closingAFolderAboveTheCurrentItemSelectsIt()
{
    m_window->initialize();
    FMainTree *tree = m_window->tree();
    FMainTreeItem *configuration = tree->item(SectionId::Configuration);
    configuration->setExpanded(true);
    QVERIFY(tree->selectId(SectionId::Services));

    // A page that may not be left keeps its folder open.
    tree->setCanLeave([] { return false; });
    configuration->setExpanded(false);
    QVERIFY(configuration->isExpanded());
    QCOMPARE(tree->currentTreeItem()->id(), SectionId::Services);

    tree->setCanLeave([] { return true; });
    tree->item(SectionId::ProductInfo)->setExpanded(false);
    QCOMPARE(tree->currentTreeItem()->id(), SectionId::ProductInfo);
    QCOMPARE(m_window->currentPage()->objectName(), QStringLiteral("ProductInfoWnd"));
}

void TestTree::pageClassesFollowTheOperatingSystem()
{
    QCOMPARE(MailWindow::pageClassName(SectionId::Users), QStringLiteral("UserWnd"));
    UtKontainer::setInt(UtKey::OsVersion, 0);
    QCOMPARE(MailWindow::pageClassName(SectionId::EtrnDownload), QStringLiteral("EtrnWnd"));
    UtKontainer::setInt(UtKey::OsVersion, 2);
    QCOMPARE(MailWindow::pageClassName(SectionId::EtrnDownload), QStringLiteral("EtrnServersWnd"));
}

void TestTree::everyPictureExists()
{
    m_window->initialize();
    m_window->slotLogsLoaded(MailWindow::knownLogNames());
    QStringList names;
    QTreeWidgetItemIterator it(m_window->tree());
    for (; *it; ++it) {
        auto *item = static_cast<FMainTreeItem *>(*it);
        const QString base = item->iconBase();
        const bool underscore
                = item->kind() == FMainTreeItem::LogFile || item->id() == SectionId::Logs;
        names << base + ".png" << base + (underscore ? "_32.png" : "32.png");
        if (item->kind() == FMainTreeItem::Folder)
            names << base + "_open.png";
        QVERIFY2(!item->pixmap32().isNull(), qPrintable(base));
        QCOMPARE(item->pixmap32().width(), 32);
    }
    names << "splashscreen.png"
          << "f_statustree.png"
          << "f_statususer.png"
          << "f_statususerreadonly.png"
          << "f_statusconnected.png"
          << "f_statusnotconnected.png"
          << "f_statusloaded.png"
          << "f_statusnotloaded.png"
          << "f_topbrantel.png"
          << "f_topline.png"
          << "f_topempty.png"
          << "f_dlgconnecttop1.png"
          << "f_dlgconnecttop2.png"
          << "f_dlgconnecttop3.png"
          << "f_dlgconnecterror.png"
          << "f_menunewconnection.png"
          << "f_menuhelp.png";
    for (int i = 1; i <= 6; ++i)
        names << QStringLiteral("f_statusloading%1.png").arg(i);
    for (int i = 1; i <= 4; ++i)
        names << QStringLiteral("f_statusconnecting%1.png").arg(i);
    for (const QString &name : std::as_const(names)) {
        QVERIFY2(FImages::exists(name), qPrintable(name));
        QVERIFY2(!FImages::pixmap(name).isNull(), qPrintable(name));
    }
    QCOMPARE(FImages::pixmap(QStringLiteral("iconapp.png")).size(), QSize(16, 16));
    QCOMPARE(FImages::pixmap(QStringLiteral("iconapp32.png")).size(), QSize(32, 32));
}

QTEST_MAIN(TestTree)
#include "test_tree.moc"

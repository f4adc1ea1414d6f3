// The console against the development server: connection state in caption and
// status bar, the tree for each capability and operating system, the lost
// session with and without edits, "Apply && Reconnect" replaying the edits,
// "Reconnect" discarding them, a loss under a modal dialog, and a changed
// server certificate.
#include "app/fconsole.h"
#include "app/fdlgconnect.h"
#include "app/fmaintree.h"
#include "app/fmainwindowex.h"
#include "app/fserverquery.h"
#include "app/fwidgetstatus.h"
#include "app/mailwindow.h"
#include "consoletest.h"
#include "db/dbconn.h"
#include "db/dbctrl.h"
#include "db/dbreq.h"
#include "forms/sectionids.h"
#include "lumadb/lumadb.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/devserver_process.h"
#include "support/modalwatcher.h"

#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {

using postdesk::test::DevServerProcess;
using postdesk::test::ModalWatcher;

QString domainDescription(DBConn *connection)
{
    DBReq req(QStringLiteral("select Description from Domain where Domain='example.com'"));
    if (!connection->execSync(&req) || req.rowCount() < 1)
        return QStringLiteral("<error: %1>").arg(req.errorText());
    return req.readStr(0, 0).toString();
}

void clickButton(QWidget *box, const QString &text)
{
    for (QPushButton *button : box->findChildren<QPushButton *>()) {
        if (button->text() == text && button->isVisible()) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no button %1").arg(text)));
}

} // namespace

class TestConsole : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void firstNoticeIsSilentAndLoginShowsTheSession();
    void viewerIsMarkedReadOnly();
    void treeFollowsServerInformation_data();
    void treeFollowsServerInformation();
    void lostSessionWithoutEditsOffersReconnect();
    void applyAndReconnectReplaysTheEdits();
    void failedReplayIsReported();
    void reconnectButtonDiscardsTheEdits();
    void lossUnderAModalDialogShowsABox();
    void cancelInTheSaveQuestionKeepsTheSection();
    void changedCertificateIsTrustedAfterConfirmation();
    void unknownServerIsAskedAboutBeforeTheFirstLogin();

private:
    bool startConsole(const QString &user = QStringLiteral("admin"),
                      const QString &password = QStringLiteral("admin"));
    void restartServer(std::vector<std::string> extraArgs = {});

    ModalWatcher *m_modals = nullptr;
};

void TestConsole::init()
{
    setUpConsole();
    m_modals = new ModalWatcher;
}

void TestConsole::cleanup()
{
    delete m_modals;
    tearDownConsole();
}

bool TestConsole::startConsole(const QString &user, const QString &password)
{
    return launchConsole(user, password);
}

void TestConsole::restartServer(std::vector<std::string> extraArgs)
{
    QVERIFY2(m_server->restart(std::move(extraArgs)), m_server->errorText().c_str());
    UtKontainer::setInt(UtKey::Port, m_server->port());
}

void TestConsole::firstNoticeIsSilentAndLoginShowsTheSession()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    const QString host = QString::fromStdString(m_server->host());
    // The development server listens on a port of its own: the title names it.
    const QString server = host + QLatin1Char(':') + QString::number(m_server->port());
    QTRY_COMPARE_WITH_TIMEOUT(mainWindow()->windowTitle(),
                              server + QStringLiteral(" - Administration Console for Postvane"),
                              kTimeout);
    FWidgetStatus *status = mainWindow()->statusWidget();
    QCOMPARE(status->serverText(), host + QLatin1Char(':') + QString::number(m_server->port()));
    QCOMPARE(status->userText(), QStringLiteral("admin"));
    QTRY_COMPARE_WITH_TIMEOUT(status->messageText(), QStringLiteral("Ready"), kTimeout);
    QCOMPARE(status->sectionText(), QStringLiteral("Ready."));
    QVERIFY(pageArea()->tree()->isEnabled());
    QVERIFY(!mainWindow()->reconnectAction()->isEnabled());
    // The initial notice opened nothing.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(pageArea()->areLogsLoaded(), kTimeout);
    QVERIFY(pageArea()->tree()->item(SectionId::Logs));
}

void TestConsole::viewerIsMarkedReadOnly()
{
    QVERIFY(startConsole(QStringLiteral("viewer"), QStringLiteral("viewer")));
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(mainWindow()->statusWidget()->userText(),
                              QStringLiteral("viewer (read only)"), kTimeout);
}

void TestConsole::treeFollowsServerInformation_data()
{
    QTest::addColumn<QStringList>("serverArguments");
    QTest::addColumn<bool>("fax");
    QTest::addColumn<int>("osVersion");
    QTest::addColumn<QString>("etrnPage");
    QTest::newRow("no capabilities") << QStringList{} << false << 0 << "EtrnWnd";
    QTest::newRow("fax server") << QStringList{"--capability", "FAX-SERVER"} << true << 0
                                << "EtrnWnd";
    QTest::newRow("os code 65536")
            << QStringList{"--os-code", "65536"} << false << 1 << "EtrnServersWnd";
    QTest::newRow("os code 131072")
            << QStringList{"--os-code", "131072"} << false << 2 << "EtrnServersWnd";
}

void TestConsole::treeFollowsServerInformation()
{
    QFETCH(QStringList, serverArguments);
    QFETCH(bool, fax);
    std::vector<std::string> extra;
    for (const QString &argument : serverArguments)
        extra.push_back(argument.toStdString());
    QVERIFY(startServer(extra));
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    FMainTree *tree = pageArea()->tree();
    QCOMPARE(!tree->item(SectionId::FaxPlugin)->isHidden(), fax);
    QCOMPARE(!tree->item(SectionId::FaxPluginCalls)->isHidden(), fax);
    QCOMPARE(UtKontainer::getBool(UtKey::FaxPluginInstalled), fax);
    QTEST(UtKontainer::getInt(UtKey::OsVersion, -1), "osVersion");
    // The server simulates no cluster: the Xsan item stays hidden.
    QTest::qWait(200);
    QVERIFY(tree->item(SectionId::XsanCluster)->isHidden());
    QVERIFY(tree->item(SectionId::Clustering)->isHidden());
    QVERIFY(pageArea()->selectSection(SectionId::EtrnDownload));
    QTEST(pageArea()->currentPage()->objectName(), "etrnPage");
}

void TestConsole::lostSessionWithoutEditsOffersReconnect()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    QString title, okText, error;
    bool reconnectVisible = true, parametersVisible = true, treeEnabled = true;
    QString caption;
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        title = dialog->windowTitle();
        okText = dialog->okButton()->text();
        reconnectVisible = dialog->reconnectButton()->isVisible();
        parametersVisible = dialog->parametersGroup()->isVisible();
        error = dialog->errorLabel()->text();
        caption = mainWindow()->windowTitle();
        treeEnabled = pageArea()->tree()->isEnabled();
        dialog->cancelButton()->click();
    });
    m_server->stop();
    // Any request notices the loss.
    QVERIFY(pageArea()->selectSection(SectionId::Configuration));
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QCOMPARE(title, QStringLiteral("Connection failed"));
    QCOMPARE(okText, QStringLiteral("Reconnect"));
    QVERIFY(!reconnectVisible);
    QVERIFY(!parametersVisible);
    QVERIFY(!error.isEmpty());
    QCOMPARE(caption,
             QStringLiteral("Not connected - %1:%2 - Administration Console for Postvane")
                     .arg(QString::fromStdString(m_server->host()))
                     .arg(m_server->port()));
    QVERIFY(!treeEnabled);
    // Cancel leaves the session down with Reconnect available.
    QVERIFY(!connection()->isConnected());
    QVERIFY(mainWindow()->reconnectAction()->isEnabled());
    QCOMPARE(mainWindow()->statusWidget()->messageText(), QStringLiteral("Not Connected"));
}

void TestConsole::applyAndReconnectReplaysTheEdits()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    DBCtrl *ctrl = connection()->transCtrl();
    const QStringList edits{
            QStringLiteral("update Domain set Description='first' where Domain='example.com'"),
            QStringLiteral("update Domain set Description='second' where Domain='example.com'"),
            QStringLiteral("update Domain set Description='third' where Domain='example.com'")};
    ctrl->addOperations(2, {edits.at(1)});
    ctrl->addOperations(1, {edits.at(0)});
    ctrl->addOperations(3, {edits.at(2)});
    QString okText;
    bool reconnectVisible = false;
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        okText = dialog->okButton()->text();
        reconnectVisible = dialog->reconnectButton()->isVisible();
        restartServer();
        dialog->okButton()->click();
    });
    m_server->stop();
    pageArea()->reload(); // the next request notices the loss
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QCOMPARE(okText, QStringLiteral("Apply && Reconnect"));
    QVERIFY(reconnectVisible);
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    // Replayed in the controller's order after the login: the last one stands.
    QTRY_COMPARE_WITH_TIMEOUT(ctrl->undoList().size(), 0, kTimeout);
    QCOMPARE(ctrl->operationCount(), 0);
    QCOMPARE(domainDescription(connection()), QStringLiteral("third"));
}

void TestConsole::failedReplayIsReported()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    DBCtrl *ctrl = connection()->transCtrl();
    ctrl->addOperations(1, {QStringLiteral("update NoSuchTable set X='1'")});
    QString boxText;
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        restartServer();
        dialog->okButton()->click();
    });
    m_modals->expect([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        boxText = box->text();
        box->accept();
    });
    m_server->stop();
    pageArea()->reload(); // the next request notices the loss
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QVERIFY(!boxText.isEmpty());
    QCOMPARE(boxText, ctrl->errorText());
    QVERIFY(connection()->isConnected());
}

void TestConsole::reconnectButtonDiscardsTheEdits()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    const QString before = domainDescription(connection());
    DBCtrl *ctrl = connection()->transCtrl();
    ctrl->addOperations(
            1,
            {QStringLiteral("update Domain set Description='dropped' where Domain='example.com'")});
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        restartServer();
        dialog->reconnectButton()->click();
    });
    m_server->stop();
    pageArea()->reload(); // the next request notices the loss
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    QCOMPARE(ctrl->operationCount(), 0);
    QVERIFY(ctrl->undoList().isEmpty());
    QCOMPARE(domainDescription(connection()), before);
}

void TestConsole::lossUnderAModalDialogShowsABox()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    QString boxText;
    bool sawConnectDialog = false;
    m_modals->expect([&](QWidget *) {
        // An editing dialog is open when the server goes away.
        m_server->stop();
        pageArea()->reload();
    });
    m_modals->expect([&](QWidget *modal) {
        sawConnectDialog = qobject_cast<FDlgConnect *>(modal) != nullptr;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            boxText = box->text();
            box->accept();
        } else {
            modal->close();
        }
        QTimer::singleShot(0, [] {
            if (QWidget *editing = QApplication::activeModalWidget())
                editing->close();
        });
    });
    QDialog editing(mainWindow());
    editing.setObjectName(QStringLiteral("UserDlg"));
    editing.exec();
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QVERIFY(!sawConnectDialog);
    QCOMPARE(boxText, connection()->lastErrorText());
}

void TestConsole::cancelInTheSaveQuestionKeepsTheSection()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    QVERIFY(pageArea()->selectSection(SectionId::Services));
    connection()->transCtrl()->addOperations(
            1, {QStringLiteral("update Domain set Description='kept' where Domain='example.com'")});
    QString question;
    m_modals->expect([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        question = box->text();
        clickButton(box, QStringLiteral("&Cancel"));
    });
    FMainTree *tree = pageArea()->tree();
    const QRect target = tree->visualItemRect(tree->item(SectionId::ProductInfo));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, target.center());
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QCOMPARE(question,
             QStringLiteral("<nobr>You have modified data on this view.<br>Do you want "
                            "to save changes?</nobr>"));
    QCOMPARE(tree->currentTreeItem()->id(), SectionId::Services);
    QCOMPARE(connection()->transCtrl()->operationCount(), 1);
    connection()->transCtrl()->clearOperations();
}

void TestConsole::changedCertificateIsTrustedAfterConfirmation()
{
    QVERIFY(startConsole());
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    const std::string port = m_server->portText();
    // Another server (with another certificate) takes over the same address.
    auto impostor = std::make_unique<DevServerProcess>(std::vector<std::string>{"--port", port});
    QString recorded, presented;
    static QString confirmed;
    confirmed.clear();
    FDlgConnect::confirmNewCertificate = [](QWidget *, const QString &fingerprint) {
        confirmed = fingerprint;
        return true;
    };
    m_modals->expect([&](QWidget *modal) {
        // The loss itself: reconnect to whatever now listens there.
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        QVERIFY(impostor->start());
        dialog->okButton()->click();
    });
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        QVERIFY(dialog->certificateGroup()->isVisible());
        recorded = dialog->findChild<QLabel *>(QStringLiteral("m_lblRecordedFingerprint"))->text();
        presented
                = dialog->findChild<QLabel *>(QStringLiteral("m_lblPresentedFingerprint"))->text();
        dialog->okButton()->click();
    });
    m_server->stop();
    pageArea()->reload();
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    QVERIFY(!recorded.isEmpty());
    QVERIFY(!presented.isEmpty());
    QVERIFY(recorded != presented);
    QCOMPARE(confirmed, presented);
    delete m_console;
    m_console = nullptr;
}

void TestConsole::unknownServerIsAskedAboutBeforeTheFirstLogin()
{
    // A server this console has never seen (nobody recorded it in advance).
    m_server = std::make_unique<DevServerProcess>();
    QVERIFY2(m_server->start(), m_server->errorText().c_str());
    static QString confirmed;
    static int questions = 0;
    confirmed.clear();
    questions = 0;
    FDlgConnect::confirmNewCertificate = [](QWidget *, const QString &fingerprint) {
        confirmed = fingerprint;
        return ++questions > 1; // "No" the first time, then "Yes"
    };
    QString title, presented;
    bool recordedShown = true;
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        QVERIFY(!connection()->isConnected());
        QVERIFY(dialog->certificateGroup()->isVisible());
        title = dialog->certificateGroup()->title();
        recordedShown = dialog->findChild<QLabel *>(QStringLiteral("m_lblRecordedFingerprint"));
        presented
                = dialog->findChild<QLabel *>(QStringLiteral("m_lblPresentedFingerprint"))->text();
        dialog->okButton()->click(); // answered No: the dialog stays
        QVERIFY(dialog->isVisible());
        QVERIFY(!connection()->isConnected());
        dialog->okButton()->click();
    });
    launchConsole(QString::fromStdString(m_server->host()), m_server->port(),
                  QStringLiteral("admin"), QStringLiteral("admin"));
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    QCOMPARE(title, QStringLiteral("Server not known yet"));
    QVERIFY(!recordedShown);
    QCOMPARE(presented, QString::fromStdString(m_server->fingerprint()));
    QCOMPARE(confirmed, presented);
    QCOMPARE(questions, 2);
    // Recorded: the next session goes in without a question.
    char recorded[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    QCOMPARE(lumadb_known_host_fingerprint(knownHostsPath().toUtf8().constData(),
                                           m_server->host().c_str(), m_server->portText().c_str(),
                                           recorded),
             0u);
    QCOMPARE(QString::fromLatin1(recorded), presented);
}

QTEST_MAIN(TestConsole)
#include "test_console.moc"

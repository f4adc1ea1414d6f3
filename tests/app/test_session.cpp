// The console's session as a new administrator meets it, against the
// development server: a refused login asks for a new password (at start and
// from File > Reconnect), the Host field reaches a server on another port,
// the product page refreshes when the session comes back, and a lost session
// is explained in words.
#include "app/fconsole.h"
#include "app/fdlgconnect.h"
#include "app/fmainwindowex.h"
#include "app/fwidgetstatus.h"
#include "app/fwindow.h"
#include "app/mailwindow.h"
#include "app/productinfownd.h"
#include "consoletest.h"
#include "db/dbconn.h"
#include "forms/sectionids.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "support/devserver_process.h"
#include "support/modalwatcher.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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

// What the dialog showed when it came up.
struct DialogView
{
    bool parametersVisible = false;
    bool hostEditable = true;
    QString user;
    QString password;
    QString error;
};

DialogView look(FDlgConnect *dialog)
{
    return {dialog->parametersGroup()->isVisible(), dialog->hostEdit()->isEnabled(),
            dialog->userEdit()->text(), dialog->passwordEdit()->text(),
            dialog->errorLabel()->isVisible() ? dialog->errorLabel()->text() : QString()};
}

} // namespace

class TestSession : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void refusedLoginAsksForANewPassword();
    void reconnectAfterARefusedLoginOpensTheDialog();
    void hostFieldReachesAServerOnAnotherPort();
    void lostSessionIsExplainedInWords();

private:
    ProductInfoWnd *productPage() const
    {
        return qobject_cast<ProductInfoWnd *>(pageArea()->currentPage());
    }

    ModalWatcher *m_modals = nullptr;
};

void TestSession::init()
{
    setUpConsole();
    m_modals = new ModalWatcher;
}

void TestSession::cleanup()
{
    delete m_modals;
    tearDownConsole();
}

void TestSession::refusedLoginAsksForANewPassword()
{
    QVERIFY(startServer());
    DialogView seen;
    QString pageError, pageVersion, pageUser, pageRights;
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        seen = look(dialog);
        // The product page has shown the refusal meanwhile.
        QTRY_VERIFY_WITH_TIMEOUT(productPage()
                                         && productPage()->valueText(QStringLiteral("version"))
                                                 != QStringLiteral("Loading..."),
                                 kTimeout);
        pageError = productPage()->valueText(QStringLiteral("error"));
        pageVersion = productPage()->valueText(QStringLiteral("version"));
        pageUser = productPage()->valueText(QStringLiteral("user"));
        pageRights = productPage()->valueText(QStringLiteral("rights"));
        dialog->passwordEdit()->setText(QStringLiteral("admin"));
        dialog->okButton()->click();
    });
    launchConsole(QString::fromStdString(m_server->host()), m_server->port(),
                  QStringLiteral("admin"), QStringLiteral("wrong"));
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QVERIFY(seen.parametersVisible);
    QVERIFY(!seen.hostEditable);
    QCOMPARE(seen.user, QStringLiteral("admin"));
    QCOMPARE(seen.password, QString()); // the refused password is never shown
    QCOMPARE(seen.error, QStringLiteral("Authentication failed."));
    // The reason once, below the values; nobody is shown as connected.
    QCOMPARE(pageError, QStringLiteral("Authentication failed."));
    QCOMPARE(pageVersion, QStringLiteral("not available"));
    QCOMPARE(pageUser, QStringLiteral("not connected"));
    QCOMPARE(pageRights, QStringLiteral("unknown"));

    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    QCOMPARE(UtKontainer::getText(UtKey::Password), QStringLiteral("admin"));
    // The page refreshes by itself once the session is up; it is not selected again.
    const int pagesBuilt = pageArea()->pagesBuilt();
    QTRY_COMPARE_WITH_TIMEOUT(productPage()->valueText(QStringLiteral("version")),
                              UtKontainer::getText(UtKey::ServerVersion), kTimeout);
    QVERIFY(!UtKontainer::getText(UtKey::ServerVersion).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(productPage()->valueText(QStringLiteral("users")).toInt() > 0,
                             kTimeout);
    QCOMPARE(pageArea()->pagesBuilt(), pagesBuilt);
}

void TestSession::reconnectAfterARefusedLoginOpensTheDialog()
{
    QVERIFY(startServer());
    m_modals->expect([](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        dialog->cancelButton()->click();
    });
    launchConsole(QString::fromStdString(m_server->host()), m_server->port(),
                  QStringLiteral("admin"), QStringLiteral("wrong"));
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QVERIFY(mainWindow()->reconnectAction()->isEnabled());

    // File > Reconnect without edits: the stored password was refused, so the
    // dialog asks for another instead of retrying it.
    DialogView seen;
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        seen = look(dialog);
        dialog->passwordEdit()->setText(QStringLiteral("admin"));
        dialog->okButton()->click();
    });
    mainWindow()->reconnectAction()->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QVERIFY(seen.parametersVisible);
    QCOMPARE(seen.error, QStringLiteral("Authentication failed."));
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    QCOMPARE(connection()->lastFailureCode(), 0u);
}

void TestSession::hostFieldReachesAServerOnAnotherPort()
{
    QVERIFY(startServer());
    QVERIFY(m_server->port() != 44337);
    QString portMessage;
    bool dialogStayedOpen = false;
    FDlgConnect *shown = nullptr;
    m_modals->expect([&](QWidget *modal) {
        // A login launch: nothing is known yet.
        shown = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(shown);
        QVERIFY(shown->parametersGroup()->isVisible());
        QVERIFY(shown->hostEdit()->isEnabled());
        shown->hostEdit()->setText(QStringLiteral("127.0.0.1:0"));
        shown->userEdit()->setText(QStringLiteral("admin"));
        shown->passwordEdit()->setText(QStringLiteral("admin"));
        // The refusal is a modal box of its own: click once this handler has returned.
        QTimer::singleShot(0, shown->okButton(), &QPushButton::click);
    });
    m_modals->expect([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        portMessage = box->text();
        box->accept();
    });
    m_modals->expect([&](QWidget *modal) {
        dialogStayedOpen = modal == shown;
        QVERIFY(shown);
        shown->hostEdit()->setText(QStringLiteral("127.0.0.1:%1").arg(m_server->port()));
        shown->okButton()->click();
    });
    launchConsole(QString(), 44337, QString(), QString());
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    QCOMPARE(portMessage,
             QStringLiteral("The port \"0\" is not valid. Enter a number from 1 to 65535."));
    QVERIFY(dialogStayedOpen);
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected(), kTimeout);
    QCOMPARE(UtKontainer::getText(UtKey::Host), QStringLiteral("127.0.0.1"));
    QCOMPARE(UtKontainer::getInt(UtKey::Port), int(m_server->port()));
    QCOMPARE(connection()->port(), int(m_server->port()));
    QTRY_COMPARE_WITH_TIMEOUT(mainWindow()->statusWidget()->serverText(),
                              QStringLiteral("127.0.0.1:%1").arg(m_server->port()), kTimeout);
}

void TestSession::lostSessionIsExplainedInWords()
{
    QVERIFY(startServer());
    launchConsole(QString::fromStdString(m_server->host()), m_server->port(),
                  QStringLiteral("admin"), QStringLiteral("admin"));
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    QString error;
    QString hostField;
    m_modals->expect([&](QWidget *modal) {
        auto *dialog = qobject_cast<FDlgConnect *>(modal);
        QVERIFY(dialog);
        error = dialog->errorLabel()->text();
        hostField = dialog->hostEdit()->text();
        dialog->cancelButton()->click();
    });
    m_server->stop();
    pageArea()->reload(); // the next request notices the loss
    QTRY_COMPARE_WITH_TIMEOUT(m_modals->pending(), 0, kTimeout);
    // However the loss is noticed, the text says what happened, never a bare number.
    const QStringList worded{QStringLiteral("Connection to the server was lost."),
                             QStringLiteral("Connection to the server has been lost."),
                             QStringLiteral("Connection to the server was lost: the server "
                                            "closed the connection unexpectedly.")};
    QVERIFY2(std::any_of(worded.begin(), worded.end(),
                         [&](const QString &text) { return error.startsWith(text); }),
             qPrintable(error));
    QVERIFY(!error.contains(QStringLiteral("admin")));
    // A known server on another port shows as host:port.
    QCOMPARE(hostField,
             QStringLiteral("%1:%2")
                     .arg(QString::fromStdString(m_server->host()))
                     .arg(m_server->port()));
}

QTEST_MAIN(TestSession)
#include "test_session.moc"

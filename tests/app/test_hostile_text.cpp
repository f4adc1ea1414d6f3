// Text from a hostile server inside the real console: markup in the server's
// version, in error texts and in the names on the status bar is shown as the
// literal characters, never rendered (no links, no pictures read from disk).
#include "app/fmainwindowex.h"
#include "app/fmessagebox.h"
#include "app/fwidgetstatus.h"
#include "app/fwindow.h"
#include "app/mailwindow.h"
#include "app/productinfownd.h"
#include "consoletest.h"
#include "db/dbconn.h"
#include "support/modalwatcher.h"

#include <QLabel>
#include <QMessageBox>
#include <QTest>

#include <sqlite3.h>

namespace {

const QString kMarkup = QStringLiteral(
        "<img src=\"/dev/zero\"><a href=\"https://evil.example/\">click to re-enter your "
        "password</a>");

// Writes straight into the running development server's database, the way a
// compromised server would answer.
bool setServerVersion(const std::string &dataDir, const QString &version)
{
    sqlite3 *db = nullptr;
    const std::string path = dataDir + "/postvane.db";
    bool ok = sqlite3_open(path.c_str(), &db) == SQLITE_OK;
    sqlite3_stmt *statement = nullptr;
    if (ok) {
        sqlite3_busy_timeout(db, 10000);
        ok = sqlite3_prepare_v2(db, "UPDATE Info SET Version = ?", -1, &statement, nullptr)
                == SQLITE_OK;
    }
    const QByteArray text = version.toUtf8();
    ok = ok
            && sqlite3_bind_text(statement, 1, text.constData(), int(text.size()), SQLITE_TRANSIENT)
                    == SQLITE_OK;
    ok = ok && sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return ok;
}

} // namespace

class TestHostileText : public ConsoleTest
{
    Q_OBJECT

private slots:
    void init() { setUpConsole(); }
    void cleanup() { tearDownConsole(); }
    void serverVersionIsShownAsLiteralText();
    void errorBoxesShowTheirTextLiterally();
};

void TestHostileText::serverVersionIsShownAsLiteralText()
{
    QVERIFY(startServer());
    QVERIFY(setServerVersion(m_server->dataDir(), kMarkup));
    QVERIFY(launchConsole(QStringLiteral("admin"), QStringLiteral("admin")));
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    ProductInfoWnd *page = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT((page = qobject_cast<ProductInfoWnd *>(pageArea()->currentPage()))
                                     && page->valueText(QStringLiteral("version")) == kMarkup,
                             kTimeout);
    for (QLabel *label : page->findChildren<QLabel *>()) {
        if (label->objectName().startsWith(QLatin1String("m_lbl_")))
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }
    // The status bar shows names the administrator or the server chose.
    FWidgetStatus *status = mainWindow()->statusWidget();
    status->setUser(kMarkup, false);
    QCOMPARE(status->userText(), kMarkup);
    for (QLabel *label : mainWindow()->findChildren<QLabel *>()) {
        if (label->text() == kMarkup)
            QCOMPARE(label->textFormat(), Qt::PlainText);
    }
}

void TestHostileText::errorBoxesShowTheirTextLiterally()
{
    QVERIFY(launchConsole(QStringLiteral("admin"), QStringLiteral("admin")));
    QTRY_VERIFY_WITH_TIMEOUT(connection()->isConnected() && pageArea()->isInfoLoaded(), kTimeout);
    postdesk::test::ModalWatcher modals;
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    modals.expect([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        QVERIFY(box);
        format = box->textFormat();
        shown = box->text();
        box->accept();
    });
    // An error text of a failed server request, as the page area reports it.
    QMetaObject::invokeMethod(pageArea(), "slotDataError", Qt::QueuedConnection,
                              Q_ARG(QString, kMarkup));
    QTRY_COMPARE_WITH_TIMEOUT(modals.pending(), 0, kTimeout);
    QCOMPARE(shown, kMarkup);
    QCOMPARE(format, Qt::PlainText);
}

QTEST_MAIN(TestHostileText)
#include "test_hostile_text.moc"

// The administrator's wording of network and TLS failures that have no fixed
// text: what happened, what to check, and the number for support at the end.
// Also a real handshake against a listener that does not speak TLS.
#include "db/dbconn.h"
#include "lumadb/lumadb.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <openssl/err.h>
#include <openssl/ssl.h>

namespace {

constexpr int Timeout = 30000;

uint tlsCode(int reason)
{
    return uint(ERR_PACK(ERR_LIB_SSL, 0, reason));
}

} // namespace

class TestErrorTexts : public QObject
{
    Q_OBJECT

private slots:
    void fallbackTexts_data();
    void fallbackTexts();
    void systemWordingIsUsed();
    void handshakeWithAPlainListenerIsExplained();
};

void TestErrorTexts::fallbackTexts_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<uint>("detail");
    QTest::addColumn<bool>("login");
    QTest::addColumn<QString>("text");

    const uint eof = tlsCode(SSL_R_UNEXPECTED_EOF_WHILE_READING);
    QCOMPARE(eof, 167772454u); // the number administrators used to see
    QTest::newRow("server closed the session")
            << 101u << eof << false
            << "Connection to the server was lost: the server closed the connection "
               "unexpectedly. Check that the server is still running, then reconnect. "
               "(error 167772454)";
    QTest::newRow("server closed during login")
            << 101u << eof << true
            << "The server closed the connection before the login was complete. Check that the "
               "server is running and that host and port name its administration service. "
               "(error 167772454)";
    QTest::newRow("other TLS reason")
            << 101u << tlsCode(SSL_R_WRONG_VERSION_NUMBER) << false
            << QStringLiteral("The secure connection to the server failed (wrong version "
                              "number). Check that host and port name the server's "
                              "administration service and that the server's certificate is "
                              "valid. (error %1)")
                       .arg(tlsCode(SSL_R_WRONG_VERSION_NUMBER));
    QTest::newRow("no route to host")
            << 101u << 10065u << true
            << "The server's computer cannot be reached. Check the host name and the network "
               "connection. (error 10065)";
    QTest::newRow("resolver busy")
            << 101u << 11002u << true
            << "The host name could not be resolved at the moment. Check the name server "
               "settings or try again later. (error 11002)";
    QTest::newRow("resolver failed")
            << 101u << 11003u << true
            << "The host name could not be resolved. Check the host name and the name server "
               "settings. (error 11003)";
    QTest::newRow("unknown number")
            << 101u << 4242u << false
            << "Connection has failed. Check host and port, and that the server is running. "
               "(error 4242)";
    QTest::newRow("unknown large number")
            << 101u << 12345u << false
            << "Connection has failed. Check host and port, and that the server is running. "
               "(error 12345)";
    QTest::newRow("handshake wrong protocol")
            << 103u << tlsCode(SSL_R_WRONG_VERSION_NUMBER) << true
            << QStringLiteral("The secure connection to the server could not be established "
                              "(wrong version number). Check that the port is the server's "
                              "administration port and that the server's certificate is valid. "
                              "(error %1)")
                       .arg(tlsCode(SSL_R_WRONG_VERSION_NUMBER));
    QTest::newRow("handshake closed by peer")
            << 103u << 10054u << true
            << "The server closed the connection during the secure handshake. Check that the "
               "port is the server's administration port. (error 10054)";
    QTest::newRow("handshake eof")
            << 103u << eof << true
            << "The server closed the connection during the secure handshake. Check that the "
               "port is the server's administration port. (error 167772454)";
    QTest::newRow("handshake unknown number")
            << 103u << 4242u << true
            << "The secure connection to the server could not be established. Check that the "
               "port is the server's administration port and that the server's certificate is "
               "valid. (error 4242)";
    QTest::newRow("tls without detail") << 103u << 0u << false << "Error: OpenSSL error";
    // Fixed texts keep their wording.
    QTest::newRow("reset") << 101u << 10054u << false << "Connection to the server was lost.";
    QTest::newRow("refused") << 101u << 10061u << true << "Server application is not running.";
}

void TestErrorTexts::fallbackTexts()
{
    QFETCH(uint, code);
    QFETCH(uint, detail);
    QFETCH(bool, login);
    QFETCH(QString, text);
    QCOMPARE(DBConn::errorTextFor(code, detail, login, QString()), text);
}

void TestErrorTexts::systemWordingIsUsed()
{
    // The operating system's words for its own numbers (in the user's language).
    const QString text = DBConn::errorTextFor(101, 32, false, QString());
    QVERIFY2(text.startsWith(QStringLiteral("Connection has failed: ") + qt_error_string(32)),
             qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("(error 32)")), qPrintable(text));
}

void TestErrorTexts::handshakeWithAPlainListenerIsExplained()
{
    // A service that answers in plain text, as a web server on the wrong port would.
    QTcpServer listener;
    QVERIFY(listener.listen(QHostAddress::LocalHost));
    connect(&listener, &QTcpServer::newConnection, &listener, [&listener] {
        while (QTcpSocket *socket = listener.nextPendingConnection()) {
            socket->write("HTTP/1.0 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
            socket->flush();
            socket->disconnectFromHost();
        }
    });
    DBConn conn(QStringLiteral("127.0.0.1"), listener.serverPort(), QStringLiteral("admin"),
                QStringLiteral("s3cret-password"));
    QSignalSpy states(&conn, &DBConn::signalStateChanged);
    QVERIFY(conn.start());
    QTRY_VERIFY_WITH_TIMEOUT(!states.isEmpty()
                                     && states.last().first().value<DBConn::StateEnum>()
                                             == DBConn::Disconnected,
                             Timeout);
    const QString text = conn.lastErrorText();
    QVERIFY2(text.startsWith(QStringLiteral("The secure connection to the server could not be "
                                            "established")),
             qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("administration port")), qPrintable(text));
    QVERIFY2(text.endsWith(QStringLiteral("(error %1)").arg(conn.errorDetail())), qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("s3cret-password")));
    QCOMPARE(conn.lastFailureCode(), uint(LUMADB_ERR_TLS));
    conn.stop();
}

QTEST_GUILESS_MAIN(TestErrorTexts)
#include "test_errortexts.moc"

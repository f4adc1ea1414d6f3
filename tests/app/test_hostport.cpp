// The Host field of the connection dialog: "host", "host:port", IPv6 in
// brackets and bare, and the refusals that keep the dialog open.
#include "app/fhostport.h"

#include <QTest>

namespace {
constexpr int kDefaultPort = 44337;
}

class TestHostPort : public QObject
{
    Q_OBJECT

private slots:
    void accepted_data();
    void accepted();
    void refused_data();
    void refused();
    void formatReadsBack_data();
    void formatReadsBack();
};

void TestHostPort::accepted_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("name") << "mail.example.com"
                          << "mail.example.com" << kDefaultPort;
    QTest::newRow("name and port") << "mail.example.com:4433"
                                   << "mail.example.com" << 4433;
    QTest::newRow("spaces around") << "  10.0.0.1:1  "
                                   << "10.0.0.1" << 1;
    QTest::newRow("highest port") << "10.0.0.1:65535"
                                  << "10.0.0.1" << 65535;
    QTest::newRow("leading zeros") << "host:00080"
                                   << "host" << 80;
    QTest::newRow("ipv6 with port") << "[::1]:4433"
                                    << "::1" << 4433;
    QTest::newRow("ipv6 in brackets") << "[fe80::1]"
                                      << "fe80::1" << kDefaultPort;
    QTest::newRow("bare ipv6") << "::1"
                               << "::1" << kDefaultPort;
    QTest::newRow("bare full ipv6") << "2001:db8:0:0:0:0:0:1"
                                    << "2001:db8:0:0:0:0:0:1" << kDefaultPort;
}

void TestHostPort::accepted()
{
    QFETCH(QString, text);
    const FHostPort parsed = FHostPort::parse(text, kDefaultPort);
    QVERIFY2(parsed.ok(), qPrintable(parsed.error));
    QTEST(parsed.host, "host");
    QTEST(parsed.port, "port");
}

void TestHostPort::refused_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    const QString badPort
            = QStringLiteral("The port \"%1\" is not valid. Enter a number from 1 to 65535.");
    QTest::newRow("empty") << ""
                           << "Please enter the host name of the server.";
    QTest::newRow("blank") << "   "
                           << "Please enter the host name of the server.";
    QTest::newRow("port only") << ":4433"
                               << "Please enter the host name of the server.";
    QTest::newRow("port zero") << "host:0" << badPort.arg("0");
    QTest::newRow("port too high") << "host:65536" << badPort.arg("65536");
    QTest::newRow("port far too high") << "host:99999999999" << badPort.arg("99999999999");
    QTest::newRow("port not a number") << "host:imap" << badPort.arg("imap");
    QTest::newRow("port with sign") << "host:+80" << badPort.arg("+80");
    QTest::newRow("port negative") << "host:-1" << badPort.arg("-1");
    QTest::newRow("port missing")
            << "host:"
            << "The port after the colon is missing. Enter a number from 1 to 65535, or leave "
               "out the colon.";
    QTest::newRow("ipv6 port zero") << "[::1]:0" << badPort.arg("0");
    QTest::newRow("ipv6 unclosed")
            << "[::1:4433"
            << "\"[::1:4433\" is not an IPv6 address in brackets. Write it as [address] or "
               "[address]:port.";
    QTest::newRow("name in brackets")
            << "[mail.example.com]:4433"
            << "\"[mail.example.com]:4433\" is not an IPv6 address in brackets. Write it as "
               "[address] or [address]:port.";
    QTest::newRow("text after brackets")
            << "[::1]4433"
            << "Only a port may follow the IPv6 address, as in [address]:port.";
    QTest::newRow("two colons, no address")
            << "host:44:33"
            << "\"host:44:33\" is neither a host name nor an IPv6 address. Write an IPv6 "
               "address with a port as [address]:port.";
    QTest::newRow("space inside") << "mail example.com"
                                  << "The host \"mail example.com\" "
                                     "contains a space.";
}

void TestHostPort::refused()
{
    QFETCH(QString, text);
    const FHostPort parsed = FHostPort::parse(text, kDefaultPort);
    QVERIFY(!parsed.ok());
    QTEST(parsed.error, "error");
    QVERIFY(parsed.host.isEmpty());
}

void TestHostPort::formatReadsBack_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("text");
    QTest::newRow("default port") << "mail.example.com" << kDefaultPort << "mail.example.com";
    QTest::newRow("other port") << "mail.example.com" << 4433 << "mail.example.com:4433";
    QTest::newRow("ipv6 default") << "::1" << kDefaultPort << "::1";
    QTest::newRow("ipv6 other port") << "::1" << 4433 << "[::1]:4433";
}

void TestHostPort::formatReadsBack()
{
    QFETCH(QString, host);
    QFETCH(int, port);
    const QString text = FHostPort::format(host, port, kDefaultPort);
    QTEST(text, "text");
    const FHostPort parsed = FHostPort::parse(text, kDefaultPort);
    QCOMPARE(parsed.host, host);
    QCOMPARE(parsed.port, port);
}

QTEST_GUILESS_MAIN(TestHostPort)
#include "test_hostport.moc"

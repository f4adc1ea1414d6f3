// The development server fixture of the Qt integration tests: a real
// postvane-devserver on loopback, connections to it that trust its certificate
// on first use through a private known-hosts file, faults switched through a
// separate session, and optionally one connection registered as "utKontDBConn"
// the way the console registers its own.
#pragma once

#include "db/dbconn.h"
#include "support/devserver_process.h"

#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace postdesk::test {

class TestServer
{
public:
    explicit TestServer(std::vector<std::string> extraArgs = {});
    ~TestServer();
    TestServer(const TestServer &) = delete;
    TestServer &operator=(const TestServer &) = delete;

    // Starts the server (once); false with errorText() on failure.
    bool start();
    // A new server process on the same data (the port may change); non-empty
    // extraArgs replace the earlier ones.
    bool restart(std::vector<std::string> extraArgs = {});

    DevServerProcess &process() { return m_server; }
    std::string host() const { return m_server.host(); }
    QString hostName() const { return QString::fromStdString(m_server.host()); }
    uint16_t port() const { return m_server.port(); }
    std::string portText() const { return m_server.portText(); }
    std::string errorText() const { return m_server.errorText(); }

    // A connection as user (password defaults to the user name), not started.
    // knownHostsPath defaults to the fixture's private known-hosts file.
    std::unique_ptr<DBConn> makeConnection(const QString &user = QStringLiteral("admin"),
                                           const QString &password = QString(),
                                           const QString &knownHostsPath = QString()) const;
    QString knownHostsPath() const;

    // Runs one query as admin in a session of its own; 0 or the status code.
    uint32_t control(const QString &query) const;
    // Switches a server-wide fault ("delay", "status", "close_after"... with
    // its value and, for some, a statement pattern); "clear" ends every fault.
    bool fault(const QString &name, const QString &value, const QString &extra = QString()) const;
    bool clearFaults() const;
    // The server sends these exact bytes (notification tag included) to every
    // registered notification endpoint, from its own port.
    bool sendNotification(const QByteArray &datagram) const;

    // Starts the server if needed and connects as user (password = user name),
    // the connection registered under "utKontDBConn"; true once connected.
    bool connectAs(const QString &user = QStringLiteral("admin"));
    // Ends the registered connection's session (the object stays registered).
    void disconnect();
    DBConn *conn() const { return m_conn.get(); }

    // Runs the event loop until condition holds; false after timeoutMs.
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs = 30000);

private:
    DevServerProcess m_server;
    QTemporaryDir m_folder;
    std::unique_ptr<DBConn> m_conn;
};

} // namespace postdesk::test

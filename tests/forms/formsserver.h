#pragma once

#include "registry/utkeys.h"
#include "registry/utkontainer.h"
#include "db/dbconn.h"
#include "db/dbquote.h"
#include "lumadb/lumadb.h"
#include "support/devserver_process.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

// A development server and a connection to it, registered as "utKontDBConn"
// the way the application registers its own.
class FormsServer
{
public:
    bool start(const QString &user = QStringLiteral("admin"))
    {
        if (!m_server.running() && !m_server.start()) {
            qWarning("development server: %s", m_server.errorText().c_str());
            return false;
        }
        return connectAs(user);
    }

    bool connectAs(const QString &user)
    {
        UtKontainer::remove(UtKey::DBConn);
        m_conn.reset();
        m_conn = std::make_unique<DBConn>(QString::fromStdString(m_server.host()),
                                          int(m_server.port()), user, user);
        m_conn->setKnownHostsPath(m_dir.filePath(QStringLiteral("known_hosts.cfg")));
        m_conn->start();
        UtKontainer::setObject(UtKey::DBConn, m_conn.get());
        return waitFor([this] { return m_conn->state() == DBConn::Connected; });
    }

    // Closes the session (the connection object stays registered).
    void disconnect() { m_conn->stop(); }

    DBConn *conn() const { return m_conn.get(); }
    postdesk::test::DevServerProcess &process() { return m_server; }

    // Switches a fault of the server ("status", code, statement pattern) in a
    // separate session; "clear" switches every fault off.
    bool fault(const QString &name, const QString &value, const QString &extra = QString())
    {
        QStringList arguments{name, value};
        if (!extra.isEmpty())
            arguments << extra;
        return control(dbFunctionCall(QStringLiteral("DevServerFault"), arguments)) == 0;
    }

    uint32_t control(const QString &query)
    {
        lumadb_open_options options{};
        options.trust = LUMADB_TRUST_INSECURE;
        lumadb_handle *handle = nullptr;
        uint32_t code = lumadb_open_ex(m_server.host().c_str(), m_server.portText().c_str(),
                                       &options, &handle);
        if (code != 0)
            return code;
        code = lumadb_login(handle, "admin", "admin", nullptr, nullptr, nullptr, nullptr, nullptr,
                            "postdesk form tests", 0);
        if (code == 0) {
            lumadb_result result{};
            code = lumadb_query(handle, query.toUtf8().constData(), &result);
            lumadb_free_result(&result);
        }
        lumadb_close(handle);
        return code;
    }

    // Polls the event loop until the condition holds (generous timeout).
    static bool waitFor(const std::function<bool()> &condition, int timeoutMs = 30000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QTest::qWait(10);
        }
        return true;
    }

    ~FormsServer()
    {
        UtKontainer::remove(UtKey::DBConn);
        m_conn.reset();
    }

private:
    postdesk::test::DevServerProcess m_server;
    QTemporaryDir m_dir;
    std::unique_ptr<DBConn> m_conn;
};

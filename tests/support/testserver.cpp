#include "support/testserver.h"

#include "db/dbquote.h"
#include "lumadb/lumadb.h"
#include "registry/utkeys.h"
#include "registry/utkontainer.h"

#include <QStringList>
#include <QTest>

namespace postdesk::test {

TestServer::TestServer(std::vector<std::string> extraArgs)
    : m_server(std::move(extraArgs))
{ }

TestServer::~TestServer()
{
    if (m_conn)
        UtKontainer::remove(UtKey::DBConn);
    m_conn.reset();
}

bool TestServer::start()
{
    if (m_server.running())
        return true;
    // Started by the tests themselves: trusted without the first-use question.
    if (!m_server.trustIn(knownHostsPath().toStdString()) || !m_server.start()) {
        qWarning("development server: %s", m_server.errorText().c_str());
        return false;
    }
    return true;
}

bool TestServer::restart(std::vector<std::string> extraArgs)
{
    return m_server.restart(std::move(extraArgs));
}

QString TestServer::knownHostsPath() const
{
    return m_folder.filePath(QStringLiteral("known_hosts.cfg"));
}

std::unique_ptr<DBConn> TestServer::makeConnection(const QString &user, const QString &password,
                                                   const QString &knownHostsPath) const
{
    auto conn = std::make_unique<DBConn>(hostName(), int(port()), user,
                                         password.isEmpty() ? user : password);
    conn->setKnownHostsPath(knownHostsPath.isEmpty() ? this->knownHostsPath() : knownHostsPath);
    return conn;
}

uint32_t TestServer::control(const QString &query) const
{
    lumadb_open_options options{};
    options.trust = LUMADB_TRUST_INSECURE;
    lumadb_handle *handle = nullptr;
    uint32_t code = lumadb_open_ex(m_server.host().c_str(), m_server.portText().c_str(), &options,
                                   &handle);
    if (code != 0)
        return code;
    code = lumadb_login(handle, "admin", "admin", nullptr, nullptr, nullptr, nullptr, nullptr,
                        "postdesk tests", 0);
    if (code == 0) {
        lumadb_result result{};
        code = lumadb_query(handle, query.toUtf8().constData(), &result);
        lumadb_free_result(&result);
    }
    lumadb_close(handle);
    return code;
}

bool TestServer::fault(const QString &name, const QString &value, const QString &extra) const
{
    QStringList arguments{name, value};
    if (!extra.isEmpty())
        arguments.append(extra);
    return control(dbFunctionCall(QStringLiteral("DevServerFault"), arguments)) == 0;
}

bool TestServer::sendNotification(const QByteArray &datagram) const
{
    return fault(QStringLiteral("datagram"), QString::fromLatin1(datagram.toHex()));
}

bool TestServer::clearFaults() const
{
    return fault(QStringLiteral("clear"), QStringLiteral("0"));
}

bool TestServer::connectAs(const QString &user)
{
    if (!start())
        return false;
    UtKontainer::remove(UtKey::DBConn);
    m_conn = makeConnection(user);
    m_conn->start();
    UtKontainer::setObject(UtKey::DBConn, m_conn.get());
    return waitFor([this] { return m_conn->state() == DBConn::Connected; });
}

void TestServer::disconnect()
{
    if (m_conn)
        m_conn->stop();
}

bool TestServer::waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

} // namespace postdesk::test

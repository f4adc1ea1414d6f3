#include "session.h"

#include "big_endian.h"
#include "cell.h"
#include "password.h"
#include "reply.h"
#include "result_block.h"
#include "schema.h"
#include "server_context.h"
#include "statement_executor.h"

#include <chrono>
#include <cstring>
#include <openssl/ssl.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace postvane::devserver {

namespace {

constexpr uint8_t kGreeting = 0x01;
constexpr uint8_t kMethodPassword = 0x01;
constexpr uint8_t kMethodChoice = 0x02;
constexpr uint8_t kSessionMode = 0x81;
constexpr uint8_t kPlainMode = 0x01;
constexpr uint8_t kApplicationTag = 0x05;
constexpr uint8_t kProtocolVersion = 22;
constexpr uint8_t kRequestQuery = 0x01;
constexpr size_t kApplicationIdBytes = 32;
constexpr uint32_t kWriteRight = 2;
constexpr int kSendTimeoutSeconds = 30;

struct Account
{
    std::string name;
    std::string domain;
    std::string password;
    int64_t rights = 0;
    int64_t enabled = 0;
};

// Finds the account for a login: "name" means the primary domain.
bool findAccount(ServerContext &server, const std::string &login, Account &account)
{
    std::string name = login;
    std::string domain;
    if (const size_t at = login.find('@'); at != std::string::npos) {
        name = login.substr(0, at);
        domain = login.substr(at + 1);
    } else {
        server.db.query("SELECT Domain FROM Domain WHERE Type = 0 ORDER BY rowid LIMIT 1", {},
                        [&](const std::vector<Cell> &row) {
                            domain = cellText(row[0]);
                            return false;
                        });
    }
    bool found = false;
    server.db.query("SELECT Name, Domain, Password, Rights, Account_enabled FROM \"User\" "
                    "WHERE Name = ? AND Domain = ? AND \"_active\" <> 0",
                    {Cell{name}, Cell{domain}}, [&](const std::vector<Cell> &row) {
                        account = {cellText(row[0]), cellText(row[1]), cellText(row[2]),
                                   cellInteger(row[3]), cellInteger(row[4])};
                        found = true;
                        return false;
                    });
    return found;
}

} // namespace

Session::Session(ServerContext &server, SSL_CTX *tls, int fd, std::string peer)
    : m_server(server)
    , m_tlsContext(tls)
    , m_fd(fd)
    , m_peer(std::move(peer))
{ }

Session::~Session()
{
    if (m_ssl)
        SSL_free(m_ssl);
    ::close(m_fd);
}

void Session::interrupt()
{
    ::shutdown(m_fd, SHUT_RDWR);
}

bool Session::loginOverdue(std::chrono::steady_clock::time_point now, int timeoutMs) const
{
    return !m_loggedIn.load() && now - m_accepted > std::chrono::milliseconds(timeoutMs);
}

void Session::setReceiveTimeout(int milliseconds)
{
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
}

bool Session::readExact(void *buffer, size_t length)
{
    auto *out = static_cast<char *>(buffer);
    while (length > 0) {
        const int chunk = static_cast<int>(std::min<size_t>(length, 1 << 20));
        const int got = SSL_read(m_ssl, out, chunk);
        if (got <= 0)
            return false;
        out += got;
        length -= static_cast<size_t>(got);
    }
    return true;
}

bool Session::writeAll(const void *buffer, size_t length)
{
    const auto *in = static_cast<const char *>(buffer);
    while (length > 0) {
        const int chunk = static_cast<int>(std::min<size_t>(length, 1 << 20));
        const int written = SSL_write(m_ssl, in, chunk);
        if (written <= 0)
            return false;
        in += written;
        length -= static_cast<size_t>(written);
    }
    return true;
}

void Session::run()
{
    // A peer that stalls in the handshake or the login loses its session.
    setReceiveTimeout(m_server.options.handshakeTimeoutMs);
    timeval sendTimeout{kSendTimeoutSeconds, 0};
    ::setsockopt(m_fd, SOL_SOCKET, SO_SNDTIMEO, &sendTimeout, sizeof sendTimeout);
    m_ssl = SSL_new(m_tlsContext);
    if (m_ssl && SSL_set_fd(m_ssl, m_fd) == 1 && SSL_accept(m_ssl) == 1) {
        uint32_t key = 0;
        std::string user;
        std::string domain;
        bool canWrite = false;
        bool sessionMode = false;
        if (login(key, user, domain, canWrite, sessionMode)) {
            m_loggedIn = true;
            setReceiveTimeout(0);
            const uint64_t id
                    = m_server.addSession({user + "@" + domain, m_peer, ServerContext::now()});
            serveQueries(user, domain, canWrite, key);
            m_server.removeSession(id);
        }
        if (key)
            m_server.notifier.unregisterSession(key);
        SSL_shutdown(m_ssl);
    }
    m_finished = true;
}

bool Session::login(uint32_t &key, std::string &user, std::string &domain, bool &canWrite,
                    bool &sessionMode)
{
    uint8_t byte = 0;
    if (!readExact(&byte, 1) || byte != kGreeting)
        return false;
    const uint8_t methods[] = {kMethodPassword, 0x00};
    if (!writeAll(methods, sizeof methods))
        return false;
    if (!readExact(&byte, 1) || byte != kMethodChoice)
        return false;
    uint8_t mode = 0;
    if (!readExact(&mode, 1) || (mode != kSessionMode && mode != kPlainMode))
        return false;
    sessionMode = mode == kSessionMode;
    const uint8_t goOn = 0x01;
    if (!writeAll(&goOn, 1))
        return false;

    auto readField = [&](std::string &field) {
        unsigned char length[4];
        if (!readExact(length, 4))
            return false;
        const uint32_t size = loadU32(length);
        if (size == 0 || size > m_server.options.maxLoginFieldBytes)
            return false;
        field.resize(size);
        if (!readExact(field.data(), size) || field.back() != '\0')
            return false;
        field.pop_back();
        return field.find('\0') == std::string::npos;
    };
    std::string login;
    std::string password;
    if (!readField(login) || !readField(password))
        return false;

    // Guessing is slowed down per client address and per account.
    const std::string address = m_peer.substr(0, m_peer.rfind(':'));
    const std::chrono::milliseconds delay = m_server.loginThrottle.delayFor(address, login);
    if (delay.count() > 0)
        std::this_thread::sleep_for(delay);
    Account account;
    const bool found = findAccount(m_server, login, account);
    bool accepted = false;
    if (found) {
        accepted = verifyPassword(account.password, password);
        // Stored plain text would answer faster than a hash: derive a key anyway.
        if (!isPasswordHash(account.password))
            spendVerificationWork(password);
    } else {
        spendVerificationWork(password); // an unknown user costs what a known one costs
    }
    const bool refusedByFault = m_server.faults.settings().refuseLogins;
    if (!refusedByFault) {
        if (accepted)
            m_server.loginThrottle.succeeded(address, login);
        else
            m_server.loginThrottle.failed(address, login);
    }
    accepted = accepted && !refusedByFault && account.enabled != 0 && (account.rights & 3) != 0;
    password.assign(password.size(), '\0');
    const uint8_t verdict = accepted ? 1 : 0;
    if (!writeAll(&verdict, 1) || !accepted)
        return false;

    user = account.name;
    domain = account.domain;
    canWrite = (account.rights & kWriteRight) != 0;
    std::string answer;
    appendU32(answer, static_cast<uint32_t>(account.rights & 3));
    appendU8(answer, kProtocolVersion);
    appendU16(answer, 0);
    for (uint16_t component : m_server.options.version)
        appendU16(answer, component);
    if (!writeAll(answer.data(), answer.size()))
        return false;

    unsigned char application[1 + kApplicationIdBytes];
    if (!readExact(application, sizeof application) || application[0] != kApplicationTag)
        return false;
    std::string reply(1, '\x01');
    if (sessionMode) {
        key = m_server.notifier.registerSession();
        appendU32(reply, key);
    }
    return writeAll(reply.data(), reply.size());
}

void Session::serveQueries(const std::string &user, const std::string &domain, bool canWrite,
                           uint32_t key)
{
    StatementExecutor executor(m_server);
    SessionInfo info;
    info.user = user;
    info.domain = domain;
    info.canWrite = canWrite;
    info.notificationKey = key;
    info.maxResultBytes = m_server.options.maxResultBytes;
    std::vector<char> query;
    uint32_t statements = 0;
    while (true) {
        unsigned char header[12];
        if (!readExact(header, sizeof header))
            return;
        const uint32_t length = loadU32(header + 4);
        // Anything but a query request of sane length ends the session: the
        // stream position can no longer be trusted.
        if (header[0] != kRequestQuery || length == 0 || length > m_server.options.maxQueryBytes)
            return;
        // A request that was started must be finished in time; between
        // requests the session may stay idle as long as it likes.
        query.resize(length);
        setReceiveTimeout(m_server.options.handshakeTimeoutMs);
        if (!readExact(query.data(), length))
            return;
        setReceiveTimeout(0);
        const FaultSettings faults = m_server.faults.settings();
        if (faults.delayMs)
            std::this_thread::sleep_for(std::chrono::milliseconds(faults.delayMs));

        Reply reply;
        const std::string_view text(query.data(), length - 1);
        if (query.back() != '\0' || text.find('\0') != std::string_view::npos) {
            reply = Reply::failure(status::ParseError);
        } else if (uint32_t forced = m_server.faults.forcedStatusFor(text);
                   forced && toLower(text).find("devserverfault") == std::string::npos) {
            reply = Reply::failure(forced);
        } else {
            reply = executor.execute(text, info);
        }
        if (reply.status == status::Ok && reply.block.empty())
            reply.block = encodeAcknowledgement();
        std::string out = encodeResponseHeader(
                reply.status == status::Ok ? static_cast<uint32_t>(reply.block.size()) : 0,
                reply.status, reply.detail);
        if (reply.status == status::Ok)
            out += reply.block;
        if (!writeAll(out.data(), out.size()))
            return;
        ++statements;
        if (faults.closeAfterStatements && statements >= faults.closeAfterStatements)
            return;
    }
}

} // namespace postvane::devserver

#include "db/dbconn.h"

#include "db/dbctrl.h"
#include "db/dbquerymask.h"
#include "db/dbreq.h"
#include "db/utdebug.h"
#include "lumadb/lumadb.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <chrono>

#include <openssl/err.h>
#include <openssl/ssl.h>

#include <cstring>

namespace {
std::atomic<DBConn *> currentConnection{nullptr};

constexpr int NotificationInterval = 200;
constexpr int SyncPollInterval = 10;
constexpr int PollsPerWaitingSignal = 15;
constexpr int MaxResponseTimes = 10;
constexpr uint NotificationCapacity = 1500;

} // namespace

DBConn::DBConn(const QString &host, int port, const QString &user, const QString &password,
               const Options &options, QObject *parent)
    : DBSafeSignal(parent)
    , m_connectInCaller(options.connectInCaller)
    , m_clockMs(options.clockMs ? options.clockMs : [] {
        return qint64(std::chrono::duration_cast<std::chrono::milliseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count());
    })
    , m_livenessCheckMs(qMax(50, options.livenessCheckMs))
    , m_host(host)
    , m_port(port)
    , m_user(user)
    , m_password(password)
{
    qRegisterMetaType<DBConn::StateEnum>("DBConn::StateEnum");
    qRegisterMetaType<DBReq *>("DBReq*");
    m_ctrl = new DBCtrl(this);
    m_notificationTimer = new QTimer(this);
    m_notificationTimer->setInterval(NotificationInterval);
    connect(m_notificationTimer, &QTimer::timeout, this, &DBConn::slotUpdateData);
    currentConnection.store(this);
}

DBConn::~DBConn()
{
    stopNotifications();
    stop();
    cancelPending(false);
    delete m_ctrl;
    m_ctrl = nullptr;
    DBConn *self = this;
    currentConnection.compare_exchange_strong(self, nullptr);
}

DBConn *DBConn::current()
{
    return currentConnection.load();
}

// --- life cycle ---

bool DBConn::start()
{
    if (m_worker.joinable())
        stop();
    m_stopRequested.store(false);
    if (m_connectInCaller && !login())
        return false;
    m_workerRunning.store(true);
    m_worker = std::thread([this] {
        workerLoop();
        m_workerRunning.store(false);
    });
    return true;
}

bool DBConn::restart(const QString &host, int port, const QString &user, const QString &password)
{
    {
        std::lock_guard locker(m_dataLock);
        dbAssign(m_host, host);
        m_port = port;
        dbAssign(m_user, user);
        dbAssign(m_password, password);
    }
    stop();
    return start();
}

void DBConn::stop()
{
    m_stopRequested.store(true);
    {
        std::lock_guard locker(m_lock);
        m_wakeSet = true;
        m_wake.notify_all();
    }
    if (m_worker.joinable())
        m_worker.join();
    if (state() != Disconnected)
        setState(Disconnected);
}

void DBConn::workerLoop()
{
    if (!m_connectInCaller)
        login();
    while (!m_stopRequested.load()) {
        DBReq *req = nullptr;
        {
            std::lock_guard locker(m_lock);
            if (!m_queue.isEmpty())
                req = m_queue.takeFirst();
            else
                m_wakeSet = false;
        }
        if (req) {
            if (isConnected() && state() != Working)
                setState(Working);
            execute(req);
            continue;
        }
        if (state() == Working)
            setState(Connected);
        {
            std::lock_guard locker(m_dataLock);
            m_idleSince = QDateTime::currentMSecsSinceEpoch();
        }
        std::unique_lock locker(m_lock);
        const auto woken = [this] { return m_wakeSet || m_stopRequested.load(); };
        while (!m_wake.wait_for(locker, std::chrono::milliseconds(m_livenessCheckMs), woken)) {
            locker.unlock();
            checkServerStillThere();
            locker.lock();
        }
    }
    if (isConnected())
        setState(Disconnected);
}

void DBConn::checkServerStillThere()
{
    lumadb_handle *handle = isConnected() ? m_handle : nullptr;
    if (!handle)
        return;
    const uint detail = lumadb_peer_closed(handle);
    if (detail == 0)
        return;
    setLastFailure(LUMADB_ERR_NETWORK, detail,
                   errorTextFor(LUMADB_ERR_NETWORK, detail, false, QString()));
    setState(Disconnected);
}

bool DBConn::login()
{
    setState(Connecting);
    QByteArray host, port, user, password, knownHosts, trusted;
    QString lastQuery;
    {
        std::lock_guard locker(m_dataLock);
        host = m_host.toUtf8();
        port = QByteArray::number(m_port);
        user = m_user.toUtf8();
        password = m_password.toUtf8();
        knownHosts = m_knownHostsPath.toUtf8();
        trusted = m_trustedFingerprint.toLatin1();
        lastQuery = dbDetached(m_lastQuery);
    }

    lumadb_open_options options{};
    options.known_hosts_path = knownHosts.isEmpty() ? nullptr : knownHosts.constData();
    options.trust = trusted.isEmpty() ? LUMADB_TRUST_CHECK : LUMADB_TRUST_REPLACE;
    options.expected_fingerprint = trusted.isEmpty() ? nullptr : trusted.constData();

    lumadb_handle *handle = nullptr;
    uint detail = 0;
    uint code = lumadb_open_ex(host.constData(), port.constData(), &options, &handle);
    if (code != 0)
        detail = lumadb_last_open_error();
    {
        std::lock_guard locker(m_dataLock);
        dbAssign(m_presentedFingerprint, QString::fromLatin1(options.presented_fingerprint));
        dbAssign(m_recordedFingerprint,
                 code == IdentityChangedCode ? QString::fromLatin1(options.recorded_fingerprint)
                                             : QString());
        m_identityUnknown = code == IdentityUnknownCode;
        if (code == 0)
            dbAssign(m_trustedFingerprint, QString()); // recorded now
    }

    uint32_t rights = 0;
    ServerVersion version;
    if (code == 0) {
        code = lumadb_login(handle, user.constData(), password.constData(), &rights,
                            &version.protocol, &version.major, &version.minor, &version.build,
                            ApplicationId, 1);
        if (code == LUMADB_ERR_NETWORK)
            detail = lumadb_error(handle);
    }
    password.fill('\0');

    if (code == 0) {
        std::lock_guard locker(m_dataLock);
        if (!m_haveVersion) {
            m_version = version;
            m_haveVersion = true;
        } else if (!(m_version == version)) {
            code = VersionChangedCode;
            detail = 1;
        }
    }

    if (code != 0) {
        if (handle)
            lumadb_close(handle);
        setLastFailure(code, detail, errorTextFor(code, detail, true, lastQuery));
        setState(Disconnected);
        return false;
    }
    m_accessRights.store(rights);
    {
        std::lock_guard locker(m_handleLock);
        m_handle = handle;
    }
    {
        std::lock_guard locker(m_dataLock);
        m_errorDetail = 0;
        m_lastFailureCode = 0;
        dbAssign(m_lastError, QString());
    }
    setState(Connected);
    return true;
}

void DBConn::closeHandle()
{
    lumadb_handle *handle;
    {
        std::lock_guard locker(m_handleLock);
        handle = m_handle;
        m_handle = nullptr;
    }
    if (handle)
        lumadb_close(handle);
}

void DBConn::setState(StateEnum state)
{
    if (state == Disconnected)
        closeHandle();
    m_state.store(state);
    postSafeSignal(1001, int(state));
}

void DBConn::safeEmit1001(const QVariant &state)
{
    emit signalStateChanged(StateEnum(state.toInt()));
}

void DBConn::setLastFailure(uint code, uint detail, const QString &text)
{
    std::lock_guard locker(m_dataLock);
    m_errorDetail = detail;
    m_lastFailureCode = code;
    dbAssign(m_lastError, text);
}

// --- requests ---

void DBConn::addRequest(DBReq *req)
{
    // A request queued again starts afresh (its old result is released).
    if (req->isFinished())
        req->reset();
    std::lock_guard locker(m_lock);
    emit signalPreAddRequest(req);
    m_queue.append(req);
    m_wakeSet = true;
    m_wake.notify_all();
}

void DBConn::execute(DBReq *req)
{
    req->m_running.store(true);
    const QString query = req->query();
    {
        std::lock_guard locker(m_dataLock);
        dbAssign(m_lastQuery, query);
    }

    uint code;
    uint detail = 0;
    QString text;
    lumadb_handle *handle = isConnected() ? m_handle : nullptr;
    if (!handle) {
        std::lock_guard locker(m_dataLock);
        code = LUMADB_ERR_NETWORK;
        detail = m_errorDetail;
        text = m_lastError.isEmpty() ? errorTextFor(code, detail, false, query)
                                     : dbDetached(m_lastError);
    } else {
        utDebug(UtDebug::CategoryQuery, 5, query);
        const qint64 started = m_clockMs();
        req->releaseResult();
        code = lumadb_query(handle, query.toUtf8().constData(), &req->m_result);
        const qint64 tookMs = m_clockMs() - started;
        if (code == 0) {
            req->m_hasResult = true;
            std::lock_guard locker(m_lock);
            m_responseTimes.append(int((tookMs + 500) / 1000));
            while (m_responseTimes.size() > MaxResponseTimes)
                m_responseTimes.removeFirst();
        } else if (code == LUMADB_ERR_NETWORK) {
            detail = lumadb_error(handle);
            text = errorTextFor(code, detail, false, query);
            setLastFailure(code, detail, text);
            setState(Disconnected);
        } else {
            text = errorTextFor(code, 0, false, query);
            setState(Connected);
        }
    }
    req->m_errorDetail = detail;
    req->setResult(code, text);

    if (!req->isAsynchronous()) {
        // The waiting caller may destroy the request as soon as it sees the flag.
        std::lock_guard locker(m_lock);
        req->m_running.store(false);
        req->m_finished.store(true, std::memory_order_release);
        m_requestFinished.notify_all();
        return;
    }
    {
        std::lock_guard locker(m_lock);
        req->m_finished.store(true, std::memory_order_release);
    }
    // Emitted outside the lock so that receivers may queue follow-up requests.
    emit req->signalFinished(req);
    req->m_running.store(false);
    delete req;
}

bool DBConn::execSync(DBReq *req)
{
    if (req->isFinished())
        req->reset();
    const bool workerRunning = m_worker.joinable() && m_workerRunning.load();
    if (!workerRunning) {
        // Nobody would serve the queue: fail at once like a lost connection.
        QString text;
        uint detail;
        {
            std::lock_guard locker(m_dataLock);
            text = dbDetached(m_lastError);
            detail = m_errorDetail;
        }
        if (text.isEmpty())
            text = errorTextFor(LUMADB_ERR_NETWORK, detail, false, req->query());
        req->m_errorDetail = detail;
        req->setResult(LUMADB_ERR_NETWORK, text);
        req->m_finished.store(true);
        return false;
    }
    addRequest(req);
    const bool mayProcessEvents
            = QCoreApplication::instance() && QThread::currentThread() == thread();
    int polls = 0;
    while (!req->isFinished()) {
        // Keep painting and timers alive, but take no user input meanwhile.
        if (mayProcessEvents)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        {
            std::unique_lock locker(m_lock);
            m_requestFinished.wait_for(locker, std::chrono::milliseconds(SyncPollInterval),
                                       [req] { return req->isFinished(); });
        }
        if (++polls % PollsPerWaitingSignal == 0 && !req->isFinished()) {
            emit signalSynWaiting(req);
            emit req->signalWaiting();
        }
    }
    return req->resultCode() == 0;
}

DBReq *DBConn::execAsync(const QString &query, QObject *receiver, const char *slot)
{
    auto *req = new DBReq(query, true);
    if (receiver && slot)
        connect(req, SIGNAL(signalFinished(DBReq *)), receiver, slot, Qt::DirectConnection);
    addRequest(req);
    return req;
}

void DBConn::cancelPending(bool cancellableOnly)
{
    QList<DBReq *> dropped;
    {
        std::lock_guard locker(m_lock);
        for (qsizetype i = m_queue.size() - 1; i >= 0; --i) {
            DBReq *req = m_queue.at(i);
            if (req->isRunning() || (cancellableOnly && !req->isCancellable()))
                continue;
            m_queue.removeAt(i);
            if (req->isAsynchronous()) {
                dropped.append(req);
            } else {
                // A caller may be waiting for it in execSync: let it go.
                req->setResult(LUMADB_ERR_SYSTEM,
                               QCoreApplication::translate("DBConn", "The request was cancelled."));
                req->m_finished.store(true, std::memory_order_release);
                m_requestFinished.notify_all();
            }
        }
    }
    qDeleteAll(dropped);
}

int DBConn::cancelQueued(const std::function<bool(const DBReq *)> &match)
{
    QList<DBReq *> dropped;
    int taken = 0;
    {
        std::lock_guard locker(m_lock);
        for (qsizetype i = 0; i < m_queue.size();) {
            DBReq *req = m_queue.at(i);
            if (req->isRunning() || !match(req)) {
                ++i;
                continue;
            }
            m_queue.removeAt(i);
            ++taken;
            req->setResult(LUMADB_ERR_SYSTEM,
                           QCoreApplication::translate("DBConn", "The request was cancelled."));
            req->m_finished.store(true, std::memory_order_release);
            if (req->isAsynchronous())
                dropped.append(req);
            else
                m_requestFinished.notify_all();
        }
    }
    // Outside the lock, like a finished request, so receivers may queue again.
    for (DBReq *req : std::as_const(dropped)) {
        emit req->signalFinished(req);
        delete req;
    }
    return taken;
}

qint64 DBConn::idleSinceMs() const
{
    std::lock_guard locker(m_dataLock);
    return m_idleSince;
}

int DBConn::averageResponseTime() const
{
    std::lock_guard locker(m_lock);
    if (m_responseTimes.isEmpty())
        return 5;
    qint64 sum = 0;
    for (int seconds : m_responseTimes)
        sum += seconds;
    return int(sum / m_responseTimes.size());
}

bool DBConn::isConnected() const
{
    const StateEnum s = state();
    if (s != Connected && s != Working)
        return false;
    std::lock_guard locker(m_handleLock);
    return m_handle != nullptr;
}

// --- notifications ---

void DBConn::startNotifications()
{
    if (!m_notificationTimer->isActive())
        m_notificationTimer->start();
}

void DBConn::stopNotifications()
{
    if (m_notificationTimer->isActive())
        m_notificationTimer->stop();
}

bool DBConn::recvNotification(uchar *buffer, uint *length)
{
    if (!buffer || !length)
        return false;
    const StateEnum s = state();
    if (s != Connected && s != Working) {
        *length = 0;
        return false;
    }
    std::lock_guard locker(m_handleLock);
    if (!m_handle) {
        *length = 0;
        return false;
    }
    uint32_t size = *length;
    const uint32_t code = lumadb_recv_notification(m_handle, buffer, &size);
    *length = code == 0 ? size : 0;
    return code == 0 && size > 0;
}

void DBConn::slotUpdateData()
{
    m_notificationTimer->stop();
    uchar buffer[NotificationCapacity];
    uint length = NotificationCapacity;
    while (recvNotification(buffer, &length)) {
        emit signalUpdateData(buffer, int(length));
        length = NotificationCapacity;
    }
    m_notificationTimer->start();
}

// --- accessors ---

QString DBConn::lastErrorText() const
{
    std::lock_guard locker(m_dataLock);
    return dbDetached(m_lastError);
}

QString DBConn::lastQuery() const
{
    std::lock_guard locker(m_dataLock);
    return dbDetached(m_lastQuery);
}

uint DBConn::errorDetail() const
{
    std::lock_guard locker(m_dataLock);
    return m_errorDetail;
}

uint DBConn::lastFailureCode() const
{
    std::lock_guard locker(m_dataLock);
    return m_lastFailureCode;
}

DBConn::ServerVersion DBConn::serverVersion() const
{
    std::lock_guard locker(m_dataLock);
    return m_version;
}

QString DBConn::host() const
{
    std::lock_guard locker(m_dataLock);
    return dbDetached(m_host);
}

int DBConn::port() const
{
    std::lock_guard locker(m_dataLock);
    return m_port;
}

QString DBConn::user() const
{
    std::lock_guard locker(m_dataLock);
    return dbDetached(m_user);
}

void DBConn::setKnownHostsPath(const QString &path)
{
    std::lock_guard locker(m_dataLock);
    dbAssign(m_knownHostsPath, path);
}

QString DBConn::knownHostsPath() const
{
    std::lock_guard locker(m_dataLock);
    return m_knownHostsPath.isEmpty() ? QString::fromUtf8(lumadb_default_known_hosts_path())
                                      : dbDetached(m_knownHostsPath);
}

QString DBConn::presentedFingerprint() const
{
    std::lock_guard locker(m_dataLock);
    return dbDetached(m_presentedFingerprint);
}

QString DBConn::recordedFingerprint() const
{
    std::lock_guard locker(m_dataLock);
    return dbDetached(m_recordedFingerprint);
}

bool DBConn::identityChanged() const
{
    std::lock_guard locker(m_dataLock);
    return !m_recordedFingerprint.isEmpty();
}

bool DBConn::identityUnknown() const
{
    std::lock_guard locker(m_dataLock);
    return m_identityUnknown;
}

void DBConn::trustPresentedCertificate()
{
    std::lock_guard locker(m_dataLock);
    dbAssign(m_trustedFingerprint, m_presentedFingerprint);
}

// --- error texts ---

namespace {

// Details above this value carry a TLS library number in their upper bits;
// socket, resolver and operating-system codes stay far below it.
constexpr uint TlsLibraryCodes = 1u << 23;

// The TLS library's reason for one of its packed error codes; empty when the
// number is not one of its codes.
QString tlsReason(uint detail)
{
    if (detail < TlsLibraryCodes)
        return {};
    OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
    const char *reason = ERR_reason_error_string(detail);
    return reason ? QString::fromLatin1(reason) : QString();
}

bool isUnexpectedEof(uint detail)
{
    return detail >= TlsLibraryCodes && ERR_GET_LIB(detail) == ERR_LIB_SSL
            && ERR_GET_REASON(detail) == SSL_R_UNEXPECTED_EOF_WHILE_READING;
}

// The operating system's wording of an error number, when it has one.
QString systemReason(uint detail)
{
    if (detail == 0 || detail >= 10000)
        return {};
    const QString text = qt_error_string(int(detail));
    return text.startsWith(QLatin1String("Unknown error")) ? QString() : text;
}

// What the administrator reads when a network failure has no fixed wording:
// what happened, what to check, and the number for support.
QString networkFailureText(uint detail, bool login)
{
    const QString number = QString::number(detail);
    if (isUnexpectedEof(detail)) {
        return login ? QCoreApplication::translate(
                               "DBConn",
                               "The server closed the connection before the login was "
                               "complete. Check that the server is running and that host and "
                               "port name its administration service. (error %1)")
                               .arg(number)
                     : QCoreApplication::translate(
                               "DBConn",
                               "Connection to the server was lost: the server closed the "
                               "connection unexpectedly. Check that the server is still "
                               "running, then reconnect. (error %1)")
                               .arg(number);
    }
    const QString tls = tlsReason(detail);
    if (!tls.isEmpty()) {
        return QCoreApplication::translate(
                       "DBConn",
                       "The secure connection to the server failed (%1). Check that host and "
                       "port name the server's administration service and that the server's "
                       "certificate is valid. (error %2)")
                .arg(tls, number);
    }
    switch (detail) {
    case 10065:
        return QCoreApplication::translate(
                       "DBConn",
                       "The server's computer cannot be reached. Check the host name and the "
                       "network connection. (error %1)")
                .arg(number);
    case 11002:
        return QCoreApplication::translate(
                       "DBConn",
                       "The host name could not be resolved at the moment. Check the name "
                       "server settings or try again later. (error %1)")
                .arg(number);
    case 11003:
        return QCoreApplication::translate(
                       "DBConn",
                       "The host name could not be resolved. Check the host name and the "
                       "name server settings. (error %1)")
                .arg(number);
    default:
        break;
    }
    const QString system = systemReason(detail);
    if (!system.isEmpty()) {
        return QCoreApplication::translate(
                       "DBConn",
                       "Connection has failed: %1. Check host and port, and that the server is "
                       "running. (error %2)")
                .arg(system, number);
    }
    return QCoreApplication::translate(
                   "DBConn",
                   "Connection has failed. Check host and port, and that the server is "
                   "running. (error %1)")
            .arg(number);
}

// The secure handshake failed: the TLS library's reason, or what the socket saw.
QString handshakeFailureText(uint detail)
{
    const QString number = QString::number(detail);
    if (isUnexpectedEof(detail) || detail == 10054) {
        return QCoreApplication::translate(
                       "DBConn",
                       "The server closed the connection during the secure handshake. Check "
                       "that the port is the server's administration port. (error %1)")
                .arg(number);
    }
    QString reason = tlsReason(detail);
    if (reason.isEmpty())
        reason = systemReason(detail);
    if (reason.isEmpty()) {
        return QCoreApplication::translate(
                       "DBConn",
                       "The secure connection to the server could not be established. Check "
                       "that the port is the server's administration port and that the "
                       "server's certificate is valid. (error %1)")
                .arg(number);
    }
    return QCoreApplication::translate(
                   "DBConn",
                   "The secure connection to the server could not be established (%1). Check "
                   "that the port is the server's administration port and that the server's "
                   "certificate is valid. (error %2)")
            .arg(reason, number);
}

} // namespace

QString DBConn::errorTextFor(uint code, uint detail, bool login, const QString &lastQuery)
{
    switch (code) {
    case VersionChangedCode:
        return detail == 1 ? QCoreApplication::translate(
                       "DBConn", "Server version has changed. Reconnection is not possible.")
                           : QString();
    case LUMADB_ERR_NETWORK:
        switch (detail) {
        case 10049:
        case 11001:
            return QCoreApplication::translate("DBConn", "Remote computer not found.");
        case 10051:
            return QCoreApplication::translate("DBConn", "Network is unreachable.");
        case 10054:
            return QCoreApplication::translate("DBConn", "Connection to the server was lost.");
        case 10060:
        case 10061:
            return QCoreApplication::translate("DBConn", "Server application is not running.");
        case 0:
            return login
                    ? QCoreApplication::translate("DBConn", "Server application is not running.")
                    : QCoreApplication::translate("DBConn",
                                                  "Connection to the server has been lost.");
        default:
            return networkFailureText(detail, login);
        }
    case LUMADB_ERR_TLS:
        if (detail != 0)
            return handshakeFailureText(detail);
        break;
    case LUMADB_ERR_FUNCTION_ACCESS_DENIED:
        return QCoreApplication::translate("DBConn", "You have no rights to perform this action.");
    case LUMADB_ERR_FUNCTION_NOT_FOUND:
        // The query may carry a password argument: never show it.
        return QCoreApplication::translate("DBConn", "Query '%1' failed: function not found.")
                .arg(dbMaskSecrets(lastQuery));
    case IdentityChangedCode:
        return QCoreApplication::translate(
                "DBConn",
                "The identity of the server has changed. The certificate it presented "
                "is not the one recorded for it, so someone may be intercepting the "
                "connection. Trust the new certificate only after you have confirmed "
                "its fingerprint with the server's administrator.");
    case IdentityUnknownCode:
        return QCoreApplication::translate(
                "DBConn",
                "The console has not connected to this server before. Compare the "
                "fingerprint of its certificate with the one the server's administrator "
                "gives you, and trust it only when they are the same.");
    case LUMADB_ERR_INCOMPATIBLE:
        return QCoreApplication::translate("DBConn", "Unsupported version of server.");
    case LUMADB_ERR_NO_MORE_CONNECTIONS:
        return QCoreApplication::translate("DBConn", "Too many connections.");
    case LUMADB_ERR_AUTHENTICATION:
        return QCoreApplication::translate("DBConn", "Authentication failed.");
    case 800:
        return QCoreApplication::translate("DBConn", "LDAP server is not available.");
    default:
        break;
    }
    const QString description = QString::fromUtf8(lumadb_status_text(code));
    if (description.isEmpty())
        return QCoreApplication::translate("DBConn", "not specified error %1.").arg(code);
    return QCoreApplication::translate("DBConn", "Error: %1").arg(description);
}

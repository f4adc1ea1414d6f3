// The console's connection to the administered server: a worker thread that
// performs all lumadb input and output, a first-in-first-out request queue,
// the transaction controller and the notification timer.
#ifndef DB_DBCONN_H
#define DB_DBCONN_H

#include "db/dbobject.h"
#include "db/dbsafesignal.h"

#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

class DBCtrl;
class DBReq;
class QTimer;
struct lumadb_handle;

// How a connection starts its session.
struct DBConnOptions
{
    // start() logs in on the calling thread first and reports whether that
    // worked, instead of leaving the login to the worker.
    bool connectInCaller = false;
    // Milliseconds of a monotonic clock, read on the worker around each query
    // for the response times; empty: the system's steady clock. Tests pass a
    // clock of their own instead of waiting for real seconds.
    std::function<qint64()> clockMs = {};
    // How often an idle session checks that the server is still there, so that
    // a stopped server shows within seconds even when nobody sends a request.
    int livenessCheckMs = 2000;
};

class DBConn : public DBSafeSignal, public DBObject
{
    Q_OBJECT

public:
    enum StateEnum { Disconnected = 0, Connecting = 1, Connected = 2, Working = 3 };
    Q_ENUM(StateEnum)

    // Result code of a login against a server whose version changed.
    static constexpr uint VersionChangedCode = 10000;
    // Result code of a login refused because the server certificate changed.
    static constexpr uint IdentityChangedCode = 604;
    // The server is not known yet: its certificate waits for the administrator.
    static constexpr uint IdentityUnknownCode = 704;
    static constexpr const char *ApplicationId = "Brantel Admin (Windows)";

    struct ServerVersion
    {
        uint protocol = 0;
        uint major = 0;
        uint minor = 0;
        uint build = 0;
        bool operator==(const ServerVersion &) const = default;
    };

    using Options = DBConnOptions;

    DBConn(const QString &host, int port, const QString &user, const QString &password,
           const Options &options = Options(), QObject *parent = nullptr);
    ~DBConn() override;

    // The connection registered last (set by the constructor, cleared by the destructor).
    static DBConn *current();

    // Start the worker; with connect-in-caller the login runs here first and
    // false is returned unless it succeeded.
    bool start();
    // New session parameters, then stop and start again.
    bool restart(const QString &host, int port, const QString &user, const QString &password);
    // End the worker (closing the session); waits for it.
    void stop();

    void addRequest(DBReq *req);
    // Queue req and wait for it on this thread while the interface keeps
    // painting; true when it succeeded. The caller keeps ownership.
    bool execSync(DBReq *req);
    // Queue an asynchronous request whose signalFinished(DBReq*) goes to
    // receiver's slot on the worker thread. The connection owns it.
    DBReq *execAsync(const QString &query, QObject *receiver, const char *slot);
    // Drop queued requests that are not running (with the flag: only the
    // cancellable ones). Dropped asynchronous requests are deleted.
    void cancelPending(bool cancellableOnly);
    // Take the queued, not yet running requests that match out of the queue.
    // Each one finishes with "The request was cancelled." so that its owner
    // hears of it (asynchronous ones through signalFinished, then deleted).
    // match runs under the queue lock and must not call back into the
    // connection. Returns how many were taken out.
    int cancelQueued(const std::function<bool(const DBReq *)> &match);

    // Mean of the last ten response times in whole seconds; 5 before any.
    int averageResponseTime() const;
    // Milliseconds since the epoch at which the worker last ran out of requests.
    qint64 idleSinceMs() const;
    bool isConnected() const;

    void startNotifications();
    void stopNotifications();
    // One waiting notification payload, without blocking. Returns false when
    // none is waiting (or while the worker is busy with the session).
    bool recvNotification(uchar *buffer, uint *length);

    StateEnum state() const { return m_state.load(); }
    QString lastErrorText() const;
    QString lastQuery() const;
    uint errorDetail() const;
    // The result code of the last failed login or dropped session; 0 after a login.
    uint lastFailureCode() const;
    ServerVersion serverVersion() const;
    uint accessRights() const { return m_accessRights.load(); }
    // Bit value 2 of the rights word: the user may modify data.
    bool mayModify() const { return (accessRights() & 2u) != 0; }
    DBCtrl *transCtrl() const { return m_ctrl; }
    // The request made by the last execAsync (it may already be deleted).
    QString host() const;
    int port() const;
    QString user() const;

    // Certificate trust. The known-hosts file defaults to the library's.
    void setKnownHostsPath(const QString &path);
    QString knownHostsPath() const;
    // After a login refused with 604 (changed) or 704 (unknown server): the
    // fingerprint the server presented and, for 604, the one recorded for it.
    QString presentedFingerprint() const;
    QString recordedFingerprint() const;
    bool identityChanged() const;
    bool identityUnknown() const;
    // Either of the two: only the administrator can decide to go on.
    bool needsTrustDecision() const { return identityChanged() || identityUnknown(); }
    // The administrator confirmed the presented certificate: the next login
    // accepts exactly that certificate and records it.
    void trustPresentedCertificate();

    // The administrator's text for a failure.
    static QString errorTextFor(uint code, uint detail, bool login, const QString &lastQuery);

signals:
    void signalStateChanged(DBConn::StateEnum state);
    void signalSynWaiting(DBReq *req);
    void signalPreAddRequest(DBReq *req);
    void signalUpdateData(uchar *data, int length);

public slots:
    void slotUpdateData();

protected:
    void safeEmit1001(const QVariant &state) override;

private:
    void workerLoop();
    bool login();
    void execute(DBReq *req);
    void setState(StateEnum state);
    void closeHandle();
    void setLastFailure(uint code, uint detail, const QString &text);
    // On the worker while idle: ends the session when the server has gone.
    void checkServerStillThere();

    std::atomic<bool> m_stopRequested{false};
    const bool m_connectInCaller;
    const std::function<qint64()> m_clockMs;
    const int m_livenessCheckMs;
    std::atomic<StateEnum> m_state{Disconnected};

    // Guards the queue, the wake flag and the requests' finished/running flags.
    // Standard primitives rather than Qt's, so thread checkers see every edge.
    mutable std::mutex m_lock;
    std::condition_variable m_wake;
    std::condition_variable m_requestFinished;
    bool m_wakeSet = false;
    std::thread m_worker;
    std::atomic<bool> m_workerRunning{false};
    QList<DBReq *> m_queue;
    QList<int> m_responseTimes;

    // Guards the handle's lifetime against recvNotification on the interface thread.
    mutable std::mutex m_handleLock;
    lumadb_handle *m_handle = nullptr;

    // Session parameters and outcomes, guarded by m_dataLock.
    mutable std::mutex m_dataLock;
    QString m_host;
    int m_port;
    QString m_user;
    QString m_password;
    bool m_haveVersion = false;
    ServerVersion m_version;
    std::atomic<uint> m_accessRights{0};
    uint m_errorDetail = 0;
    uint m_lastFailureCode = 0;
    QString m_lastError;
    QString m_lastQuery;
    QString m_knownHostsPath;
    QString m_presentedFingerprint;
    QString m_recordedFingerprint;
    bool m_identityUnknown = false;
    QString m_trustedFingerprint; // confirmed by the administrator for the next login
    qint64 m_idleSince = 0;

    DBCtrl *m_ctrl = nullptr;
    QTimer *m_notificationTimer = nullptr;
};

#endif // DB_DBCONN_H

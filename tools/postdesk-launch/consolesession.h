#pragma once

#include "handover/connectionrecord.h"

#include <QObject>
#include <QProcess>

// One console started by the launcher: the shared region with its connection
// record, the two hand-over lines on its standard input, its status lines, and
// its close channel.
class ConsoleSession : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype kRegionSize = 4096;

    explicit ConsoleSession(const QString &consolePath, QObject *parent = nullptr);
    ~ConsoleSession() override;

    // Hand-over launch with the record; or, with loginMode, a console that asks
    // for the server itself. extraArguments follow the launch keyword.
    bool start(const ConnectionRecord &record, bool loginMode, const QStringList &extraArguments,
               const QProcessEnvironment &environment, QString *error);

    // The console's process id, kept after it ended.
    qint64 processId() const { return m_pid; }
    QString serverText() const { return m_server; }
    QString userText() const { return m_user; }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // What the console last reported: "starting", "logging in", "logged in",
    // "login failed".
    QString stateText() const { return m_state; }
    bool hasLoggedIn() const { return m_loggedIn; }

    // Sends the close request; the answer is "closed" or "refused" (or empty
    // when the console did not answer).
    QString requestClose(int timeoutMs = 120000);
    static QString requestClose(qint64 processId, int timeoutMs, QString *error);

signals:
    void signalStatusLine(const QString &word);
    void signalFinished(int exitCode);

private slots:
    void slotReadOutput();
    void slotFinished(int exitCode);

private:
    void releaseRegion();

    QProcess m_process;
    QString m_regionId;
    QString m_server;
    QString m_user;
    qint64 m_pid = 0;
    QString m_state = QStringLiteral("starting");
    bool m_loggedIn = false;
};

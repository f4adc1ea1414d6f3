#pragma once

#include <QObject>
#include <QProcess>
#include <QTemporaryDir>

// The development server of the demo: started on a free loopback port with a
// fresh demo database in a temporary folder, stopped with the launcher.
class DemoServer : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDemoLogLines = 2000;

    explicit DemoServer(QObject *parent = nullptr);
    ~DemoServer() override;

    bool start(const QString &serverPath, QString *error);
    void stop();

    QString host() const { return m_host; }
    int port() const { return m_port; }
    QString folder() const { return m_folder.path(); }
    // Records the certificate of the server this launcher started (read from
    // its data folder, not from the network) as trusted for its address, so the
    // console does not ask about it.
    bool trustIn(const QString &knownHostsPath, QString *error) const;

    // Parses "postvane-devserver listening on ADDR:PORT".
    static bool parseListeningLine(const QString &line, QString &host, int &port);

private:
    QTemporaryDir m_folder;
    QProcess m_process;
    QString m_host;
    int m_port = 0;
};

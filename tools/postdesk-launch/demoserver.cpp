#include "demoserver.h"

#include "lumadb/lumadb.h"

#include <QDeadlineTimer>
#include <QDir>

DemoServer::DemoServer(QObject *parent)
    : QObject(parent)
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardErrorFile(QProcess::nullDevice());
}

DemoServer::~DemoServer()
{
    stop();
}

bool DemoServer::parseListeningLine(const QString &line, QString &host, int &port)
{
    static const QString prefix = QStringLiteral("postvane-devserver listening on ");
    if (!line.startsWith(prefix))
        return false;
    const QString address = line.mid(prefix.size()).trimmed();
    const qsizetype colon = address.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    bool ok = false;
    port = address.mid(colon + 1).toInt(&ok);
    host = address.left(colon);
    return ok && port > 0 && port < 65536;
}

bool DemoServer::start(const QString &serverPath, QString *error)
{
    if (!m_folder.isValid()) {
        *error = QStringLiteral("cannot create a temporary folder");
        return false;
    }
    m_process.setStandardErrorFile(m_folder.filePath(QStringLiteral("devserver.log")));
    // The server needs nothing of the console's: no password, no trust file.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : environment.keys()) {
        if (name.startsWith(QLatin1String("POSTDESK_")))
            environment.remove(name);
    }
    m_process.setProcessEnvironment(environment);
    m_process.start(serverPath,
                    {QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                     QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--data"),
                     m_folder.filePath(QStringLiteral("data")),
                     // A mail log with some history, so the log view has pages to show.
                     QStringLiteral("--seed-log-lines"), QString::number(kDemoLogLines)});
    if (!m_process.waitForStarted(30000)) {
        *error = QStringLiteral("%1: %2").arg(serverPath, m_process.errorString());
        return false;
    }
    const QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired()) {
        while (m_process.canReadLine()) {
            const QString line = QString::fromUtf8(m_process.readLine()).trimmed();
            if (parseListeningLine(line, m_host, m_port))
                return true;
        }
        if (m_process.state() == QProcess::NotRunning) {
            *error = QStringLiteral("the development server ended at start (see %1)")
                             .arg(m_folder.filePath(QStringLiteral("devserver.log")));
            return false;
        }
        m_process.waitForReadyRead(500);
    }
    *error = QStringLiteral("the development server did not start listening");
    return false;
}

bool DemoServer::trustIn(const QString &knownHostsPath, QString *error) const
{
    const QByteArray certificate
            = QDir(m_folder.path()).filePath(QStringLiteral("data/server-cert.pem")).toLocal8Bit();
    char fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {};
    if (lumadb_certificate_file_fingerprint(certificate.constData(), fingerprint) != LUMADB_OK) {
        *error = QStringLiteral("cannot read the certificate of the development server");
        return false;
    }
    const QByteArray path = knownHostsPath.toLocal8Bit();
    const QByteArray host = m_host.toUtf8();
    const QByteArray port = QByteArray::number(m_port);
    if (lumadb_trust_fingerprint(path.constData(), host.constData(), port.constData(), fingerprint)
        != LUMADB_OK) {
        *error = QStringLiteral("cannot write %1").arg(knownHostsPath);
        return false;
    }
    return true;
}

void DemoServer::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

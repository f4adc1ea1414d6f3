#include "db/utdebug.h"

#include "db/dbquerymask.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QThread>
#include <mutex>

#include <cstdio>
#include <cstdlib>

namespace UtDebug {
namespace {

struct Output
{
    std::mutex lock;
    bool stderrLevelKnown = false;
    int stderrLevel = -1;
    QFile traceFile;
    QMap<int, Sink> sinks;
    int nextSinkId = 1;
};

Output &output()
{
    static Output instance;
    return instance;
}

int levelFromEnvironment()
{
    const char *text = std::getenv("POSTDESK_DEBUG_LEVEL");
    if (!text || !*text)
        return -1;
    bool ok = false;
    const int level = QByteArray(text).trimmed().toInt(&ok);
    return ok && level >= 0 ? level : -1;
}

int currentStderrLevel(Output &out)
{
    if (!out.stderrLevelKnown) {
        out.stderrLevel = levelFromEnvironment();
        out.stderrLevelKnown = true;
    }
    return out.stderrLevel;
}

} // namespace

void write(int category, int level, const QString &text)
{
    Output &out = output();
    bool toStderr = false;
    bool toFile = false;
    QList<Sink> sinks;
    {
        std::lock_guard locker(out.lock);
        const int threshold = currentStderrLevel(out);
        toStderr = threshold >= 0 && level >= threshold;
        toFile = out.traceFile.isOpen();
        sinks = out.sinks.values();
    }
    if (!toStderr && !toFile && sinks.isEmpty())
        return;
    // Query lines may carry passwords: they are hidden here, before any
    // output (trace file, standard error, sinks) sees the line.
    const QString line = category == CategoryQuery ? dbMaskSecrets(text) : text;
    if (toStderr || toFile) {
        const QByteArray formatted = QStringLiteral("%1 [%2/%3] %4\n")
                                             .arg(QDateTime::currentDateTime().toString(
                                                     QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz")))
                                             .arg(category)
                                             .arg(level)
                                             .arg(line)
                                             .toUtf8();
        std::lock_guard locker(out.lock);
        if (toStderr) {
            std::fwrite(formatted.constData(), 1, size_t(formatted.size()), stderr);
            std::fflush(stderr);
        }
        if (out.traceFile.isOpen()) {
            out.traceFile.write(formatted);
            out.traceFile.flush();
        }
    }
    // Sinks run outside the lock so they may write lines themselves.
    for (const Sink &sink : sinks)
        sink(category, level, line);
}

void setStderrLevel(int level)
{
    Output &out = output();
    std::lock_guard locker(out.lock);
    out.stderrLevel = level < 0 ? -1 : level;
    out.stderrLevelKnown = true;
}

int stderrLevel()
{
    Output &out = output();
    std::lock_guard locker(out.lock);
    return currentStderrLevel(out);
}

bool setTraceFile(const QString &path)
{
    Output &out = output();
    std::lock_guard locker(out.lock);
    if (out.traceFile.isOpen())
        out.traceFile.close();
    if (path.isEmpty())
        return true;
    out.traceFile.setFileName(path);
    // Queries may name users and hosts: the trace is owner-only from the moment
    // it is created (and narrowed when an older file was wider).
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!out.traceFile.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text, ownerOnly))
        return false;
    out.traceFile.setPermissions(ownerOnly);
    return true;
}

QString traceFile()
{
    Output &out = output();
    std::lock_guard locker(out.lock);
    return out.traceFile.isOpen() ? out.traceFile.fileName() : QString();
}

bool enableTraceInDataFolder(const QString &dataFolder)
{
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder))
        return false;
    return setTraceFile(QDir(dataFolder).filePath(QStringLiteral("postdesk-trace.log")));
}

int addSink(Sink sink)
{
    Output &out = output();
    std::lock_guard locker(out.lock);
    const int id = out.nextSinkId++;
    out.sinks.insert(id, std::move(sink));
    return id;
}

void removeSink(int id)
{
    Output &out = output();
    std::lock_guard locker(out.lock);
    out.sinks.remove(id);
}

} // namespace UtDebug

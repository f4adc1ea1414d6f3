// Debug output of the console: one line per call, tagged with a category and a
// level. Lines go to an optional trace file, to standard error when their level
// reaches the threshold taken from POSTDESK_DEBUG_LEVEL, and to any registered
// sink (the console's log window). Safe to call from any thread.
#ifndef DB_UTDEBUG_H
#define DB_UTDEBUG_H

#include <QString>

#include <functional>

namespace UtDebug {

// Categories used by the data layer; other layers pick their own numbers.
enum Category {
    CategoryGeneral = 0,
    CategoryQuery = 14, // logged queries, operations and undo lists
};

// A higher level means a more important line: 3 operations, 4 undo list,
// 5 queries, 8 read errors. Lines of CategoryQuery pass through dbMaskSecrets
// first, so no output ever holds a password of a query.
void write(int category, int level, const QString &line);

// Lines at or above this level reach standard error; -1 switches it off.
// Initialised from POSTDESK_DEBUG_LEVEL on first use (off when unset or invalid).
void setStderrLevel(int level);
int stderrLevel();

// Every line goes to this file (created owner-only, appended to). An empty
// path closes it. Returns false when the file cannot be opened.
bool setTraceFile(const QString &path);
QString traceFile();
// The console's trace file inside its data folder ("postdesk-trace.log").
bool enableTraceInDataFolder(const QString &dataFolder);

// Extra receivers of every line; the returned id removes the sink again.
using Sink = std::function<void(int category, int level, const QString &line)>;
int addSink(Sink sink);
void removeSink(int id);

} // namespace UtDebug

inline void utDebug(int category, int level, const QString &line)
{
    UtDebug::write(category, level, line);
}

#endif // DB_UTDEBUG_H

#include "forms/utqtmessages.h"

#include "db/utdebug.h"

#include <QRegularExpression>

#include <atomic>
#include <cstring>

namespace UtQtMessages {

namespace {

std::atomic<QtMessageHandler> g_previous{nullptr};
std::atomic<bool> g_installed{false};
// Set while this thread is inside the handler: a message raised by the trace
// itself (a sink, the trace file) goes to the previous handler instead.
thread_local bool t_inHandler = false;

void handler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const QtMessageHandler previous = g_previous.load();
    if (t_inHandler) {
        if (previous)
            previous(type, context, maskSecrets(message));
        return;
    }
    t_inHandler = true;
    const char *category = context.category ? context.category : "default";
    const bool framework = std::strncmp(category, "postdesk.", 9) == 0;
    const int level = levelFor(type);
    UtDebug::write(framework ? kFrameworkCategory : kQtCategory, level, lineFor(category, message));
    // Warnings keep reaching standard error as before, unless the trace has
    // already written them there.
    const int stderrLevel = UtDebug::stderrLevel();
    const bool traceWroteStderr = stderrLevel >= 0 && level >= stderrLevel;
    if (previous && type != QtDebugMsg && type != QtInfoMsg && !traceWroteStderr)
        previous(type, context, maskSecrets(message));
    t_inHandler = false;
}

} // namespace

void install()
{
    bool expected = false;
    if (!g_installed.compare_exchange_strong(expected, true))
        return;
    g_previous.store(qInstallMessageHandler(handler));
}

void uninstall()
{
    bool expected = true;
    if (!g_installed.compare_exchange_strong(expected, false))
        return;
    qInstallMessageHandler(g_previous.exchange(nullptr));
}

bool isInstalled()
{
    return g_installed.load();
}

int levelFor(QtMsgType type)
{
    switch (type) {
    case QtDebugMsg:
        return 2;
    case QtInfoMsg:
        return 3;
    case QtWarningMsg:
        return 6;
    case QtCriticalMsg:
        return 8;
    case QtFatalMsg:
        return 9;
    }
    return 6;
}

QString maskSecrets(const QString &text)
{
    // A password word (perhaps a quoted key), "=" or ":", then the value: a quoted text with
    // backslash escapes, or everything up to the next blank, comma, semicolon
    // or closing bracket.
    static const QRegularExpression secret(
            QStringLiteral(R"((pass(?:word|wd)?|pwd|secret)(["']?\s*[=:]\s*))"
                           R"(('(?:[^'\\]|\\.)*'?|"(?:[^"\\]|\\.)*"?|[^\s,;)\]}]+))"),
            QRegularExpression::CaseInsensitiveOption);
    QString masked = text;
    masked.replace(secret, QStringLiteral("\\1\\2***"));
    return masked;
}

QString lineFor(const char *category, const QString &message)
{
    return QStringLiteral("[%1] %2").arg(QString::fromLatin1(category ? category : "default"),
                                         maskSecrets(message));
}

} // namespace UtQtMessages

#include "passwordprompt.h"

#include <cstdio>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

bool prompt(const QString &text, QString &answer, bool hidden)
{
    const int fd = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    const QByteArray question = text.toLocal8Bit();
    if (::write(fd, question.constData(), size_t(question.size())) < 0) {
        ::close(fd);
        return false;
    }
    termios saved{};
    const bool haveTerminal = ::tcgetattr(fd, &saved) == 0;
    if (hidden && haveTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(fd, TCSAFLUSH, &quiet);
    }
    QByteArray line;
    char c = 0;
    bool ok = false;
    while (::read(fd, &c, 1) == 1) {
        if (c == '\n') {
            ok = true;
            break;
        }
        if (line.size() < 1024)
            line += c;
    }
    if (hidden && haveTerminal) {
        ::tcsetattr(fd, TCSAFLUSH, &saved);
        (void)!::write(fd, "\n", 1);
    }
    ::close(fd);
    answer = QString::fromLocal8Bit(line);
    // Wipe the local copy of what may be a password.
    line.fill('\0');
    return ok;
}

} // namespace

bool promptHidden(const QString &text, QString &answer)
{
    return prompt(text, answer, true);
}

bool promptVisible(const QString &text, QString &answer)
{
    return prompt(text, answer, false);
}

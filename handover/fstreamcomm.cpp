#include "handover/fstreamcomm.h"

#include <QIODevice>

namespace {

// One line of at most kMaxLineLength characters, ended by "\n". Reads byte by
// byte so that nothing after the second line is consumed from the launcher.
bool readLine(QIODevice &input, QByteArray &line)
{
    line.clear();
    char c = 0;
    while (true) {
        if (!input.getChar(&c)) {
            if (!input.waitForReadyRead(30000) || !input.getChar(&c))
                return false;
        }
        if (c == '\n')
            break;
        if (line.size() >= FStreamComm::kMaxLineLength)
            return false;
        line += c;
    }
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}

} // namespace

bool FStreamComm::readRegionLocation(QIODevice &input, RegionLocation &location)
{
    QByteArray first;
    QByteArray second;
    if (!readLine(input, first) || !readLine(input, second))
        return false;
    bool ok = false;
    const qsizetype size = second.trimmed().toLongLong(&ok);
    if (!ok || size <= 0)
        return false;
    location.identifier = QString::fromLatin1(first.trimmed());
    location.size = size;
    return !location.identifier.isEmpty();
}

QString FStreamComm::statusWord(int code)
{
    switch (code) {
    case InitOk:
        return QStringLiteral("initok");
    case ConnectionFailed:
        return QStringLiteral("connectionfailed");
    case ConnectNew:
        return QStringLiteral("connectnew");
    case Connected:
        return QStringLiteral("connected");
    default:
        return {};
    }
}

bool FStreamComm::sendStatus(int code, FILE *out)
{
    const QString word = statusWord(code);
    if (word.isEmpty()) {
        qWarning("FStreamComm: unsupported admin command.");
        return false;
    }
    std::fputs(word.toLatin1().constData(), out);
    std::fputc('\n', out);
    std::fflush(out);
    return true;
}

void FStreamComm::sendConnectNew(const QString &regionIdentifier, qsizetype size, FILE *out)
{
    const QByteArray line = statusWord(ConnectNew).toLatin1() + ' ' + regionIdentifier.toLatin1()
            + ' ' + QByteArray::number(size) + '\n';
    std::fputs(line.constData(), out);
    std::fflush(out);
}

bool FStreamComm::parseConnectNew(const QString &line, QString *regionIdentifier, qsizetype *size)
{
    const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 3 || parts.at(0) != statusWord(ConnectNew))
        return false;
    bool ok = false;
    *size = parts.at(2).toLongLong(&ok);
    *regionIdentifier = parts.at(1);
    return ok && *size > 0;
}

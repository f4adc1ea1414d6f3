#include "forms/bcsvwriter.h"

#include <QIODevice>

namespace bcsv {

QByteArray field(const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    const bool quoted = utf8.contains(',') || utf8.contains('"') || utf8.contains('\r')
            || utf8.contains('\n');
    if (!quoted)
        return utf8;
    QByteArray out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (char c : utf8) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

QByteArray record(const QStringList &fields)
{
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        line += field(fields.at(i));
    }
    line += "\r\n";
    return line;
}

bool write(QIODevice *device, const QList<QStringList> &records, QString *error)
{
    if (!device || !device->isWritable()) {
        if (error)
            *error = device ? device->errorString() : QString();
        return false;
    }
    for (const QStringList &fields : records) {
        const QByteArray line = record(fields);
        if (device->write(line) != line.size()) {
            if (error)
                *error = device->errorString();
            return false;
        }
    }
    return true;
}

} // namespace bcsv

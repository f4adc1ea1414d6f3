#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QIODevice;

// Comma-separated values as RFC 4180 describes them: UTF-8, CRLF after every
// record, fields that hold a comma, a quote, CR or LF quoted with their quotes
// doubled.
namespace bcsv {

QByteArray field(const QString &text);
QByteArray record(const QStringList &fields);
// Writes every record; false with *error set (the device's reason) when the
// device refuses a write.
bool write(QIODevice *device, const QList<QStringList> &records, QString *error = nullptr);

} // namespace bcsv

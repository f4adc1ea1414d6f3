#include "pages/mailinglists/mlistcsvimport.h"

#include "forms/utmailaddressvalidator.h"

#include <QCoreApplication>

namespace mlistcsv {

namespace {

// Rows between two progress reports.
constexpr qsizetype kProgressStep = 1000;

QString tr(const char *text)
{
    return QCoreApplication::translate("MailingListCsvImport", text);
}

} // namespace

QStringList splitRecord(const QString &line)
{
    QStringList fields;
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            fields.append(field);
            field.clear();
        } else {
            field += c;
        }
    }
    fields.append(field);
    return fields;
}

Result read(const QString &text, const QSet<QString> &existing, const Progress &progress)
{
    Result result;
    // Records may hold line breaks inside quotes: split where the quotes are
    // balanced, and remember the line each record starts on.
    QStringList records;
    QList<qsizetype> lines;
    {
        QString normal = text;
        normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        normal.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        QString record;
        bool quoted = false;
        qsizetype line = 1;
        qsizetype start = 1;
        for (const QChar c : std::as_const(normal)) {
            if (c == QLatin1Char('"'))
                quoted = !quoted;
            if (c == QLatin1Char('\n')) {
                ++line;
                if (!quoted) {
                    records.append(record);
                    lines.append(start);
                    record.clear();
                    start = line;
                    continue;
                }
            }
            record += c;
        }
        if (!record.isEmpty()) {
            records.append(record);
            lines.append(start);
        }
    }
    UtMailAddressValidator validator;
    QSet<QString> seen = existing;
    seen.reserve(existing.size() + records.size());
    result.accepted.reserve(records.size());
    const qsizetype total = records.size();
    for (qsizetype i = 0; i < total; ++i) {
        if (progress && i % kProgressStep == 0 && !progress(i, total)) {
            result.cancelled = true;
            result.accepted.clear();
            return result;
        }
        const QString &record = records.at(i);
        if (record.trimmed().isEmpty())
            continue;
        const QStringList fields = splitRecord(record);
        QString email = fields.value(0).trimmed();
        const QString fullName = fields.value(1).trimmed();
        if (i == 0
            && (email.compare(QLatin1String("Email"), Qt::CaseInsensitive) == 0
                || email.compare(QLatin1String("E-mail"), Qt::CaseInsensitive) == 0))
            continue;
        int pos = 0;
        if (!email.contains(QLatin1Char('@'))
            || validator.validate(email, pos) != QValidator::Acceptable) {
            result.rejected.append(tr("line %1: %2").arg(lines.at(i)).arg(record));
            continue;
        }
        const QString key = email.toLower();
        if (seen.contains(key)) {
            ++result.duplicates;
            continue;
        }
        seen.insert(key);
        result.accepted.append({email, fullName});
    }
    if (progress)
        progress(total, total);
    return result;
}

} // namespace mlistcsv

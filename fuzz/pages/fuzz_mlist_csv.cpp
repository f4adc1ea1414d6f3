// libFuzzer target for the mailing-list member import: arbitrary bytes are
// read as a CSV file of members, and a record built from fuzzed fields is
// split back into the same fields.
#include "forms/utmailaddressvalidator.h"
#include "pages/mailinglists/mlistcsvimport.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// A field as a CSV writer puts it: quoted, inner quotes doubled.
QString quoted(QString field)
{
    field.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));

    // Whatever the file holds: accepted members are valid, distinct
    // addresses, and every record is accounted for at most once.
    const QSet<QString> existing{QStringLiteral("taken@example.com")};
    const mlistcsv::Result result = mlistcsv::read(text, existing);
    UtMailAddressValidator validator;
    QSet<QString> seen = existing;
    for (const mlistcsv::Member &member : result.accepted) {
        QString email = member.email;
        int pos = 0;
        if (!email.contains(QLatin1Char('@'))
            || validator.validate(email, pos) != QValidator::Acceptable)
            std::abort();
        if (seen.contains(email.toLower()))
            std::abort();
        seen.insert(email.toLower());
    }
    const qsizetype records = text.count(QLatin1Char('\n')) + text.count(QLatin1Char('\r')) + 1;
    if (result.accepted.size() + result.duplicates + result.rejected.size() > records)
        std::abort();

    // Fields without line breaks survive quoting and splitting unchanged.
    QStringList fields = text.split(QLatin1Char(','));
    for (QString &field : fields) {
        field.remove(QLatin1Char('\n'));
        field.remove(QLatin1Char('\r'));
    }
    QStringList record;
    for (const QString &field : std::as_const(fields))
        record << quoted(field);
    if (mlistcsv::splitRecord(record.join(QLatin1Char(','))) != fields)
        std::abort();
    return 0;
}

#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class PvnMListTable;

// Members read from a CSV file: one member a line, the address first and the
// full name second (further fields are ignored), fields quoted as RFC 4180
// writes them. A first line whose first field is "Email" or "E-mail" is a
// header. Every address is checked; addresses already in the roster or
// earlier in the file are skipped.
namespace mlistcsv {

struct Member
{
    QString email;
    QString fullName;
};

struct Result
{
    QList<Member> accepted;
    int duplicates = 0;
    // "line N: text" of every row that was not taken.
    QStringList rejected;
    bool cancelled = false;
};

// progress(done, total) is called now and then; returning false cancels.
using Progress = std::function<bool(qsizetype done, qsizetype total)>;

// Splits one CSV record into its fields.
QStringList splitRecord(const QString &line);

// existing holds the roster's addresses in lower case.
Result read(const QString &text, const QSet<QString> &existing,
            const Progress &progress = Progress());

// Appends the accepted members to the roster as new rows.
void stage(PvnMListTable *roster, const QList<Member> &members);

// The lower-case addresses of the roster's rows.
QSet<QString> addressesOf(const PvnMListTable *roster);

} // namespace mlistcsv

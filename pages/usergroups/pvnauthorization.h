#pragma once

#include <QString>
#include <QStringList>

class DBRow;

// The permission words of a user or group, kept in its "Authorization" text
// as comma-separated sections. Words the console does not know are kept as
// they are; empty sections (",,") are skipped, never taken as the end of the
// text, so no word after one is lost.
namespace PvnAuthorization {

inline const QString kWebadmin = QStringLiteral("pvn.webadmin");
inline const QString kOwnDomainOnly = QStringLiteral("pvn.own.domain.only");
inline const QString kFaxSend = QStringLiteral("pvn.fax.send");
// The column the words live in.
inline const char *const kColumn = "Authorization";

// The non-empty sections of the text, in order.
QStringList words(const QString &text);
// True when word equals one of the sections of text.
bool has(const QString &text, const QString &word);
// The text with word present (on) or absent (off). Unchanged when its
// presence already matches; adding appends "," (unless the text is empty)
// and the word; removing joins the other non-empty sections by ",".
QString set(const QString &text, const QString &word, bool on);

// The same on a row's "Authorization"; set() writes the row only when the
// text changes.
bool has(const DBRow &row, const QString &word);
void set(DBRow *row, const QString &word, bool on);

} // namespace PvnAuthorization

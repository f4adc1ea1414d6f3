#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class DBConn;
class DBRow;

// Publishing users and groups as contacts of a public folder through the
// server function "AddressBookAdd(" (folder, display name, addresses).
namespace ugpublish {

enum class Kind { Users, Groups };

// What is published for one user or group, copied out of its row so that
// a list of entries outlives the rows (a revert replaces them).
struct Entry
{
    QString name; // "Name", shown in the publish list
    QString displayName; // the contact's name
    QStringList addresses;
    QString refusal; // why it cannot be published; empty when it can
};

// A group: its "Name" with the trimmed sections of "MailAddress", each
// completed with "@" and its "Domain"; refused without any address.
Entry groupEntry(const DBRow &row);
// A user: its "Fullname" with "Name" and then the sections of
// "MailAddress", each completed the same way; refused without a full name.
Entry userEntry(const DBRow &row);

// "select AddressBookAdd(" + the folder and the display name, each quoted
// and separated by ",", then ", " and each quoted address, then ")"; every
// argument escaped.
QString query(const QString &folder, const QString &displayName, const QStringList &addresses);
// "#public/Contacts", or "#public@<domain>/Contacts" when public folders are
// kept per domain.
QString defaultFolder(const QString &domain, bool perDomain);

// Sends the call for one entry synchronously; false when the entry is
// refused or the server reports a failure (error then holds its text).
bool publish(DBConn *connection, const QString &folder, const Entry &entry,
             QString *error = nullptr);

// The texts of the publish dialog.
QString refusalText(Kind kind);
QString successText(Kind kind, const QString &folder);
QString failureText(Kind kind);
QString summaryText(Kind kind, int successes, int total);

} // namespace ugpublish

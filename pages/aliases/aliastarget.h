#pragma once

#include <QString>

// The delivery target of an alias ("Rhs") and the kinds it encodes.
namespace aliastarget {

// The ids of the target types, which are also their order in the dialog.
enum Type { EmailAddress = 0, PublicFolder = 1, MailPlugin = 2 };

// "#..." a public folder; otherwise any "@" an address; otherwise "|..." a
// plug-in; anything else an address.
Type detect(const QString &stored);

// The "Deliver To" text of the list: folders decoded from modified UTF-7,
// plug-ins as "plugin " and the name, anything else as stored.
QString displayText(const QString &stored);

// A folder name from the server's folder list in readable form, and the
// stored target that names it ("#" in front unless the name carries it).
QString readableFolder(const QString &imapName);
QString folderTarget(const QString &imapName);
// The readable folder of a stored "#..." target.
QString readableFolderTarget(const QString &stored);

} // namespace aliastarget

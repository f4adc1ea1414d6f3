// Folder names between the console's text and the modified UTF-7 of IMAP.
#ifndef DB_FOLDERNAME_H
#define DB_FOLDERNAME_H

#include <QString>

// Each returns whether the conversion succeeded and then replaces name.
bool folderNameToImap(QString &name);
bool folderNameFromImap(QString &name);

#endif // DB_FOLDERNAME_H

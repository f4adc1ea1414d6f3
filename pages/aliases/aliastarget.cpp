#include "pages/aliases/aliastarget.h"

#include "db/foldername.h"

#include <QCoreApplication>

namespace aliastarget {

Type detect(const QString &stored)
{
    if (stored.startsWith(QLatin1Char('#')))
        return PublicFolder;
    if (stored.contains(QLatin1Char('@')))
        return EmailAddress;
    if (stored.startsWith(QLatin1Char('|')))
        return MailPlugin;
    return EmailAddress;
}

QString readableFolder(const QString &imapName)
{
    QString name = imapName;
    return folderNameFromImap(name) ? name : imapName;
}

QString folderTarget(const QString &imapName)
{
    return imapName.startsWith(QLatin1Char('#')) ? imapName : QLatin1Char('#') + imapName;
}

QString readableFolderTarget(const QString &stored)
{
    return readableFolder(stored);
}

QString displayText(const QString &stored)
{
    if (stored.startsWith(QLatin1Char('#')))
        return readableFolder(stored);
    if (stored.size() > 1 && stored.startsWith(QLatin1Char('|')))
        return QCoreApplication::translate("AliasItem", "plugin ") + stored.mid(1);
    return stored;
}

} // namespace aliastarget

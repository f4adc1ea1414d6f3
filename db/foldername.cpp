#include "db/foldername.h"

#include "db/charsetconverter.h"

bool folderNameToImap(QString &name)
{
    const QByteArray utf8 = name.toUtf8();
    std::string converted;
    if (!brantel::utils::convertString("UTF-8", "utf-7-imap",
                                       std::string_view(utf8.constData(), size_t(utf8.size())),
                                       converted, true))
        return false;
    name = QString::fromLatin1(converted.data(), qsizetype(converted.size()));
    return true;
}

bool folderNameFromImap(QString &name)
{
    const QByteArray bytes = name.toLatin1();
    std::string converted;
    if (!brantel::utils::convertString("utf-7-imap", "UTF-8",
                                       std::string_view(bytes.constData(), size_t(bytes.size())),
                                       converted, true))
        return false;
    name = QString::fromUtf8(converted.data(), qsizetype(converted.size()));
    return true;
}

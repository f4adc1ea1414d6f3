#include "app/flocalizedfile.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

QString FLocalizedFile::systemLanguage()
{
    return QLocale::system().name().left(2);
}

QString FLocalizedFile::find(const Request &request)
{
    const QString language1 = request.language1.isEmpty() ? systemLanguage() : request.language1;
    const QString language2 = request.language2.isEmpty() ? systemLanguage() : request.language2;
    if (language1 == QLatin1String("en"))
        return {};
    const QDir folder(request.folder);
    if (request.folder.isEmpty() || !folder.exists())
        return {};

    const QString wanted1 = request.baseName + language1;
    const QString wanted2 = request.baseName + language2;
    const QString english = request.baseName + QLatin1String("en");
    QString match2;
    QString matchEnglish;
    const QFileInfoList files = folder.entryInfoList(QDir::Files);
    for (const QFileInfo &file : files) {
        if (file.suffix().toLower() != request.extension)
            continue;
        const QString base = file.completeBaseName();
        if (base == wanted1)
            return file.filePath();
        if (base == wanted2)
            match2 = file.filePath();
        if (base == english)
            matchEnglish = file.filePath();
    }
    if (!match2.isEmpty())
        return match2;
    return request.englishFallback ? matchEnglish : QString();
}

QString FLocalizedFile::languageOfPath(const QString &path)
{
    static const QRegularExpression pattern(QStringLiteral(".*\\.([a-z]{2})\\."));
    const QRegularExpressionMatch match = pattern.match(path);
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

#include "app/flocalizedfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

QString FLocalizedFile::systemLanguage()
{
    return QLocale::system().name().left(2);
}

QStringList FLocalizedFile::standardFolders(const QString &subfolder)
{
    const QString programFolder = QCoreApplication::applicationDirPath();
    return {programFolder + QLatin1Char('/') + subfolder,
            QDir::cleanPath(programFolder + QLatin1Char('/')
                            + QStringLiteral(POSTDESK_INSTALLED_DATA_DIR) + QLatin1Char('/')
                            + subfolder)};
}

QString FLocalizedFile::find(const Request &request)
{
    for (const QString &folder : request.folders) {
        const QString file = findInFolder(request, folder);
        if (!file.isEmpty())
            return file;
    }
    return {};
}

QString FLocalizedFile::findInFolder(const Request &request, const QString &folderPath)
{
    const QString language1 = request.language1.isEmpty() ? systemLanguage() : request.language1;
    const QString language2 = request.language2.isEmpty() ? systemLanguage() : request.language2;
    if (language1 == QLatin1String("en"))
        return {};
    const QDir folder(folderPath);
    if (folderPath.isEmpty() || !folder.exists())
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

#pragma once

#include <QString>

#include <QStringList>

// Finds the translation or help file of the console for the preferred
// languages: among the files "<baseName><language>.<extension>" of the first
// folder that has a fitting one.
class FLocalizedFile
{
public:
    struct Request
    {
        QStringList folders; // e.g. standardFolders("translations")
        QString baseName; // e.g. "postdesk603."
        QString extension; // lower-case, without the dot: "qm" or "chm"
        QString language1; // empty: the system language
        QString language2; // empty: the system language
        bool englishFallback = false; // help files fall back to "<baseName>en"
    };

    // The chosen file's path, or empty when none fits (or language 1 is "en").
    static QString find(const Request &request);

    // Where the console's files named `subfolder` live: next to the program (a
    // build folder), then in the installed data folder ("<prefix>/share/postdesk").
    static QStringList standardFolders(const QString &subfolder);

    // The first two characters of the system locale name.
    static QString systemLanguage();

    // The two-letter language of a translation file path, lower case, or empty.
    static QString languageOfPath(const QString &path);

private:
    static QString findInFolder(const Request &request, const QString &folder);
};

#pragma once

#include <QString>

// Finds the translation or help file of the console for the preferred
// languages: in the folder, among the files "<baseName><language>.<extension>".
class FLocalizedFile
{
public:
    struct Request
    {
        QString folder; // e.g. "<application dir>/translations"
        QString baseName; // e.g. "postdesk603."
        QString extension; // lower-case, without the dot: "qm" or "chm"
        QString language1; // empty: the system language
        QString language2; // empty: the system language
        bool englishFallback = false; // help files fall back to "<baseName>en"
    };

    // The chosen file's path, or empty when none fits (or language 1 is "en").
    static QString find(const Request &request);

    // The first two characters of the system locale name.
    static QString systemLanguage();

    // The two-letter language of a translation file path, lower case, or empty.
    static QString languageOfPath(const QString &path);
};

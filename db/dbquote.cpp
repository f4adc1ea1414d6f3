#include "db/dbquote.h"

QString dbEscape(const QString &text)
{
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '\\':
            escaped += QLatin1String("\\\\");
            break;
        case '"':
            escaped += QLatin1String("\\\"");
            break;
        case '\'':
            escaped += QLatin1String("\\'");
            break;
        case '\n':
            escaped += QLatin1String("\\n");
            break;
        case '\r':
            escaped += QLatin1String("\\r");
            break;
        case '\t':
            escaped += QLatin1String("\\t");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

QString dbLiteral(const QString &text)
{
    return QLatin1Char('\'') + dbEscape(text) + QLatin1Char('\'');
}

QString dbFunctionCall(const QString &name, const QStringList &arguments)
{
    QString call = name + QLatin1Char('(');
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (i > 0)
            call += QLatin1String(", ");
        call += QLatin1Char('"') + dbEscape(arguments.at(i)) + QLatin1Char('"');
    }
    return call + QLatin1Char(')');
}

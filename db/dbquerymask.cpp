#include "db/dbquerymask.h"

#include <QHash>
#include <QRegularExpression>

namespace {

// Server functions that take a password, and the position of that argument.
const QHash<QString, int> &passwordArguments()
{
    static const QHash<QString, int> table{
            {QStringLiteral("listdir"), 2},
            {QStringLiteral("accessdir"), 3},
            {QStringLiteral("ldaptestpvnextensions"), 4},
    };
    return table;
}

// End of the quoted text that starts at position open (the quote), or -1.
qsizetype quotedEnd(const QString &text, qsizetype open)
{
    const QChar quote = text.at(open);
    for (qsizetype i = open + 1; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\'))
            ++i;
        else if (text.at(i) == quote)
            return i;
    }
    return -1;
}

// Replaces the argument at position index of the call whose "(" is at open.
QString maskArgument(const QString &query, qsizetype open, int index)
{
    qsizetype pos = open + 1;
    int argument = 0;
    while (pos < query.size()) {
        while (pos < query.size() && query.at(pos).isSpace())
            ++pos;
        if (pos >= query.size())
            break;
        qsizetype begin = pos;
        qsizetype end; // one past the argument's value
        const QChar c = query.at(pos);
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype close = quotedEnd(query, pos);
            if (close < 0)
                end = query.size();
            else
                end = close;
            begin = pos + 1;
            pos = close < 0 ? query.size() : close + 1;
        } else {
            while (pos < query.size() && query.at(pos) != QLatin1Char(',')
                   && query.at(pos) != QLatin1Char(')'))
                ++pos;
            end = pos;
        }
        if (argument == index) {
            QString masked = query;
            masked.replace(begin, end - begin, QLatin1String(dbMaskedValue));
            return masked;
        }
        while (pos < query.size() && query.at(pos).isSpace())
            ++pos;
        if (pos >= query.size() || query.at(pos) != QLatin1Char(','))
            break;
        ++pos;
        ++argument;
    }
    return query;
}

} // namespace

QString dbMaskSecrets(const QString &query)
{
    QString masked = query;

    // Literals assigned to or compared with a column whose name mentions a password.
    static const QRegularExpression assignment(
            QStringLiteral(R"(([\w$]*pass[\w$]*\s*=\s*)('(?:[^'\\]|\\.)*'?|"(?:[^"\\]|\\.)*"?))"),
            QRegularExpression::CaseInsensitiveOption);
    QString out;
    qsizetype last = 0;
    auto it = assignment.globalMatch(masked);
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        const QChar quote = m.captured(2).at(0);
        out += QStringView(masked).mid(last, m.capturedStart(2) - last);
        out += quote + QLatin1String(dbMaskedValue) + quote;
        last = m.capturedEnd(2);
    }
    out += QStringView(masked).mid(last);
    masked = out;

    // Plain passwords travel as 'NUL:<password>' in any column.
    static const QRegularExpression plain(QStringLiteral(R"((['"])NUL:(?:[^'"\\]|\\.)*)"));
    masked.replace(plain, QStringLiteral("\\1NUL:") + QLatin1String(dbMaskedValue));

    // Password arguments of server functions.
    static const QRegularExpression call(QStringLiteral(R"(\b([A-Za-z_][\w:]*)\s*\()"));
    qsizetype from = 0;
    while (true) {
        const QRegularExpressionMatch m = call.match(masked, from);
        if (!m.hasMatch())
            break;
        const auto found = passwordArguments().constFind(m.captured(1).toLower());
        if (found != passwordArguments().constEnd())
            masked = maskArgument(masked, m.capturedEnd(0) - 1, found.value());
        from = m.capturedEnd(0);
    }
    return masked;
}

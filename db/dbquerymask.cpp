#include "db/dbquerymask.h"

#include <QHash>

// The query is read as the server reads it: quoted literals (single or double
// quotes, backslash escapes) are skipped as a whole, so text inside a literal
// can neither start a password assignment nor end one early.

namespace {

// Server functions that take a password, and the position of that argument.
int passwordArgument(QStringView function)
{
    static const QHash<QString, int> table{
            {QStringLiteral("listdir"), 2},
            {QStringLiteral("accessdir"), 3},
            {QStringLiteral("ldaptestpvnextensions"), 4},
    };
    return table.value(function.toString().toLower(), -1);
}

bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == QLatin1Char('_') || c == QLatin1Char('$');
}

bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$')
            || c == QLatin1Char(':');
}

bool isQuote(QChar c)
{
    return c == QLatin1Char('\'') || c == QLatin1Char('"');
}

bool isComparison(QChar c)
{
    return c == QLatin1Char('=') || c == QLatin1Char('<') || c == QLatin1Char('>')
            || c == QLatin1Char('!');
}

class Masker
{
public:
    explicit Masker(const QString &query)
        : m_in(query)
    {
        m_out.reserve(query.size());
    }

    QString run()
    {
        while (m_pos < m_in.size()) {
            const QChar c = m_in.at(m_pos);
            if (isQuote(c)) {
                literal(m_secretNext);
                forget();
            } else if (c.isSpace()) {
                m_out += c;
                ++m_pos;
            } else if (isComparison(c)) {
                // "=", "<>", "!=" ... between a password column and its value.
                m_secretNext = m_afterSecretName || m_secretNext;
                m_afterSecretName = false;
                m_out += c;
                ++m_pos;
            } else if (m_secretNext) {
                bareSecret(false);
                forget();
            } else if (isIdentifierStart(c)) {
                identifier();
            } else {
                forget();
                m_out += c;
                ++m_pos;
            }
        }
        return m_out;
    }

private:
    // One past the end of the literal that opens at pos (the text end when unterminated),
    // and whether it was closed.
    qsizetype literalEnd(qsizetype open, bool *closed) const
    {
        const QChar quote = m_in.at(open);
        for (qsizetype i = open + 1; i < m_in.size(); ++i) {
            if (m_in.at(i) == QLatin1Char('\\'))
                ++i;
            else if (m_in.at(i) == quote) {
                *closed = true;
                return i + 1;
            }
        }
        *closed = false;
        return m_in.size();
    }

    void forget()
    {
        m_afterSecretName = false;
        m_secretNext = false;
    }

    // An unquoted value: hidden up to the next "," or ")" (inside a call's
    // arguments) or also white space (after a column).
    void bareSecret(bool inArguments)
    {
        while (m_pos < m_in.size() && (inArguments || !m_in.at(m_pos).isSpace())
               && m_in.at(m_pos) != QLatin1Char(',') && m_in.at(m_pos) != QLatin1Char(')'))
            ++m_pos;
        m_out += QLatin1String(dbMaskedValue);
    }

    // Copies (or masks) the literal at the current position.
    void literal(bool secret)
    {
        const QChar quote = m_in.at(m_pos);
        bool closed = false;
        const qsizetype end = literalEnd(m_pos, &closed);
        const QStringView body
                = QStringView(m_in).mid(m_pos + 1, end - m_pos - 1 - (closed ? 1 : 0));
        m_out += quote;
        if (secret) {
            m_out += QLatin1String(dbMaskedValue);
        } else if (body.startsWith(QLatin1String("NUL:"))) {
            // Plain passwords travel as 'NUL:<password>' in any column.
            m_out += QLatin1String("NUL:");
            m_out += QLatin1String(dbMaskedValue);
        } else {
            m_out += body;
        }
        if (closed)
            m_out += quote;
        m_pos = end;
    }

    void identifier()
    {
        const qsizetype begin = m_pos;
        while (m_pos < m_in.size() && isIdentifierPart(m_in.at(m_pos)))
            ++m_pos;
        const QStringView name = QStringView(m_in).mid(begin, m_pos - begin);
        m_out += name;

        // "like" compares as "=" does.
        if (m_afterSecretName && name.compare(QLatin1String("like"), Qt::CaseInsensitive) == 0) {
            m_secretNext = true;
            m_afterSecretName = false;
            return;
        }
        m_secretNext = false;
        m_afterSecretName = name.contains(QLatin1String("pass"), Qt::CaseInsensitive);

        qsizetype next = m_pos;
        while (next < m_in.size() && m_in.at(next).isSpace())
            ++next;
        if (next < m_in.size() && m_in.at(next) == QLatin1Char('(')) {
            const int secretIndex = passwordArgument(name);
            if (secretIndex >= 0) {
                m_afterSecretName = false;
                m_out += QStringView(m_in).mid(m_pos, next + 1 - m_pos);
                m_pos = next + 1;
                arguments(secretIndex);
            }
        }
    }

    // The arguments of a call up to its ")", masking the one at secretIndex.
    void arguments(int secretIndex)
    {
        int index = 0;
        int depth = 0;
        while (m_pos < m_in.size()) {
            const QChar c = m_in.at(m_pos);
            if (isQuote(c)) {
                literal(index == secretIndex && depth == 0);
                continue;
            }
            if (c == QLatin1Char('(')) {
                ++depth;
            } else if (c == QLatin1Char(')')) {
                if (depth == 0) {
                    m_out += c;
                    ++m_pos;
                    return;
                }
                --depth;
            } else if (c == QLatin1Char(',') && depth == 0) {
                ++index;
            } else if (index == secretIndex && depth == 0 && !c.isSpace()) {
                bareSecret(true);
                continue;
            }
            m_out += c;
            ++m_pos;
        }
    }

    const QString &m_in;
    QString m_out;
    qsizetype m_pos = 0;
    // The last word was a column whose name mentions a password.
    bool m_afterSecretName = false;
    // The next literal is compared with or assigned to such a column.
    bool m_secretNext = false;
};

} // namespace

QString dbMaskSecrets(const QString &query)
{
    return Masker(query).run();
}

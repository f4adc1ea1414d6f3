#include "forms/utmailaddressvalidator.h"

UtMailAddressValidator::UtMailAddressValidator(int flags, QObject *parent)
    : QValidator(parent)
    , m_flags(flags)
{ }

bool UtMailAddressValidator::isAddressCharacter(QChar c)
{
    const char16_t code = c.unicode();
    if (code < u'&' || code > u'~')
        return false;
    switch (code) {
    case u'(':
    case u')':
    case u'*':
    case u',':
    case u'/':
    case u':':
    case u';':
    case u'<':
    case u'>':
    case u'[':
    case u'\\':
    case u']':
    case u'`':
    case u'|':
        return false;
    default:
        return true;
    }
}

QValidator::State UtMailAddressValidator::validate(QString &text, int &) const
{
    if (text.isEmpty())
        return Intermediate;
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    if (text.count(QLatin1Char('@')) > 1)
        return Invalid;
    if (text.startsWith(QLatin1Char('.')) || text.contains(QLatin1String(".@"))
        || text.contains(QLatin1String("@.")) || text.contains(QLatin1String("..")))
        return Invalid;
    const bool localPartOnly = m_flags & LocalPartOnly;
    if (localPartOnly && at >= 0)
        return Invalid;
    for (const QChar c : text) {
        if (!isAddressCharacter(c))
            return Invalid;
    }
    if (text.endsWith(QLatin1Char('.')))
        return Intermediate;
    if (localPartOnly)
        return Acceptable;
    if (at <= 0 || at == text.size() - 1)
        return Intermediate;
    return Acceptable;
}

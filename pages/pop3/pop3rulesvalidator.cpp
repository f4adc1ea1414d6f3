#include "pages/pop3/pop3rulesvalidator.h"

Pop3RulesValidator::Pop3RulesValidator(bool loneWildcardAllowed, QObject *parent)
    : UtMailAddressValidator(0, parent)
    , m_loneWildcard(loneWildcardAllowed)
{ }

QValidator::State Pop3RulesValidator::validate(QString &text, int &pos) const
{
    if (text.isEmpty())
        return Intermediate;
    if (text == QLatin1String("*"))
        return m_loneWildcard ? Acceptable : Intermediate;
    const qsizetype wildcards = text.count(QLatin1Char('*'));
    if (wildcards >= 2)
        return Invalid;
    if (wildcards == 1) {
        if (!text.startsWith(QLatin1String("*@")))
            return Invalid;
        // The wildcard stands for a local part: judge the address it makes.
        QString address = text;
        address[0] = QLatin1Char('a');
        int position = pos;
        return UtMailAddressValidator::validate(address, position);
    }
    return UtMailAddressValidator::validate(text, pos);
}

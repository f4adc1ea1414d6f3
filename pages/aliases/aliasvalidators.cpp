#include "pages/aliases/aliasvalidators.h"

namespace {
// Group references of an alias leave room for the brackets.
constexpr int kGroupReferenceLength = 253;
} // namespace

AliasLhsValidator::AliasLhsValidator(QObject *parent)
    : UtMailAddressValidator(LocalPartOnly, parent)
{ }

QValidator::State AliasLhsValidator::validate(QString &text, int &pos) const
{
    if (text.contains(QLatin1String("**")))
        return Invalid;
    QString rest = text;
    rest.remove(QLatin1Char('*'));
    // "*" alone is the catch-all alias of the domain.
    if (rest.isEmpty() && !text.isEmpty())
        return Acceptable;
    int restPos = qMin(pos, int(rest.size()));
    return UtMailAddressValidator::validate(rest, restPos);
}

AliasRhsValidator::AliasRhsValidator(QObject *parent)
    : UtMailAddressValidator(0, parent)
    , m_group(new GroupValidator(kGroupReferenceLength, this))
{ }

QValidator::State AliasRhsValidator::validate(QString &text, int &pos) const
{
    const bool opens = text.startsWith(QLatin1Char('['));
    const bool closes = text.endsWith(QLatin1Char(']')) && (text.size() > 1 || !opens);
    if (!opens && !closes)
        return UtMailAddressValidator::validate(text, pos);
    QString inside = text.mid(opens ? 1 : 0);
    if (closes)
        inside.chop(1);
    int insidePos = qMin(pos, int(inside.size()));
    const State state = m_group->validate(inside, insidePos);
    if (state == Acceptable && !(opens && closes))
        return Intermediate;
    // A bracket typed first leaves the name to come.
    if (state == Invalid && inside.isEmpty())
        return Intermediate;
    return state;
}

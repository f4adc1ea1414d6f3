#include "forms/utjoinvalidator.h"

UtJoinValidator::UtJoinValidator(Mode mode, QObject *parent)
    : QValidator(parent)
    , m_mode(mode)
{ }

void UtJoinValidator::addValidator(QValidator *validator, bool inverted, bool softened)
{
    if (!validator)
        return;
    validator->setParent(this);
    m_members.append({validator, inverted, softened});
}

QValidator::State UtJoinValidator::validate(QString &text, int &pos) const
{
    bool anyInvalid = false;
    bool anyIntermediate = false;
    bool anyAcceptable = false;
    for (const Member &member : m_members) {
        // Each member judges its own copy: none may change what was typed.
        QString copy = text;
        int copyPos = pos;
        State state = member.validator->validate(copy, copyPos);
        if (member.inverted)
            state = state == Acceptable ? Invalid : Acceptable;
        if (member.softened && state == Invalid)
            state = Intermediate;
        anyInvalid |= state == Invalid;
        anyIntermediate |= state == Intermediate;
        anyAcceptable |= state == Acceptable;
    }
    if (m_mode == All) {
        if (anyInvalid)
            return Invalid;
        return anyIntermediate ? Intermediate : Acceptable;
    }
    if (anyAcceptable)
        return Acceptable;
    return anyIntermediate ? Intermediate : Invalid;
}

#include "forms/utlengthvalidator.h"

UtLengthValidator::UtLengthValidator(int maximumBytes, QValidator *inner, QObject *parent)
    : QValidator(parent)
    , m_maximumBytes(maximumBytes)
    , m_inner(inner)
{
    if (inner)
        inner->setParent(this);
}

QValidator::State UtLengthValidator::validate(QString &text, int &pos) const
{
    if (text.toUtf8().size() > m_maximumBytes)
        return Invalid;
    return m_inner ? m_inner->validate(text, pos) : Acceptable;
}

#include "forms/bspinbox.h"

#include "forms/utnumvalidator.h"

#include <QSignalBlocker>

BSpinBoxBaseValidator::BSpinBoxBaseValidator(BSpinBoxBase *box)
    : QValidator(box)
    , m_box(box)
{ }

QValidator::State BSpinBoxBaseValidator::validate(QString &text, int &pos) const
{
    QString value = m_box->cleanValueText(text);
    if (!m_box->specialValueText().isEmpty() && text == m_box->specialValueText())
        return Acceptable;
    const UtNumValidator<int> range(m_box->minimum(), m_box->maximum());
    return range.validate(value, pos);
}

BSpinBoxBase::BSpinBoxBase(QWidget *parent)
    : QSpinBox(parent)
    , m_validator(new BSpinBoxBaseValidator(this))
{
    connect(this, &QSpinBox::textChanged, this,
            [this](const QString &text) { emit valueChanged(text); });
}

QString BSpinBoxBase::cleanValueText(const QString &text) const
{
    QString value = text;
    if (!prefix().isEmpty() && value.startsWith(prefix()))
        value.remove(0, prefix().size());
    if (!suffix().isEmpty() && value.endsWith(suffix()))
        value.chop(suffix().size());
    return value.trimmed();
}

QValidator::State BSpinBoxBase::validate(QString &text, int &pos) const
{
    return m_validator->validate(text, pos);
}

void BSpinBoxBase::_setValue(int value)
{
    const QSignalBlocker blocker(this);
    setValue(value);
}

BSpinBox::BSpinBox(QWidget *parent)
    : BSpinBoxBase(parent)
{ }

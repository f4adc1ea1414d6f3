#include "pages/smtp/limitbox.h"

#include "forms/bspinbox.h"

#include <QCheckBox>

LimitBox::LimitBox(QCheckBox *check, BSpinBox *spin, int maximum, QObject *parent)
    : QObject(parent)
    , m_check(check)
    , m_spin(spin)
{
    m_spin->setRange(1, maximum);
    connect(m_check, &QCheckBox::toggled, this, [this] {
        updateEnabled();
        emit signalChanged();
    });
    connect(m_spin, &BSpinBoxBase::valueChanged, this, &LimitBox::signalChanged);
    updateEnabled();
}

void LimitBox::load(const QString &stored)
{
    const int value = stored.toInt();
    const bool blocked = m_check->blockSignals(true);
    m_check->setChecked(value > 0);
    m_check->blockSignals(blocked);
    m_spin->_setValue(value > 0 ? value : m_spin->minimum());
    updateEnabled();
}

QString LimitBox::value() const
{
    return QString::number(m_check->isChecked() ? m_spin->value() : 0);
}

bool LimitBox::isValid() const
{
    return !m_check->isChecked() || m_spin->hasAcceptableInput();
}

void LimitBox::setEnabled(bool enabled)
{
    m_enabled = enabled;
    updateEnabled();
}

void LimitBox::updateEnabled()
{
    m_check->setEnabled(m_enabled);
    m_spin->setEnabled(m_enabled && m_check->isChecked());
}

#include "forms/bdummylineedit.h"

#include <QFocusEvent>

BDummyLineEdit::BDummyLineEdit(QWidget *parent)
    : BLineEdit(parent)
    , m_dummyText(defaultDummyText())
{
    connect(this, &QLineEdit::textChanged, this, &BDummyLineEdit::slotTextChanged);
    showDummy();
}

QString BDummyLineEdit::defaultDummyText()
{
    return tr("[To change this setting, click here]");
}

void BDummyLineEdit::setDummyText(const QString &text)
{
    m_dummyText = text;
    if (m_dummyShown)
        showDummy();
}

void BDummyLineEdit::setOwnEchoMode(EchoMode mode)
{
    m_ownEchoMode = mode;
    if (!m_dummyShown)
        setEchoMode(mode);
}

void BDummyLineEdit::showDummy()
{
    m_switching = true;
    m_dummyShown = true;
    setEchoMode(Normal);
    setText(m_dummyText);
    m_switching = false;
    emit signalTextIsValid(true);
}

void BDummyLineEdit::removeDummy()
{
    if (!m_dummyShown)
        return;
    m_switching = true;
    m_dummyShown = false;
    clear();
    setEchoMode(m_ownEchoMode);
    m_switching = false;
    slotTextChanged(text());
}

QString BDummyLineEdit::value() const
{
    return m_dummyShown ? QString() : text();
}

void BDummyLineEdit::slotTextChanged(const QString &)
{
    if (m_switching)
        return;
    emit signalTextIsValid(m_dummyShown || hasAcceptableInput());
}

namespace {

// A popup menu taking and returning focus, or the window being activated, is
// not the administrator stepping into or out of the field.
bool isAdministratorsMove(const QFocusEvent *event)
{
    return event->reason() != Qt::PopupFocusReason
            && event->reason() != Qt::ActiveWindowFocusReason;
}

} // namespace

void BDummyLineEdit::focusInEvent(QFocusEvent *event)
{
    if (isAdministratorsMove(event) && !isReadOnly())
        removeDummy();
    BLineEdit::focusInEvent(event);
}

void BDummyLineEdit::focusOutEvent(QFocusEvent *event)
{
    BLineEdit::focusOutEvent(event);
    if (isAdministratorsMove(event) && !m_dummyShown && text().isEmpty())
        showDummy();
}

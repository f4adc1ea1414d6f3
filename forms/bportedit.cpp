#include "forms/bportedit.h"

#include "forms/bmessagebox.h"
#include "forms/utportvalidator.h"

#include <QTabWidget>

BPortEdit::BPortEdit(QWidget *parent)
    : BLineEdit(parent)
    , m_validator(new UtPortValidator(1, 65535, false, this))
{
    setValidator(m_validator);
}

bool BPortEdit::listOfPortsAndRanges() const
{
    return m_validator->listsAllowed();
}

void BPortEdit::setListOfPortsAndRanges(bool allowed)
{
    m_validator->setListsAllowed(allowed);
}

QString BPortEdit::problem() const
{
    QString value = text();
    int pos = 0;
    if (m_validator->validate(value, pos) == QValidator::Acceptable)
        return {};
    if (value.contains(QLatin1Char(',')))
        return tr("Invalid port list.");
    if (value.contains(QLatin1Char('-')))
        return tr("Invalid port or port range.");
    return tr("Invalid port number.");
}

bool BPortEdit::checkValue()
{
    const QString message = problem();
    if (message.isEmpty())
        return true;
    // Bring every tab page on the way to this edit to the front.
    QWidget *child = this;
    for (QWidget *parent = parentWidget(); parent;
         child = parent, parent = parent->parentWidget()) {
        if (auto *tabs = qobject_cast<QTabWidget *>(parent)) {
            for (int i = 0; i < tabs->count(); ++i) {
                if (tabs->widget(i) == child || tabs->widget(i)->isAncestorOf(this)) {
                    tabs->setCurrentIndex(i);
                    break;
                }
            }
        }
    }
    bmessagebox::warning(this, message);
    setFocus(Qt::OtherFocusReason);
    return false;
}

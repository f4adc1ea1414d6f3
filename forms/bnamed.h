#pragma once

#include <QString>

namespace bview {

// Gives a widget the object name tests and the dialog's own code find it by,
// where the widget is made.
template<class W>
W *named(W *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace bview

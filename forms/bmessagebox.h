#pragma once

#include <QMessageBox>

class QWidget;

// Message boxes of the framework. Every box is captioned with the registry's
// "utKontCaption" text so all of them read as the console's own.
namespace bmessagebox {

QString caption();

void warning(QWidget *parent, const QString &text);
void critical(QWidget *parent, const QString &text);
// The save question: Yes (default), No and Cancel (escape).
QMessageBox::StandardButton askSave(QWidget *parent, const QString &text);

} // namespace bmessagebox

#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// Message boxes whose text comes from outside the console (the server, the
// network, a file or the administrator): the text is shown exactly as it is,
// never interpreted as rich text, so a server cannot place links, pictures or
// formatting in the console's own windows.
namespace FMessageBox {

QMessageBox::StandardButton critical(QWidget *parent, const QString &caption, const QString &text);
QMessageBox::StandardButton warning(QWidget *parent, const QString &caption, const QString &text);
QMessageBox::StandardButton information(QWidget *parent, const QString &caption,
                                        const QString &text);

} // namespace FMessageBox

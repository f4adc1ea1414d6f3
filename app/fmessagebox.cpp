#include "app/fmessagebox.h"

namespace {

QMessageBox::StandardButton showPlain(QMessageBox::Icon icon, QWidget *parent,
                                      const QString &caption, const QString &text)
{
    QMessageBox box(icon, caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace

namespace FMessageBox {

QMessageBox::StandardButton critical(QWidget *parent, const QString &caption, const QString &text)
{
    return showPlain(QMessageBox::Critical, parent, caption, text);
}

QMessageBox::StandardButton warning(QWidget *parent, const QString &caption, const QString &text)
{
    return showPlain(QMessageBox::Warning, parent, caption, text);
}

QMessageBox::StandardButton information(QWidget *parent, const QString &caption,
                                        const QString &text)
{
    return showPlain(QMessageBox::Information, parent, caption, text);
}

} // namespace FMessageBox

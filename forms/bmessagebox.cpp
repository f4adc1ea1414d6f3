#include "forms/bmessagebox.h"

#include "registry/utkeys.h"
#include "registry/utkontainer.h"

namespace bmessagebox {

QString caption()
{
    return UtKontainer::getText(UtKey::Caption);
}

void warning(QWidget *parent, const QString &text)
{
    QMessageBox::warning(parent, caption(), text);
}

void critical(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, caption(), text);
}

QMessageBox::StandardButton askSave(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Warning, caption(), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

} // namespace bmessagebox

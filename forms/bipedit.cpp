#include "forms/bipedit.h"

#include "forms/utipvalidator.h"

BIPEdit::BIPEdit(QWidget *parent)
    : BLineEdit(parent)
{
    setValidator(new UtIPValidator(this));
    setMaxLength(15);
}

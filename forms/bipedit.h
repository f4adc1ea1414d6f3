#pragma once

#include "forms/blineedit.h"

// A line edit for a dotted IPv4 address.
class BIPEdit : public BLineEdit
{
    Q_OBJECT
public:
    explicit BIPEdit(QWidget *parent = nullptr);
    bool isComplete() const { return hasAcceptableInput(); }
};

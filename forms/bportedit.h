#pragma once

#include "forms/blineedit.h"

class UtPortValidator;

// A line edit for a port, or with "ListOfPortsAndRanges" for a list of ports
// and ranges. checkValue() is the check on OK: on failure it tells the
// administrator what is wrong, brings the tab page holding the edit to the
// front and puts the focus into it.
class BPortEdit : public BLineEdit
{
    Q_OBJECT
    Q_PROPERTY(bool ListOfPortsAndRanges READ listOfPortsAndRanges WRITE setListOfPortsAndRanges)
public:
    explicit BPortEdit(QWidget *parent = nullptr);

    bool listOfPortsAndRanges() const;
    void setListOfPortsAndRanges(bool allowed);
    UtPortValidator *portValidator() const { return m_validator; }

    // The message for the current text, empty when the text is acceptable.
    QString problem() const;
    bool checkValue();

private:
    UtPortValidator *m_validator;
};

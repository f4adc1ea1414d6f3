#pragma once

#include "forms/bdummylineedit.h"

// A password field: password echo once typed into, and a placeholder that
// says whether a password is already stored or a new one is to be defined.
class BPwdLineEdit : public BDummyLineEdit
{
    Q_OBJECT
public:
    explicit BPwdLineEdit(QWidget *parent = nullptr);

    static QString storedPasswordText();
    static QString newPasswordText();

    // Chooses the placeholder and shows it.
    void setPasswordStored(bool stored);
    bool isPasswordStored() const { return m_stored; }
    // True once the administrator typed a password.
    bool isPasswordChanged() const { return !isDummy(); }

private:
    bool m_stored = false;
};

#include "forms/bpwdlineedit.h"

BPwdLineEdit::BPwdLineEdit(QWidget *parent)
    : BDummyLineEdit(parent)
{
    setOwnEchoMode(Password);
    setPasswordStored(false);
}

QString BPwdLineEdit::storedPasswordText()
{
    return tr("[To change the saved password, click here]");
}

QString BPwdLineEdit::newPasswordText()
{
    return tr("[To define a new password, click here]");
}

void BPwdLineEdit::setPasswordStored(bool stored)
{
    m_stored = stored;
    setDummyText(stored ? storedPasswordText() : newPasswordText());
    showDummy();
}

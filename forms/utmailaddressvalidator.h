#pragma once

#include <QValidator>

// Characters and shape of a mail address, or of its local part alone.
class UtMailAddressValidator : public QValidator
{
    Q_OBJECT
public:
    enum Flag { LocalPartOnly = 1 };

    explicit UtMailAddressValidator(int flags = 0, QObject *parent = nullptr);
    State validate(QString &text, int &pos) const override;

    static bool isAddressCharacter(QChar c);

private:
    int m_flags;
};

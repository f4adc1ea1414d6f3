#pragma once

#include <QValidator>

// The dialling prefix of the fax plugin: up to 16 of the characters a dialler
// understands (digits, "*", "#", "+", "," for a pause); empty means no prefix.
class UtFaxPrefixValidator : public QValidator
{
    Q_OBJECT
public:
    explicit UtFaxPrefixValidator(QObject *parent = nullptr);
    State validate(QString &text, int &pos) const override;
};

// A fax number: up to 64 characters of digits, "+" (first only), and the
// separators people write numbers with (" ", "-", "/", "(", ")"); it needs at
// least one digit to be complete.
class UtFaxNumberValidator : public QValidator
{
    Q_OBJECT
public:
    explicit UtFaxNumberValidator(QObject *parent = nullptr);
    State validate(QString &text, int &pos) const override;
};

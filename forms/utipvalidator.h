#pragma once

#include <QValidator>

// Dotted IPv4 address: four parts of at most three digits, each up to 255.
class UtIPValidator : public QValidator
{
    Q_OBJECT
public:
    explicit UtIPValidator(QObject *parent = nullptr);
    State validate(QString &text, int &pos) const override;
};

#pragma once

#include "forms/groupvalidator.h"
#include "forms/utmailaddressvalidator.h"

// The alias name: a local part that may hold "*" wildcards, never "**".
class AliasLhsValidator : public UtMailAddressValidator
{
    Q_OBJECT
public:
    explicit AliasLhsValidator(QObject *parent = nullptr);
    State validate(QString &text, int &pos) const override;
};

// The alias target typed as text: an address, or a group reference in
// square brackets ("[sales]").
class AliasRhsValidator : public UtMailAddressValidator
{
    Q_OBJECT
public:
    explicit AliasRhsValidator(QObject *parent = nullptr);
    State validate(QString &text, int &pos) const override;

private:
    GroupValidator *m_group;
};

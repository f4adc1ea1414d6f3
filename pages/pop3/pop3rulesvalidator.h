#pragma once

#include "forms/utmailaddressvalidator.h"

// A sort address or a deliver-to address of a sorting rule: a mail address,
// "*@" followed by a domain, and (where allowed) "*" alone for any address.
class Pop3RulesValidator : public UtMailAddressValidator
{
    Q_OBJECT
public:
    explicit Pop3RulesValidator(bool loneWildcardAllowed, QObject *parent = nullptr);

    State validate(QString &text, int &pos) const override;
    bool loneWildcardAllowed() const { return m_loneWildcard; }

private:
    bool m_loneWildcard;
};

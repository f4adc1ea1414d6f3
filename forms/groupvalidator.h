#pragma once

#include "forms/utjoinvalidator.h"

// Group names and group references: 1 to maximumLength characters, none of
// ",", "@", "[" or "]".
class GroupValidator : public UtJoinValidator
{
    Q_OBJECT
public:
    explicit GroupValidator(int maximumLength, QObject *parent = nullptr);
};

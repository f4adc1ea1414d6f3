#include "forms/groupvalidator.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

GroupValidator::GroupValidator(int maximumLength, QObject *parent)
    : UtJoinValidator(All, parent)
{
    const QRegularExpression pattern(QStringLiteral("[^,@\\]\\[]{1,%1}").arg(maximumLength));
    addValidator(new QRegularExpressionValidator(pattern, this));
}

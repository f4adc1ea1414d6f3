#include "forms/pvnuserloginvalidator.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

namespace {

QValidator *regexpMember(const QString &pattern, bool caseSensitive, QObject *parent)
{
    QRegularExpression expression(pattern);
    if (!caseSensitive)
        expression.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    return new QRegularExpressionValidator(expression, parent);
}

} // namespace

PvnUserLoginValidator::PvnUserLoginValidator(const QString &pattern, bool refuseReservedUsers,
                                             QObject *parent)
    : UtJoinValidator(All, parent)
{
    addValidator(regexpMember(pattern, true, this));
    // File names of the mail store and device names: allowed while typing only.
    addValidator(regexpMember(QStringLiteral("settings\\.usr|stats\\.usr|filter\\.siv|sub\\.fld|"
                                             "vacation\\.adr|deleted\\.fld|index\\.fld|"
                                             "properties\\.fld|search\\.fld|sort\\.fld|"
                                             "status\\.fld|sync\\.fld|acl\\.fld|con|prn|aux|nul|"
                                             "com1|com2|com3|com4|com5|com6|com7|com8|com9|"
                                             "lpt1|lpt2|lpt3|lpt4|lpt5|lpt6|lpt7|lpt8|lpt9"),
                              false, this),
                 true, true);
    if (refuseReservedUsers)
        addValidator(regexpMember(QStringLiteral("anyone|authuser"), false, this), true, true);
    // A leading dot, or a device name followed by a dot, can never become valid.
    addValidator(regexpMember(QStringLiteral("(\\.|con\\.|prn\\.|aux\\.|nul\\.|com1\\.|com2\\.|"
                                             "com3\\.|com4\\.|com5\\.|com6\\.|com7\\.|com8\\.|"
                                             "com9\\.|lpt1\\.|lpt2\\.|lpt3\\.|lpt4\\.|lpt5\\.|"
                                             "lpt6\\.|lpt7\\.|lpt8\\.|lpt9\\.).*"),
                              false, this),
                 true, false);
    addValidator(regexpMember(QStringLiteral(".*\\."), true, this), true, true);
    addValidator(regexpMember(QStringLiteral(".*\\.\\..*"), true, this), true, false);
}

#pragma once

#include <QList>
#include <QString>

class DBRow;
class QComboBox;
class QLineEdit;
class QValidator;
class DBTable;

// Scores, rule types and actions of the spam filter, shared by its tabs and
// dialogs.
namespace spamrules {

// Every score of the section is a whole number in this range.
inline constexpr int kMinScore = -10;
inline constexpr int kMaxScore = 10;
// The rating thresholds; the block score 10 disables blocking.
inline constexpr int kMaxThreshold = 10;

// The value of a signed score stored as its absolute value and a sign flag.
int signedScore(const DBRow &row, const char *scoreColumn, const char *negativeColumn);
// Stores value as its absolute value and 1 in the sign flag when below 0.
void storeSignedScore(DBRow &row, const char *scoreColumn, const char *negativeColumn, int value);
// True when the field's text is a score its validator accepts.
bool isAcceptable(const QLineEdit *edit);
// A validator of a signed score for edit.
QValidator *scoreValidator(QObject *parent);

// Rule types of "HeaderFilter", by index.
enum RuleType {
    TypeEmpty = 0,
    TypeMissing = 1,
    TypeAddress = 2,
    TypeDomain = 3,
    TypeSubstring = 4,
    TypeHex = 5,
    TypeCount = 6
};
QString typeText(int type);
// Types 2 to 5 test a content; 0 and 1 carry none.
bool typeTakesContent(int type);
// The content of a type-5 rule: hexadecimal digits only.
QValidator *hexValidator(QObject *parent);

// Rule and blacklist actions.
enum RuleAction { ActionSpam = 0, ActionNonSpam = 1, ActionScore = 2 };
// The "Action" column of the rules list: the action, with its signed score.
QString ruleActionText(const DBRow &row);

// Seconds in count hours (unit 0) or days (unit 1).
qint64 thresholdSeconds(int count, int unit);
// Positions of the stored rules that nobody used for longer than threshold
// seconds at the server time now, from the last to the first. Rules that
// exist only in the page (not stored yet) are never among them.
QList<int> unusedRules(const DBTable &rules, qint64 now, qint64 threshold);

// Fills combo with an empty entry and the distinct "Name"s of the IP address
// groups, and selects current (added when the server no longer has it).
void fillGroupCombo(QComboBox *combo, const DBTable &groups, const QString &current);

} // namespace spamrules

#include "pages/spamfilter/spamrules.h"

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/utnumvalidator.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSet>

#include <cstdlib>

namespace spamrules {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("SpamFilterCustomRulesItem", text);
}

} // namespace

int signedScore(const DBRow &row, const char *scoreColumn, const char *negativeColumn)
{
    const int score = row.text(QLatin1String(scoreColumn)).toInt();
    return row.text(QLatin1String(negativeColumn)).toInt() != 0 ? -score : score;
}

void storeSignedScore(DBRow &row, const char *scoreColumn, const char *negativeColumn, int value)
{
    row.setNumber(QLatin1String(scoreColumn), std::abs(value));
    row.setNumber(QLatin1String(negativeColumn), value < 0 ? 1 : 0);
}

bool isAcceptable(const QLineEdit *edit)
{
    QString text = edit->text().trimmed();
    int pos = 0;
    return edit->validator() && edit->validator()->validate(text, pos) == QValidator::Acceptable;
}

QValidator *scoreValidator(QObject *parent)
{
    return new UtNumValidator<int>(kMinScore, kMaxScore, parent);
}

QString typeText(int type)
{
    static const char *const texts[TypeCount] = {
            QT_TRANSLATE_NOOP("SpamFilterCustomRulesDlg", "is empty"),
            QT_TRANSLATE_NOOP("SpamFilterCustomRulesDlg", "is missing"),
            QT_TRANSLATE_NOOP("SpamFilterCustomRulesDlg", "contains address"),
            QT_TRANSLATE_NOOP("SpamFilterCustomRulesDlg", "contains domain"),
            QT_TRANSLATE_NOOP("SpamFilterCustomRulesDlg", "contains substring"),
            QT_TRANSLATE_NOOP("SpamFilterCustomRulesDlg", "contains binary hex string"),
    };
    if (type < 0 || type >= TypeCount)
        return QString::number(type);
    return QCoreApplication::translate("SpamFilterCustomRulesDlg", texts[type]);
}

bool typeTakesContent(int type)
{
    return type >= TypeAddress && type <= TypeHex;
}

QValidator *hexValidator(QObject *parent)
{
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("([0-9a-fA-F]*)")),
                                           parent);
}

QString ruleActionText(const DBRow &row)
{
    const int action = row.text(QLatin1String("Action")).toInt();
    switch (action) {
    case ActionSpam:
        return tr("Reject as spam");
    case ActionNonSpam:
        return tr("Non-spam");
    case ActionScore:
        return tr("Add score %1").arg(signedScore(row, "Score", "ScoreNegative"));
    default:
        return row.text(QLatin1String("Action"));
    }
}

qint64 thresholdSeconds(int count, int unit)
{
    return qint64(count) * (unit == 1 ? 86400 : 3600);
}

QList<int> unusedRules(const DBTable &rules, qint64 now, qint64 threshold)
{
    QList<int> positions;
    for (int i = rules.rowCount() - 1; i >= 0; --i) {
        const DBRow *row = rules.row(i);
        if (rules.indexInConfirmed(row->rowNumber()) < 0)
            continue; // added in the page: nothing has matched it yet
        const qint64 lastHit = row->text(QLatin1String("LastHitTimeStamp")).toLongLong();
        if (now - lastHit > threshold)
            positions.append(i);
    }
    return positions;
}

void fillGroupCombo(QComboBox *combo, const DBTable &groups, const QString &current)
{
    combo->clear();
    combo->addItem(QString());
    QSet<QString> seen;
    for (const DBRow *row : groups.rows()) {
        const QString name = row->text(QLatin1String("Name"));
        if (name.isEmpty() || seen.contains(name))
            continue;
        seen.insert(name);
        combo->addItem(name);
    }
    int index = combo->findText(current, Qt::MatchExactly);
    if (index < 0) {
        combo->addItem(current);
        index = combo->count() - 1;
    }
    combo->setCurrentIndex(index);
}

} // namespace spamrules

#include "logs/flogrules.h"

#include <algorithm>

namespace fwndlog {

bool FLogRule::matches(const QString &text) const
{
    if (condition.isEmpty())
        return false;
    if (isRegularExpression)
        return expression.isValid() && expression.match(text).hasMatch();
    return text.contains(condition, Qt::CaseSensitive);
}

void FLogRules::setRows(const QStringList &columns, const QList<QStringList> &rows)
{
    const auto index = [&columns](const char *name) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns.at(i).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    };
    const int id = index("Id"), enabled = index("Enabled"), order = index("Order"),
              description = index("Description"), condition = index("Condition"),
              regExp = index("IsRegularExpression"), color = index("Color");
    QList<FLogRule> rules;
    for (const QStringList &row : rows) {
        FLogRule rule;
        rule.id = row.value(id);
        rule.enabled = enabled < 0 || row.value(enabled).toLongLong() != 0;
        rule.order = row.value(order).toLongLong();
        rule.description = row.value(description);
        rule.condition = row.value(condition);
        rule.isRegularExpression = row.value(regExp).toLongLong() != 0;
        rule.color = QColor::fromString(row.value(color).trimmed());
        rules.append(rule);
    }
    setRules(std::move(rules));
}

void FLogRules::setRules(QList<FLogRule> rules)
{
    m_rules.clear();
    for (FLogRule &rule : rules) {
        if (!rule.enabled)
            continue;
        if (rule.isRegularExpression)
            rule.expression = QRegularExpression(rule.condition);
        m_rules.append(std::move(rule));
    }
    std::stable_sort(m_rules.begin(), m_rules.end(),
                     [](const FLogRule &a, const FLogRule &b) { return a.order < b.order; });
}

QColor FLogRules::colorOf(const QString &text, const QColor &fallback) const
{
    for (const FLogRule &rule : m_rules) {
        if (rule.matches(text))
            return rule.color.isValid() ? rule.color : fallback;
    }
    return fallback;
}

QString colorName(const QColor &color)
{
    return QString::asprintf("#%02x%02x%02x", color.red(), color.green(), color.blue());
}

} // namespace fwndlog

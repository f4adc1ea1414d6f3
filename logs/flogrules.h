#pragma once

#include <QColor>
#include <QList>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

namespace fwndlog {

// One highlighting rule of the shared "LogHighlighting" table.
struct FLogRule
{
    QString id;
    bool enabled = true;
    qint64 order = 0;
    QString description;
    QString condition;
    bool isRegularExpression = false;
    QColor color;
    QRegularExpression expression; // compiled when isRegularExpression

    bool matches(const QString &text) const;
};

// The enabled rules in ascending order; the first one that matches a line
// gives its background.
class FLogRules
{
public:
    // From the rows of "select * from LogHighlighting" (cells as text).
    void setRows(const QStringList &columns, const QList<QStringList> &rows);
    void setRules(QList<FLogRule> rules);
    const QList<FLogRule> &rules() const { return m_rules; }
    bool isEmpty() const { return m_rules.isEmpty(); }
    QColor colorOf(const QString &text, const QColor &fallback) const;

private:
    QList<FLogRule> m_rules; // enabled only, ascending order
};

// "#rrggbb" in lower case, the form colours are stored in.
QString colorName(const QColor &color);

} // namespace fwndlog

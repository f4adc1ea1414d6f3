#include "pages/usergroups/pvnauthorization.h"

#include "db/dbrow.h"

namespace PvnAuthorization {

QStringList words(const QString &text)
{
    return text.split(QLatin1Char(','), Qt::SkipEmptyParts);
}

bool has(const QString &text, const QString &word)
{
    return words(text).contains(word);
}

QString set(const QString &text, const QString &word, bool on)
{
    if (word.isEmpty() || has(text, word) == on)
        return text;
    if (on)
        return text.isEmpty() ? word : text + QLatin1Char(',') + word;
    QStringList kept = words(text);
    kept.removeAll(word);
    return kept.join(QLatin1Char(','));
}

bool has(const DBRow &row, const QString &word)
{
    return has(row.text(kColumn), word);
}

void set(DBRow *row, const QString &word, bool on)
{
    if (!row)
        return;
    const QString old = row->text(kColumn);
    const QString changed = set(old, word, on);
    if (changed != old)
        row->setText(kColumn, changed);
}

} // namespace PvnAuthorization

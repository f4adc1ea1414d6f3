#include "pages/definitions/ipentry.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace ipentry {

namespace {

// "^['](.*)[']$": a host name in single quotes.
bool isQuoted(const QString &value)
{
    return value.size() >= 2 && value.front() == QLatin1Char('\'')
            && value.back() == QLatin1Char('\'');
}

} // namespace

Parts parse(const QString &value)
{
    Parts parts;
    if (isQuoted(value)) {
        parts.type = Host;
        parts.first = value.mid(1, value.size() - 2);
    } else if (value.startsWith(QLatin1Char('='))) {
        parts.type = Group;
        parts.first = value.mid(1);
    } else if (const qsizetype slash = value.lastIndexOf(QLatin1Char('/')); slash >= 0) {
        parts.type = Network;
        parts.first = value.left(slash);
        parts.second = value.mid(slash + 1);
    } else if (const qsizetype dash = value.lastIndexOf(QLatin1Char('-')); dash >= 0) {
        parts.type = Range;
        parts.first = value.left(dash);
        parts.second = value.mid(dash + 1);
    } else {
        parts.type = Host;
        parts.first = value;
    }
    return parts;
}

QString encode(const Parts &parts, bool allowHostNames)
{
    switch (parts.type) {
    case Host:
        if (allowHostNames && !isValidAddress(parts.first))
            return QLatin1Char('\'') + parts.first + QLatin1Char('\'');
        return parts.first;
    case Network:
        return parts.first + QLatin1Char('/') + parts.second;
    case Range:
        return parts.first + QLatin1Char('-') + parts.second;
    case Group:
        return QLatin1Char('=') + parts.first;
    }
    return parts.first;
}

QString itemText(const QString &value)
{
    if (isQuoted(value))
        return value.mid(1, value.size() - 2);
    if (value.startsWith(QLatin1Char('=')))
        return value.mid(1);
    if (!value.contains(QLatin1Char('/')) && !value.contains(QLatin1Char('-')))
        return value;
    QString text = value;
    text.replace(QLatin1Char('/'), QStringLiteral(" / "));
    text.replace(QLatin1Char('-'),
                 QLatin1Char(' ') + QCoreApplication::translate("GIPGroupItem", "to")
                         + QLatin1Char(' '));
    return text;
}

bool isValidAddress(const QString &text)
{
    static const QRegularExpression digitsAndDots(QStringLiteral("^[0-9\\.]*$"));
    if (!digitsAndDots.match(text).hasMatch())
        return false;
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        bool ok = false;
        const int number = part.toInt(&ok);
        if (!ok || number < 0 || number > 255)
            return false;
    }
    return true;
}

quint32 addressValue(const QString &text)
{
    quint32 value = 0;
    for (const QString &part : text.split(QLatin1Char('.')))
        value = (value << 8) | (part.toUInt() & 0xffu);
    return value;
}

bool isValidMask(const QString &text)
{
    if (!isValidAddress(text))
        return false;
    const quint32 mask = addressValue(text);
    // Contiguous from the top: the inverted mask plus one is a power of two.
    const quint32 inverted = ~mask;
    return (inverted & (inverted + 1u)) == 0;
}

bool isValidNetwork(const QString &address, const QString &mask)
{
    if (address.isEmpty() || mask.isEmpty() || !isValidAddress(address) || !isValidMask(mask))
        return false;
    const quint32 network = addressValue(address);
    return (network & addressValue(mask)) == network;
}

bool isValidRange(const QString &first, const QString &last)
{
    if (!isValidAddress(first) || !isValidAddress(last))
        return false;
    const QString low = QString::asprintf("%018u", addressValue(first));
    const QString high = QString::asprintf("%018u", addressValue(last));
    return low < high;
}

bool isValidHostName(const QString &text)
{
    static const QRegularExpression label(
            QStringLiteral("^[A-Za-z0-9](?:[A-Za-z0-9-]{0,61}[A-Za-z0-9])?$"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (text.isEmpty() || text.size() > 253)
        return false;
    const QStringList labels = text.split(QLatin1Char('.'));
    for (const QString &part : labels) {
        if (!label.match(part).hasMatch())
            return false;
    }
    return !digits.match(labels.last()).hasMatch();
}

void GroupGraph::addGroup(const QString &group)
{
    if (!m_known.contains(group)) {
        m_known.insert(group);
        m_groups.append(group);
    }
}

void GroupGraph::addEntry(const QString &group, const QString &value)
{
    // Rows come grouped by name: most entries belong to the group before.
    if (m_groups.isEmpty() || m_groups.constLast() != group)
        addGroup(group);
    if (value.startsWith(QLatin1Char('=')))
        m_referencedBy[value.mid(1)].append(group);
}

QSet<QString> GroupGraph::groupsReaching(const QString &target) const
{
    QSet<QString> reached;
    QStringList queue{target};
    while (!queue.isEmpty()) {
        const QString name = queue.takeLast();
        const auto found = m_referencedBy.constFind(name);
        if (found == m_referencedBy.constEnd())
            continue;
        for (const QString &referrer : *found) {
            if (!reached.contains(referrer)) {
                reached.insert(referrer);
                queue.append(referrer);
            }
        }
    }
    return reached;
}

QStringList GroupGraph::referenceCandidates(const QString &group) const
{
    const QSet<QString> excluded = groupsReaching(group);
    QStringList names;
    for (const QString &name : m_groups) {
        if (name != group && !excluded.contains(name))
            names.append(name);
    }
    return names;
}

} // namespace ipentry

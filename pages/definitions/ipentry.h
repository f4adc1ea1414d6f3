#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// The stored form of one IP address group entry and the checks made on it.
namespace ipentry {

enum Type { Host = 0, Network = 1, Range = 2, Group = 3 };

// One entry split into its type and its one or two fields.
struct Parts
{
    Type type = Host;
    QString first; // host, network address, first address or group name
    QString second; // mask or last address
};

// Splits a stored value: 'name' is a host name, "=G" a group, "a/m" a network
// (split at the last "/"), "a-b" a range (split at the last "-"), anything
// else a host address.
Parts parse(const QString &value);
// The stored text of an entry. A host that is not a valid address is quoted
// when host names are allowed.
QString encode(const Parts &parts, bool allowHostNames);
// The text of the "Item" column.
QString itemText(const QString &value);

// Text matching "^[0-9\.]*$" with four dot-separated parts, each 0 to 255.
bool isValidAddress(const QString &text);
// The numeric (host-order) value of a valid dotted address.
quint32 addressValue(const QString &text);
// A valid address whose set bits are contiguous from the top.
bool isValidMask(const QString &text);
// Address AND mask equals the address, both valid, mask contiguous.
bool isValidNetwork(const QString &address, const QString &mask);
// Both ends valid and the first strictly lower than the last, compared as
// "%018u" texts of their numeric values.
bool isValidRange(const QString &first, const QString &last);
// A DNS host name: dot-separated labels of letters, digits and hyphens, the
// last one not only digits (so "10.1" is no name).
bool isValidHostName(const QString &text);

// The references between groups: group name -> names its "=" entries refer to.
class GroupGraph
{
public:
    void addEntry(const QString &group, const QString &value);
    void addGroup(const QString &group);
    // Every group name known, each once, in the order first seen.
    const QStringList &groups() const { return m_groups; }
    // The groups from which target can be reached through references (not
    // including target itself unless it lies on a loop).
    QSet<QString> groupsReaching(const QString &target) const;
    // The names a new reference from group may point to: every other group
    // that cannot reach group, so no loop can be built.
    QStringList referenceCandidates(const QString &group) const;

private:
    QStringList m_groups;
    QSet<QString> m_known;
    QHash<QString, QStringList> m_referencedBy; // target -> groups naming it
};

} // namespace ipentry

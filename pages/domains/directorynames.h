#pragma once

#include <QString>

// How the directory-service tab turns domain and account names into
// distinguished names. Attribute names are recognised in any letter case.
namespace directorynames {

// "example.com" -> "dc=example,dc=com"; a text already starting with "dc="
// only has its dots replaced.
QString baseDn(const QString &domain);
// True when the text names an entry: it contains "dc=", "uid=" or "cn=".
bool isDn(const QString &text);
// A bind name that is not a DN becomes "uid=<name>,cn=users,<base DN>".
QString bindDn(const QString &name, const QString &domain);
QString defaultUserBase(const QString &domain);
QString defaultGroupBase(const QString &domain);

} // namespace directorynames

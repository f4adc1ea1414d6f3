#pragma once

#include <QString>

class DBTable;
class QWidget;

// Conflicts of a user's login name or a user's or group's new mail address
// with the aliases and mailing lists of its domain: mail to such an address
// goes to the alias or list, never to the user or group. A hit asks the
// correction question; Yes keeps the dialog open at the field.
namespace ugconflicts {

enum class Owner { User, Group };

// The alias ("Lhs") or mailing list ("Name") of the domain named like
// localPart (ignoring case), empty when none is. Either table may be null.
QString findAlias(const DBTable *aliases, const QString &localPart, const QString &domain);
QString findMailingList(const DBTable *lists, const QString &localPart, const QString &domain);

// The messages, without the correction question.
QString aliasAddressMessage(Owner owner, const QString &alias, const QString &localPart,
                            const QString &domain);
QString listAddressMessage(Owner owner, const QString &list, const QString &localPart,
                           const QString &domain);
QString aliasLoginMessage(const QString &alias, const QString &name, const QString &domain);
QString listLoginMessage(const QString &list, const QString &name, const QString &domain);

// Checks a new address (local part) of a user or group; true to go on (no
// conflict, or the administrator answered No), false to correct it.
bool checkAddress(QWidget *parent, const DBTable *aliases, const DBTable *lists,
                  const QString &localPart, const QString &domain, Owner owner);
// The same for a user's login name.
bool checkLoginName(QWidget *parent, const DBTable *aliases, const DBTable *lists,
                    const QString &name, const QString &domain);

} // namespace ugconflicts

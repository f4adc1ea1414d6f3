#include "pages/usergroups/ugconflicts.h"

#include "db/dbrow.h"
#include "db/dbtable.h"
#include "forms/bcorrection.h"

#include <QCoreApplication>

namespace ugconflicts {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("UserGroupConflicts", text);
}

QString findIn(const DBTable *table, const QString &column, const QString &name,
               const QString &domain)
{
    if (!table || name.isEmpty())
        return {};
    for (const DBRow *row : table->rows()) {
        const QString rowDomain = row->text(QStringLiteral("Domain"));
        if (!rowDomain.isEmpty() && rowDomain.compare(domain, Qt::CaseInsensitive) != 0)
            continue;
        const QString entry = row->text(column);
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return {};
}

} // namespace

QString findAlias(const DBTable *aliases, const QString &localPart, const QString &domain)
{
    return findIn(aliases, QStringLiteral("Lhs"), localPart, domain);
}

QString findMailingList(const DBTable *lists, const QString &localPart, const QString &domain)
{
    return findIn(lists, QStringLiteral("Name"), localPart, domain);
}

QString aliasAddressMessage(Owner owner, const QString &alias, const QString &localPart,
                            const QString &domain)
{
    const QString text = owner == Owner::User
            ? tr("<nobr>There already exists an alias called '%1'. If you create an email "
                 "address '%2@%3',<br>all emails sent to this address will be delivered to the "
                 "alias and never to the user.</nobr>")
            : tr("<nobr>There already exists an alias called '%1'. If you create an email "
                 "address '%2@%3',<br>all emails sent to this address will be delivered to the "
                 "alias and never to the group.</nobr>");
    return text.arg(alias, localPart, domain);
}

QString listAddressMessage(Owner owner, const QString &list, const QString &localPart,
                           const QString &domain)
{
    const QString text = owner == Owner::User
            ? tr("<nobr>There already exists a mailing list called '%1'. If you create an email "
                 "address '%2@%3',<br>all emails sent to this address will be delivered to the "
                 "mailing list and never to the user.</nobr>")
            : tr("<nobr>There already exists a mailing list called '%1'. If you create an email "
                 "address '%2@%3',<br>all emails sent to this address will be delivered to the "
                 "mailing list and never to the group.</nobr>");
    return text.arg(list, localPart, domain);
}

QString aliasLoginMessage(const QString &alias, const QString &name, const QString &domain)
{
    return tr("<nobr>There already exists an alias called '%1'. If you create a user with the "
              "same name,<br>all emails sent to the address '%2@%3' will be delivered to the "
              "alias and never to the user.</nobr>")
            .arg(alias, name, domain);
}

QString listLoginMessage(const QString &list, const QString &name, const QString &domain)
{
    return tr("<nobr>There already exists a mailing list called '%1'. If you create a user with "
              "the same name,<br>all emails sent to the address '%2@%3' will be delivered to the "
              "mailing list and never to the user.</nobr>")
            .arg(list, name, domain);
}

bool checkAddress(QWidget *parent, const DBTable *aliases, const DBTable *lists,
                  const QString &localPart, const QString &domain, Owner owner)
{
    const QString alias = findAlias(aliases, localPart, domain);
    if (!alias.isEmpty()
        && bcorrection::askToCorrect(parent, aliasAddressMessage(owner, alias, localPart, domain)))
        return false;
    const QString list = findMailingList(lists, localPart, domain);
    if (!list.isEmpty()
        && bcorrection::askToCorrect(parent, listAddressMessage(owner, list, localPart, domain)))
        return false;
    return true;
}

bool checkLoginName(QWidget *parent, const DBTable *aliases, const DBTable *lists,
                    const QString &name, const QString &domain)
{
    const QString alias = findAlias(aliases, name, domain);
    if (!alias.isEmpty()
        && bcorrection::askToCorrect(parent, aliasLoginMessage(alias, name, domain)))
        return false;
    const QString list = findMailingList(lists, name, domain);
    if (!list.isEmpty() && bcorrection::askToCorrect(parent, listLoginMessage(list, name, domain)))
        return false;
    return true;
}

} // namespace ugconflicts

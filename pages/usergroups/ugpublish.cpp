#include "pages/usergroups/ugpublish.h"

#include "db/dbconn.h"
#include "db/dbquote.h"
#include "db/dbreq.h"
#include "db/dbrow.h"

#include <QCoreApplication>

namespace ugpublish {

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("UserExportDlg", text);
}

QString quoted(const QString &text)
{
    return QLatin1Char('"') + dbEscape(text) + QLatin1Char('"');
}

QStringList completed(const QString &sections, const QString &domain)
{
    QStringList addresses;
    for (const QString &section : sections.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString local = section.trimmed();
        if (!local.isEmpty())
            addresses.append(local + QLatin1Char('@') + domain);
    }
    return addresses;
}

} // namespace

Entry groupEntry(const DBRow &row)
{
    Entry entry;
    entry.name = row.text(QStringLiteral("Name"));
    entry.displayName = entry.name;
    entry.addresses = completed(row.text(QStringLiteral("MailAddress")),
                                row.text(QStringLiteral("Domain")));
    if (entry.addresses.isEmpty())
        entry.refusal = refusalText(Kind::Groups);
    return entry;
}

Entry userEntry(const DBRow &row)
{
    Entry entry;
    entry.name = row.text(QStringLiteral("Name"));
    entry.displayName = row.text(QStringLiteral("Fullname"));
    const QString domain = row.text(QStringLiteral("Domain"));
    entry.addresses = completed(entry.name, domain);
    entry.addresses += completed(row.text(QStringLiteral("MailAddress")), domain);
    if (entry.displayName.trimmed().isEmpty())
        entry.refusal = refusalText(Kind::Users);
    return entry;
}

QString query(const QString &folder, const QString &displayName, const QStringList &addresses)
{
    QString text = QStringLiteral("select AddressBookAdd(") + quoted(folder) + QLatin1Char(',')
            + quoted(displayName);
    for (const QString &address : addresses)
        text += QStringLiteral(", ") + quoted(address);
    return text + QLatin1Char(')');
}

QString defaultFolder(const QString &domain, bool perDomain)
{
    return perDomain ? QStringLiteral("#public@%1/Contacts").arg(domain)
                     : QStringLiteral("#public/Contacts");
}

bool publish(DBConn *connection, const QString &folder, const Entry &entry, QString *error)
{
    if (!entry.refusal.isEmpty()) {
        if (error)
            *error = entry.refusal;
        return false;
    }
    if (!connection) {
        if (error)
            error->clear();
        return false;
    }
    DBReq req(query(folder, entry.displayName, entry.addresses));
    const bool done = connection->execSync(&req);
    if (error)
        *error = done ? QString() : req.errorText();
    return done;
}

QString refusalText(Kind kind)
{
    return kind == Kind::Groups
            ? tr("The group doesn't contain any addresses so it cannot be published")
            : tr("The user doesn't contain full name so it cannot be published");
}

QString successText(Kind kind, const QString &folder)
{
    return (kind == Kind::Groups ? tr("Group has been published to '%1'")
                                 : tr("User has been published to '%1'"))
            .arg(folder);
}

QString failureText(Kind kind)
{
    return kind == Kind::Groups ? tr("Group has not been published")
                                : tr("User has not been published");
}

QString summaryText(Kind kind, int successes, int total)
{
    const bool groups = kind == Kind::Groups;
    if (successes <= 0)
        return groups ? tr("No group has been published.") : tr("No user has been published.");
    if (successes == 1 && total == 1)
        return groups ? tr("1 group has been published successfully.")
                      : tr("1 user has been published successfully.");
    if (successes == 1)
        return (groups ? tr("1 of %1 groups has been published successfully.")
                       : tr("1 of %1 users has been published successfully."))
                .arg(total);
    return (groups ? tr("%1 of %2 groups have been published successfully.")
                   : tr("%1 of %2 users have been published successfully."))
            .arg(successes)
            .arg(total);
}

} // namespace ugpublish

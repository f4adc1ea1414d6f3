#pragma once

#include <QString>

class QWidget;

// What keeps a domain from being removed or renamed: rows of other tables
// that name it. The server's tables are read one after the other, each for
// its "Domain" column only, and compared ignoring case.
namespace domainguard {

enum Holder { Nothing, Aliases, Users, Groups, Templates, MailingLists, DomainAliases, Failed };

// The first holder the server reports; Failed (with the error in *error)
// when a select fails.
Holder findHolder(const QString &domain, QString *error = nullptr);
// The refusal the administrator reads, for example
// "Domain example.com contains users. Remove them first."
QString refusalText(const QString &domain, Holder holder);
// Runs findHolder and tells the administrator; true when nothing holds the
// domain.
bool mayLetGo(QWidget *parent, const QString &domain);

} // namespace domainguard

#pragma once

#include "db/dbtable.h"

// One roster of a mailing list ("moderators" or "members"): read with
// "MListList(" and changed with "MListAdd(", "MListChange(" and "MListDel(",
// every argument escaped. Rows have the columns "Email" and "FullName".
class PvnMListTable : public DBTable
{
    Q_OBJECT
public:
    static QString moderatorsKind() { return QStringLiteral("moderators"); }
    static QString membersKind() { return QStringLiteral("members"); }

    PvnMListTable(DBConn *connection, const QString &listName, const QString &domain,
                  const QString &kind, QObject *parent = nullptr);

    QString listName() const { return m_listName; }
    QString domain() const { return m_domain; }
    QString kind() const { return m_kind; }

    // The call that removes the member of row from the server's roster.
    QString removeStatement(const DBRow &row) const;

protected:
    QString tableNameForSelect() const override;
    QStringList insertStatements(const DBRow &row) const override;
    QStringList updateStatements(const DBRow &baseline, const DBRow &edited) const override;
    QStringList deleteStatements(const DBRow &row) const override;

private:
    QString m_listName;
    QString m_domain;
    QString m_kind;
};

#pragma once

#include "db/dbtable.h"

#include <QString>

// The remote table "User". With activate set, saving a row that comes from
// a directory service ("$RowSource" not 0) also enables its account:
//     update User set Account_enabled='1' where <key> controls ProviderID=<n>
// (importing and activating directory users).
class PvnUserTable : public DBTable
{
    Q_OBJECT
public:
    explicit PvnUserTable(DBConn *connection, const Options &options = Options(),
                          QObject *parent = nullptr);

    bool activate() const { return m_activate; }
    void setActivate(bool on) { m_activate = on; }

    // The statement that enables a directory row's account.
    QString activateStatement(const DBRow &row) const;

    // Formatting shared by the user list and dialogs.
    // A size given in kB, in the largest of "kB", "MB", "GB" that shows it
    // exactly (quotas), or with one decimal when exact is false (usage).
    static QString sizeText(qint64 kilobytes, bool exact = true);
    // A duration in seconds: "Less than 1 minute" or days, hours and minutes
    // joined by ", ".
    static QString durationText(qint64 seconds);
    // The rights and data-source texts the user and group lists share
    // (ugtexts): "Read/write access", "Read only access" or nothing;
    // "Internal" or "LDAP".
    static QString rightsText(qint64 rights);
    static QString dataSourceText(qint64 rowSource);

protected:
    QStringList insertStatements(const DBRow &row) const override;
    QStringList updateStatements(const DBRow &baseline, const DBRow &edited) const override;

private:
    bool m_activate = false;
};

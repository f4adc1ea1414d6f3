#pragma once

#include "db/dbtable.h"
#include "db/dbtranstab.h"

#include <QString>

#include <memory>
#include <vector>

class DBConn;

// The remote tables a domain list page keeps for one domain: created the
// first time the domain is shown, selected once, and kept for the life of
// the page so that returning to the domain shows its rows (and edits) again.
// The first table added is the page's main table.
class DomainTables
{
public:
    enum class State { New, Loading, Loaded };

    DomainTables(DBConn *connection, const QString &domain);
    DomainTables(const DomainTables &) = delete;
    DomainTables &operator=(const DomainTables &) = delete;

    QString domain() const { return m_domain; }
    // Adds a table selected with the domain's filter (the set owns it).
    DBTable *addTable(const QString &tableName, DBTable::Options options = {},
                      const DBTransTab::MemberOptions &member = {});
    // Adds a table made by the caller (the set owns it).
    DBTable *adoptTable(std::unique_ptr<DBTable> table,
                        const DBTransTab::MemberOptions &member = {});
    DBTable *mainTable() const { return m_tables.empty() ? nullptr : m_tables.front().get(); }
    // The member table of that name (ignoring case), or null.
    DBTable *table(const QString &tableName) const;
    DBTransTab &trans() { return m_trans; }

    State state() const { return m_state; }
    void setState(State state) { m_state = state; }
    bool isLoaded() const { return m_state == State::Loaded; }

private:
    DBConn *m_connection;
    QString m_domain;
    std::vector<std::unique_ptr<DBTable>> m_tables;
    DBTransTab m_trans;
    State m_state = State::New;
};

namespace domainformlist {

// The settings key of the domain chosen last on any domain list page.
inline const QString kSelectedDomainKey = QStringLiteral("Other/dfl/seldomain");

// True for a domain name made only of letters, digits, dots and hyphens:
// the only names that may travel unquoted in a filter.
bool isPlainDomainName(const QString &domain);
// The select filter of a domain's rows: "Domain = <name>" for a plain name,
// otherwise the name as a quoted literal.
QString domainFilter(const QString &domain);
// Whether a row's "Name", "Fullname" or "Description" holds the text,
// ignoring case (an empty text matches every row).
bool rowMatchesText(const DBRow &row, const QString &text);

} // namespace domainformlist

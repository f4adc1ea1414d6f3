#include "database.h"

#include <cstdio>
#include <sqlite3.h>

namespace postvane::devserver {

namespace {
constexpr size_t kStatementCacheLimit = 512;

// The first storage failure of the innermost watch on this thread; -1 when
// no watch is active.
thread_local int t_watchedFailure = -1;
} // namespace

StorageFailureWatch::StorageFailureWatch()
    : m_outerCode(t_watchedFailure)
{
    t_watchedFailure = 0;
}

StorageFailureWatch::~StorageFailureWatch()
{
    const int inner = t_watchedFailure;
    t_watchedFailure = m_outerCode;
    if (m_outerCode == 0 && inner > 0)
        t_watchedFailure = inner;
}

int StorageFailureWatch::failureCode() const
{
    return t_watchedFailure > 0 ? t_watchedFailure : 0;
}

std::string quoteIdentifier(std::string_view name)
{
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

bool WriteOutcome::constraintViolation() const
{
    return (sqliteCode & 0xff) == SQLITE_CONSTRAINT;
}

bool WriteOutcome::storageFailure() const
{
    switch (sqliteCode & 0xff) {
    case SQLITE_PERM:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_FULL:
    case SQLITE_CANTOPEN:
    case SQLITE_PROTOCOL:
    case SQLITE_NOLFS:
    case SQLITE_NOTADB:
        return true;
    default:
        return false;
    }
}

bool WriteOutcome::ok() const
{
    return sqliteCode == SQLITE_OK || sqliteCode == SQLITE_DONE;
}

Database::~Database()
{
    close();
}

bool Database::open(const std::string &path, std::string &error)
{
    std::lock_guard lock(m_mutex);
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    const std::string name = path.empty() ? ":memory:" : path;
    if (sqlite3_open_v2(name.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        error = m_db ? sqlite3_errmsg(m_db) : "cannot open the database";
        close();
        return false;
    }
    // SQLite falls back to read-only when the file may not be written; a
    // server that cannot store what it acknowledges must not start.
    if (!path.empty() && sqlite3_db_readonly(m_db, "main") == 1) {
        error = "the database " + path + " is read-only";
        close();
        return false;
    }
    m_path = path.empty() ? ":memory:" : path;
    sqlite3_busy_timeout(m_db, 10000);
    const char *pragmas = path.empty() ? "PRAGMA foreign_keys=OFF;"
                                       : "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;";
    char *message = nullptr;
    if (sqlite3_exec(m_db, pragmas, nullptr, nullptr, &message) != SQLITE_OK) {
        error = message ? message : "cannot configure the database";
        sqlite3_free(message);
        close();
        return false;
    }
    return true;
}

void Database::close()
{
    std::lock_guard lock(m_mutex);
    for (auto &[sql, statement] : m_statements)
        sqlite3_finalize(statement);
    m_statements.clear();
    if (m_db) {
        sqlite3_close(m_db);
        m_db = nullptr;
    }
}

bool Database::createTables(const Schema &schema)
{
    std::lock_guard lock(m_mutex);
    const bool fresh = queryInteger("SELECT count(*) FROM sqlite_master") == 0;
    for (const auto &table : schema.tables()) {
        std::string sql = "CREATE TABLE IF NOT EXISTS " + quoteIdentifier(table.name) + " (";
        std::string keys;
        for (const auto &column : table.columns) {
            sql += quoteIdentifier(column.name);
            if (isNumericType(column.type)) {
                sql += " INTEGER NOT NULL DEFAULT ";
                Cell initial = cellFromText(column.type, column.defaultText).value_or(Cell{});
                sql += std::to_string(cellInteger(initial));
            } else if (column.type == ColumnType::Binary) {
                sql += " BLOB NOT NULL DEFAULT x''";
            } else {
                sql += " TEXT NOT NULL DEFAULT '";
                for (char c : column.defaultText)
                    sql += (c == '\'') ? std::string("''") : std::string(1, c);
                sql += "'";
                if (table.keysIgnoreCase && column.key)
                    sql += " COLLATE NOCASE";
            }
            sql += ", ";
            if (column.key)
                keys += (keys.empty() ? "" : ", ") + quoteIdentifier(column.name);
        }
        // Directory rows wait for activation; rows stored by the server are active.
        sql += "\"_active\" INTEGER NOT NULL DEFAULT 1";
        if (!keys.empty())
            sql += ", UNIQUE (" + keys + ")";
        sql += ")";
        write(sql);
    }
    // Server-internal state that has no table of its own on the wire.
    for (const char *sql : {
                 "CREATE TABLE IF NOT EXISTS _Queue (id TEXT PRIMARY KEY, created INTEGER, "
                 "nexttry INTEGER, size INTEGER, sender TEXT, recipient TEXT, status TEXT)",
                 "CREATE TABLE IF NOT EXISTS _MListMember (list TEXT COLLATE NOCASE, domain TEXT "
                 "COLLATE NOCASE, kind TEXT, email TEXT COLLATE NOCASE, fullname TEXT, "
                 "UNIQUE (list, domain, kind, email))",
                 "CREATE TABLE IF NOT EXISTS _Contact (folder TEXT, name TEXT, addresses TEXT)",
                 "CREATE TABLE IF NOT EXISTS _FolderAcl (folder TEXT, account TEXT COLLATE "
                 "NOCASE, rights TEXT, UNIQUE (folder, account))",
                 "CREATE TABLE IF NOT EXISTS _PublicFolder (domain TEXT COLLATE NOCASE, name "
                 "TEXT, type INTEGER, listable INTEGER)",
                 "CREATE TABLE IF NOT EXISTS _MailStore (account TEXT PRIMARY KEY COLLATE NOCASE, "
                 "storage INTEGER, messages INTEGER, deleted INTEGER, lastlogin INTEGER)",
                 "CREATE TABLE IF NOT EXISTS _LogEvent (log TEXT, name INTEGER, descr TEXT, "
                 "enabled INTEGER, parent INTEGER, UNIQUE (log, name))",
         }) {
        write(sql);
    }
    return fresh;
}

sqlite3_stmt *Database::prepare(const std::string &sql)
{
    auto found = m_statements.find(sql);
    if (found != m_statements.end()) {
        sqlite3_reset(found->second);
        sqlite3_clear_bindings(found->second);
        return found->second;
    }
    sqlite3_stmt *statement = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.c_str(), static_cast<int>(sql.size()), &statement, nullptr)
        != SQLITE_OK)
        return nullptr;
    if (m_statements.size() >= kStatementCacheLimit) {
        for (auto &[text, cached] : m_statements)
            sqlite3_finalize(cached);
        m_statements.clear();
    }
    m_statements.emplace(sql, statement);
    return statement;
}

void Database::bind(sqlite3_stmt *statement, const std::vector<Cell> &binds)
{
    for (size_t i = 0; i < binds.size(); ++i) {
        const int index = static_cast<int>(i + 1);
        const Cell &cell = binds[i];
        if (auto *value = std::get_if<int64_t>(&cell)) {
            sqlite3_bind_int64(statement, index, *value);
        } else if (auto *text = std::get_if<std::string>(&cell)) {
            sqlite3_bind_text(statement, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        } else if (auto *items = std::get_if<std::vector<std::string>>(&cell)) {
            const std::string joined = cellText(*items);
            sqlite3_bind_text(statement, index, joined.data(), static_cast<int>(joined.size()),
                              SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(statement, index);
        }
    }
}

int Database::query(const std::string &sql, const std::vector<Cell> &binds,
                    const RowCallback &onRow)
{
    std::lock_guard lock(m_mutex);
    sqlite3_stmt *statement = prepare(sql);
    if (!statement)
        return SQLITE_ERROR;
    bind(statement, binds);
    const int columns = sqlite3_column_count(statement);
    std::vector<Cell> row(static_cast<size_t>(columns));
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        for (int i = 0; i < columns; ++i) {
            switch (sqlite3_column_type(statement, i)) {
            case SQLITE_INTEGER:
                row[i] = int64_t(sqlite3_column_int64(statement, i));
                break;
            case SQLITE_NULL:
                row[i] = std::monostate{};
                break;
            default: {
                const auto *data = static_cast<const char *>(sqlite3_column_blob(statement, i));
                const int size = sqlite3_column_bytes(statement, i);
                row[i] = std::string(data ? data : "", static_cast<size_t>(size));
                break;
            }
            }
        }
        if (!onRow(row)) {
            rc = SQLITE_DONE;
            break;
        }
    }
    sqlite3_reset(statement);
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

WriteOutcome Database::write(const std::string &sql, const std::vector<Cell> &binds)
{
    std::lock_guard lock(m_mutex);
    WriteOutcome outcome;
    sqlite3_stmt *statement = prepare(sql);
    if (!statement) {
        outcome.sqliteCode = sqlite3_extended_errcode(m_db);
        if (outcome.sqliteCode == SQLITE_OK)
            outcome.sqliteCode = SQLITE_ERROR;
        noteOutcome(outcome);
        return outcome;
    }
    bind(statement, binds);
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) { }
    outcome.sqliteCode = rc == SQLITE_DONE ? SQLITE_OK : sqlite3_extended_errcode(m_db);
    outcome.changes = sqlite3_changes(m_db);
    sqlite3_reset(statement);
    noteOutcome(outcome);
    return outcome;
}

void Database::noteOutcome(const WriteOutcome &outcome)
{
    if (!outcome.storageFailure()) {
        if (outcome.ok())
            m_reportedFailure = 0;
        return;
    }
    const int code = outcome.sqliteCode & 0xff;
    if (t_watchedFailure == 0)
        t_watchedFailure = code;
    // Once per kind of failure, not once per write of the ticker.
    if (code != m_reportedFailure) {
        m_reportedFailure = code;
        std::fprintf(stderr, "postvane-devserver: cannot write to the database %s: %s\n",
                     m_path.c_str(), sqlite3_errstr(outcome.sqliteCode));
    }
}

bool Database::transaction(const std::function<bool()> &fn)
{
    std::lock_guard lock(m_mutex);
    if (!write("BEGIN IMMEDIATE").ok())
        return false;
    if (fn()) {
        if (write("COMMIT").ok())
            return true;
    }
    write("ROLLBACK");
    return false;
}

int64_t Database::queryInteger(const std::string &sql, const std::vector<Cell> &binds)
{
    int64_t value = 0;
    query(sql, binds, [&](const std::vector<Cell> &row) {
        if (!row.empty())
            value = cellInteger(row[0]);
        return false;
    });
    return value;
}

std::string Database::lastError()
{
    std::lock_guard lock(m_mutex);
    return m_db ? sqlite3_errmsg(m_db) : "no database";
}

} // namespace postvane::devserver

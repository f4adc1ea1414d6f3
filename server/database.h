// The one SQLite database of the server. Every access goes through one
// connection guarded by a mutex; each write statement commits on its own (WAL,
// synchronous=FULL), so an acknowledged write survives a killed process.
#pragma once

#include "cell.h"
#include "schema.h"

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace postvane::devserver {

struct WriteOutcome
{
    int sqliteCode = 0; // SQLITE_OK / SQLITE_DONE on success
    int changes = 0;
    bool constraintViolation() const;
    // The storage refused the write (read-only file, full disk, I/O error,
    // locked or damaged database): not the statement's fault.
    bool storageFailure() const;
    bool ok() const;
};

// Counts the storage failures of the writes made on the calling thread while
// it lives, so a request can answer them whichever code path wrote.
class StorageFailureWatch
{
public:
    StorageFailureWatch();
    ~StorageFailureWatch();
    StorageFailureWatch(const StorageFailureWatch &) = delete;
    StorageFailureWatch &operator=(const StorageFailureWatch &) = delete;

    // SQLite's primary result code of the first storage failure, 0 when none.
    int failureCode() const;

private:
    int m_outerCode;
};

class Database
{
public:
    Database() = default;
    ~Database();
    Database(const Database &) = delete;
    Database &operator=(const Database &) = delete;

    // path empty = private in-memory database. Returns false and fills error.
    bool open(const std::string &path, std::string &error);
    void close();

    // Creates the stored tables that are missing; returns true when the database
    // was empty before (so the caller seeds it).
    bool createTables(const Schema &schema);

    using RowCallback = std::function<bool(const std::vector<Cell> &)>; // false stops
    // Runs a read; returns the SQLite result code.
    int query(const std::string &sql, const std::vector<Cell> &binds, const RowCallback &onRow);
    WriteOutcome write(const std::string &sql, const std::vector<Cell> &binds = {});
    // Runs fn inside one transaction (rolled back when fn returns false);
    // false as well when the transaction cannot begin or commit.
    bool transaction(const std::function<bool()> &fn);

    // Convenience: first column of the first row as an integer (0 when none).
    int64_t queryInteger(const std::string &sql, const std::vector<Cell> &binds = {});

    std::recursive_mutex &mutex() { return m_mutex; }
    std::string lastError();

private:
    sqlite3_stmt *prepare(const std::string &sql);
    void noteOutcome(const WriteOutcome &outcome);
    void bind(sqlite3_stmt *statement, const std::vector<Cell> &binds);

    std::recursive_mutex m_mutex;
    sqlite3 *m_db = nullptr;
    std::string m_path;
    int m_reportedFailure = 0; // the storage failure last printed, 0 after a good write
    std::map<std::string, sqlite3_stmt *> m_statements; // prepared-statement cache
};

std::string quoteIdentifier(std::string_view name);

} // namespace postvane::devserver

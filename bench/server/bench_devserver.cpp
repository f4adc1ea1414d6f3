// Measures the development server against SQLite itself, in one run:
//  1. 20 concurrent sessions each sending 1 000 small selects over TLS, against
//     20 threads running the same selects straight on the database file;
//  2. one 100 000-row select over TLS, against reading the same rows straight
//     from the database file.
// Prints the times and their ratios. Run by hand; not a test.
#include "lumadb_session.h"
#include "support/devserver_process.h"

#include <sqlite3.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

using namespace postdesk::test;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kSessions = 20;
constexpr int kSelects = 1000;
constexpr int kLargeRows = 100000;

const char *kSmallSelect
        = "select Name, Fullname, Qstorage from User where Name='alice' and Domain='example.com'";
const char *kSmallSql = "SELECT Name, Fullname, Qstorage FROM \"User\" WHERE Name = ? AND "
                        "Domain = ? AND \"_active\" <> 0";
const char *kLargeSelect
        = "select Name, Domain, Fullname, Qstorage, Rights from User where Domain=big.example";
const char *kLargeSql = "SELECT Name, Domain, Fullname, Qstorage, Rights FROM \"User\" WHERE "
                        "Domain = ? AND \"_active\" <> 0";

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Reads every column of every row, as the server must.
size_t readRows(sqlite3_stmt *statement)
{
    size_t bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            bytes += static_cast<size_t>(sqlite3_column_bytes(statement, i));
            sqlite3_column_blob(statement, i);
        }
    }
    return bytes;
}

double sqliteSmallSelects(const std::string &path)
{
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < kSessions; ++t) {
        threads.emplace_back([&] {
            sqlite3 *db = nullptr;
            sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
            for (int i = 0; i < kSelects; ++i) {
                sqlite3_stmt *statement = nullptr;
                sqlite3_prepare_v2(db, kSmallSql, -1, &statement, nullptr);
                sqlite3_bind_text(statement, 1, "alice", -1, SQLITE_STATIC);
                sqlite3_bind_text(statement, 2, "example.com", -1, SQLITE_STATIC);
                readRows(statement);
                sqlite3_finalize(statement);
            }
            sqlite3_close(db);
        });
    }
    for (auto &thread : threads)
        thread.join();
    return secondsSince(start);
}

double serverSmallSelects(const DevServerProcess &server, int &failures)
{
    std::vector<LumadbSession> sessions(kSessions);
    for (auto &session : sessions) {
        if (session.connect(server.host(), server.portText(), "admin", "admin", false) != 0)
            ++failures;
    }
    std::vector<int> failed(kSessions, 0);
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    for (int t = 0; t < kSessions; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kSelects; ++i) {
                if (sessions[t].query(kSmallSelect).rows.size() != 1)
                    ++failed[t];
            }
        });
    }
    for (auto &thread : threads)
        thread.join();
    const double seconds = secondsSince(start);
    for (int count : failed)
        failures += count;
    return seconds;
}

double sqliteLargeSelect(const std::string &path, size_t &rows)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    const auto start = Clock::now();
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(db, kLargeSql, -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, "big.example", -1, SQLITE_STATIC);
    rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        ++rows;
        for (int i = 0; i < sqlite3_column_count(statement); ++i)
            sqlite3_column_blob(statement, i);
    }
    sqlite3_finalize(statement);
    const double seconds = secondsSince(start);
    sqlite3_close(db);
    return seconds;
}

} // namespace

int main()
{
    DevServerProcess server(
            {"--log-rate", "0", "--no-ticker", "--seed-users", std::to_string(kLargeRows)});
    if (!server.start()) {
        std::fprintf(stderr, "cannot start the server: %s\n", server.errorText().c_str());
        return 1;
    }
    const std::string path = server.dataDir() + "/postvane.db";
    int failures = 0;

    // Warm both paths once before measuring.
    sqliteSmallSelects(path);
    const double sqliteSmall = sqliteSmallSelects(path);
    const double serverSmall = serverSmallSelects(server, failures);

    LumadbSession session;
    if (session.connect(server.host(), server.portText(), "admin", "admin", false) != 0) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    size_t sqliteRows = 0;
    sqliteLargeSelect(path, sqliteRows);
    const double sqliteLarge = sqliteLargeSelect(path, sqliteRows);
    auto start = Clock::now();
    lumadb_result result{};
    const uint32_t status = lumadb_query(session.handle, kLargeSelect, &result);
    const double serverLarge = secondsSince(start);
    const uint32_t serverRows = result.row_count;
    lumadb_free_result(&result);
    if (status != 0 || serverRows != sqliteRows || serverRows != kLargeRows)
        ++failures;

    const double total = kSessions * kSelects;
    std::printf("small selects, %d sessions x %d:\n", kSessions, kSelects);
    std::printf("  server over TLS   %8.3f s  %9.0f selects/s\n", serverSmall, total / serverSmall);
    std::printf("  SQLite directly   %8.3f s  %9.0f selects/s\n", sqliteSmall, total / sqliteSmall);
    std::printf("  ratio server/SQLite time: %.1f\n", serverSmall / sqliteSmall);
    std::printf("one %u-row select:\n", serverRows);
    std::printf("  server over TLS   %8.3f s\n", serverLarge);
    std::printf("  SQLite directly   %8.3f s (%zu rows)\n", sqliteLarge, sqliteRows);
    std::printf("  ratio server/SQLite time: %.1f\n", serverLarge / sqliteLarge);
    if (failures)
        std::printf("FAILURES: %d\n", failures);
    return failures ? 1 : 0;
}

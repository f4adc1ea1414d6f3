// Command-line options of lumadb-query.
#ifndef LUMADB_QUERY_OPTIONS_H
#define LUMADB_QUERY_OPTIONS_H

#include "lumadb/lumadb.h"

#include <optional>
#include <string>
#include <vector>

enum class OutputFormat { Table, Csv, Json };

struct QueryOptions
{
    std::string host = "localhost";
    std::string port = std::to_string(LUMADB_DEFAULT_PORT);
    std::string user = "admin";
    std::string password_variable = "LUMADB_PASSWORD";
    std::string application_id = "Brantel Admin (Windows)";
    bool plain = false;
    OutputFormat format = OutputFormat::Table;
    bool login_info = false;
    std::optional<long> listen_ms;
    bool insecure = false;
    std::string known_hosts; // empty: the library's default file
    // --trust-new: the fingerprint the user confirmed (64 lower-case hex digits).
    std::string trust_new;
    bool print_fingerprint = false;
    bool help = false;
    std::vector<std::string> queries;
};

// Parses argv; on a usage error returns false and sets error.
bool parse_options(int argc, char **argv, QueryOptions *options, std::string *error);

const char *usage_text();

#endif // LUMADB_QUERY_OPTIONS_H

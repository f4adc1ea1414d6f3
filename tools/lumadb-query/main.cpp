// lumadb-query: connects, logs in, runs queries and prints their answers.
#include "failure_reason.h"
#include "lumadb/lumadb.h"
#include "options.h"
#include "output.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

constexpr int exit_success = 0;
constexpr int exit_query_failed = 1;
constexpr int exit_connection_failed = 2;

void report_status(const std::string &what, uint32_t status, uint32_t detail)
{
    std::fprintf(stderr, "lumadb-query: %s: status %u (%s)", what.c_str(), status,
                 lumadb_status_text(status));
    if (const std::string reason = failure_reason(status, detail); !reason.empty())
        std::fprintf(stderr, ": %s", reason.c_str());
    else if (detail != 0)
        std::fprintf(stderr, ", detail %u", detail);
    std::fputc('\n', stderr);
}

lumadb_handle *connect(const QueryOptions &options)
{
    lumadb_open_options open_options{};
    open_options.known_hosts_path
            = options.known_hosts.empty() ? nullptr : options.known_hosts.c_str();
    const bool trust_new = !options.trust_new.empty();
    open_options.trust = options.insecure ? LUMADB_TRUST_INSECURE
            : trust_new                   ? LUMADB_TRUST_REPLACE
                                          : LUMADB_TRUST_CHECK;
    open_options.expected_fingerprint = trust_new ? options.trust_new.c_str() : nullptr;
    lumadb_handle *handle = nullptr;
    const uint32_t status
            = lumadb_open_ex(options.host.c_str(), options.port.c_str(), &open_options, &handle);
    if (status == LUMADB_OK) {
        if (trust_new)
            std::fprintf(
                    stderr, "lumadb-query: recorded certificate fingerprint SHA256:%s for %s:%s\n",
                    open_options.presented_fingerprint, options.host.c_str(), options.port.c_str());
        return handle;
    }
    report_status("cannot connect to " + options.host + ":" + options.port, status,
                  lumadb_last_open_error());
    if (status == LUMADB_ERR_MITM && trust_new) {
        std::fprintf(stderr,
                     "lumadb-query: the server presented certificate fingerprint\n"
                     "  SHA256:%s\nnot the one given with --trust-new; nothing was recorded "
                     "and no password was sent.\n",
                     open_options.presented_fingerprint);
    } else if (status == LUMADB_ERR_MITM) {
        std::fprintf(stderr,
                     "lumadb-query: the server presented certificate fingerprint\n  SHA256:%s\n"
                     "but the known-hosts file records\n  SHA256:%s\n"
                     "If the server's certificate was changed on purpose and you have checked "
                     "the new fingerprint with its administrator, run again with --trust-new "
                     "SHA256:<fingerprint>.\n",
                     open_options.presented_fingerprint, open_options.recorded_fingerprint);
    } else if (status == LUMADB_ERR_UNKNOWN_SERVER) {
        std::fprintf(stderr,
                     "lumadb-query: %s:%s is not a known server. Its certificate fingerprint "
                     "is\n  SHA256:%s\nCheck it with the server's administrator, then run "
                     "again with --trust-new SHA256:<fingerprint>. No password was sent.\n",
                     options.host.c_str(), options.port.c_str(),
                     open_options.presented_fingerprint);
    } else if (status == LUMADB_ERR_KNOWN_HOSTS) {
        std::fprintf(stderr, "lumadb-query: known-hosts file: %s\n",
                     open_options.known_hosts_path ? open_options.known_hosts_path
                                                   : lumadb_default_known_hosts_path());
    }
    return nullptr;
}

// Reads the next query: from the arguments (sent as given), or one line of
// standard input. Lines of only blanks and lines whose first non-blank
// character is "#" are skipped. A person typing at a terminal gets a prompt
// on standard error; a pipe or file gets none.
class QuerySource
{
public:
    explicit QuerySource(const std::vector<std::string> &arguments)
        : m_arguments(arguments)
        , m_prompt(arguments.empty() && ::isatty(STDIN_FILENO) == 1)
    { }

    bool next(std::string *query)
    {
        if (!m_arguments.empty()) {
            if (m_next >= m_arguments.size())
                return false;
            *query = m_arguments[m_next++];
            return true;
        }
        for (;;) {
            if (m_prompt) {
                std::fputs("lumadb> ", stderr);
                std::fflush(stderr);
            }
            if (!std::getline(std::cin, *query))
                break;
            if (!query->empty() && query->back() == '\r')
                query->pop_back();
            const size_t first = query->find_first_not_of(" \t\v\f");
            if (first != std::string::npos && (*query)[first] != '#')
                return true;
        }
        if (m_prompt)
            std::fputc('\n', stderr); // end the prompt line after Ctrl-D
        return false;
    }

private:
    const std::vector<std::string> &m_arguments;
    const bool m_prompt;
    size_t m_next = 0;
};

void listen_for_notifications(lumadb_handle *handle, long milliseconds, ResultPrinter &printer)
{
    using clock = std::chrono::steady_clock;
    const auto deadline = clock::now() + std::chrono::milliseconds(milliseconds);
    unsigned char payload[1500];
    for (;;) {
        uint32_t length = sizeof payload;
        if (lumadb_recv_notification(handle, payload, &length) == LUMADB_OK && length > 0) {
            printer.notification(payload, length);
            continue;
        }
        if (clock::now() >= deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

} // namespace

int main(int argc, char **argv)
{
    QueryOptions options;
    std::string error;
    if (!parse_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "lumadb-query: %s\nTry 'lumadb-query --help'.\n", error.c_str());
        return exit_connection_failed;
    }
    if (options.help) {
        std::fputs(usage_text(), stdout);
        return exit_success;
    }

    if (options.print_fingerprint) {
        char fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {};
        const uint32_t status
                = lumadb_fetch_fingerprint(options.host.c_str(), options.port.c_str(), fingerprint);
        if (status != LUMADB_OK) {
            report_status("cannot connect to " + options.host + ":" + options.port, status,
                          lumadb_last_open_error());
            return exit_connection_failed;
        }
        std::printf("SHA256:%s\n", fingerprint);
        return exit_success;
    }

    const char *password = std::getenv(options.password_variable.c_str());
    lumadb_handle *handle = connect(options);
    if (!handle)
        return exit_connection_failed;

    uint32_t rights = 0;
    uint32_t protocol = 0;
    uint32_t version[3] = {};
    const bool session = !options.plain;
    const bool channel = session && options.listen_ms.has_value();
    const uint32_t login
            = lumadb_login(handle, options.user.c_str(), password ? password : "",
                           session ? &rights : nullptr, &protocol, &version[0], &version[1],
                           &version[2], options.application_id.c_str(), channel ? 1 : 0);
    if (login != LUMADB_OK) {
        report_status("login as " + options.user + " failed", login,
                      login == LUMADB_ERR_NETWORK ? lumadb_error(handle) : 0);
        if (login == LUMADB_ERR_AUTHENTICATION && !password)
            std::fprintf(stderr,
                         "lumadb-query: the password variable %s is not set, so an empty "
                         "password was sent\n",
                         options.password_variable.c_str());
        lumadb_close(handle);
        return exit_connection_failed;
    }

    auto printer = make_printer(options.format, stdout, stderr);
    if (options.login_info)
        printer->login(session ? std::optional<uint32_t>(rights) : std::nullopt, protocol, version);

    int exit_status = exit_success;
    QuerySource source(options.queries);
    std::string query;
    while (source.next(&query)) {
        lumadb_result result{};
        const uint32_t status = lumadb_query(handle, query.c_str(), &result);
        if (status == LUMADB_OK) {
            printer->result(query, result);
            lumadb_free_result(&result);
            continue;
        }
        exit_status = exit_query_failed;
        printer->failure(query, status, lumadb_error(handle));
        // Codes below 200 come from the client itself: the connection is in
        // an unknown state and cannot carry further queries.
        if (status < 200) {
            std::fprintf(stderr,
                         "lumadb-query: connection lost; the remaining queries were not "
                         "run\n");
            lumadb_close(handle);
            return exit_status;
        }
    }

    if (options.listen_ms) {
        if (!channel)
            std::fprintf(stderr, "lumadb-query: no notification channel in plain mode\n");
        else
            listen_for_notifications(handle, *options.listen_ms, *printer);
    }
    lumadb_close(handle);
    return exit_status;
}

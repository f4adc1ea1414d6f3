#include "options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

bool parse_number(const std::string &text, long low, long high, long *value)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    errno = 0;
    const long parsed = std::strtol(text.c_str(), nullptr, 10);
    if (errno != 0 || parsed < low || parsed > high)
        return false;
    *value = parsed;
    return true;
}

} // namespace

bool parse_options(int argc, char **argv, QueryOptions *options, std::string *error)
{
    bool options_ended = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (options_ended || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
            options->queries.push_back(argument);
            continue;
        }
        if (argument == "--") {
            options_ended = true;
            continue;
        }
        std::string value;
        bool has_inline_value = false;
        if (const size_t equals = argument.find('='); equals != std::string::npos) {
            value = argument.substr(equals + 1);
            argument.resize(equals);
            has_inline_value = true;
        }
        auto take_value = [&](std::string *into) {
            if (has_inline_value) {
                *into = value;
                return true;
            }
            if (i + 1 >= argc) {
                *error = argument + " needs a value";
                return false;
            }
            *into = argv[++i];
            return true;
        };
        auto no_value = [&] {
            if (has_inline_value)
                *error = argument + " takes no value";
            return !has_inline_value;
        };

        if (argument == "--host") {
            if (!take_value(&options->host))
                return false;
            if (options->host.empty()) {
                *error = "--host needs a host name or address";
                return false;
            }
        } else if (argument == "--port") {
            long port = 0;
            if (!take_value(&options->port))
                return false;
            if (!parse_number(options->port, 1, 65535, &port)) {
                *error = "--port needs a number from 1 to 65535";
                return false;
            }
        } else if (argument == "--user") {
            if (!take_value(&options->user))
                return false;
        } else if (argument == "--password-env") {
            if (!take_value(&options->password_variable))
                return false;
        } else if (argument == "--app-id") {
            if (!take_value(&options->application_id))
                return false;
        } else if (argument == "--plain") {
            if (!no_value())
                return false;
            options->plain = true;
        } else if (argument == "--format") {
            std::string format;
            if (!take_value(&format))
                return false;
            if (format == "table")
                options->format = OutputFormat::Table;
            else if (format == "csv")
                options->format = OutputFormat::Csv;
            else if (format == "json")
                options->format = OutputFormat::Json;
            else {
                *error = "--format must be table, csv or json";
                return false;
            }
        } else if (argument == "--login-info") {
            if (!no_value())
                return false;
            options->login_info = true;
        } else if (argument == "--listen") {
            std::string text;
            long milliseconds = 0;
            if (!take_value(&text))
                return false;
            if (!parse_number(text, 0, 24L * 3600 * 1000, &milliseconds)) {
                *error = "--listen needs a number of milliseconds";
                return false;
            }
            options->listen_ms = milliseconds;
        } else if (argument == "--insecure") {
            if (!no_value())
                return false;
            options->insecure = true;
        } else if (argument == "--known-hosts") {
            if (!take_value(&options->known_hosts))
                return false;
            if (options->known_hosts.empty()) {
                *error = "--known-hosts needs a file name";
                return false;
            }
        } else if (argument == "--trust-new") {
            std::string text;
            if (!take_value(&text))
                return false;
            char fingerprint[LUMADB_FINGERPRINT_LENGTH + 1] = {};
            if (lumadb_parse_fingerprint(text.c_str(), fingerprint) != LUMADB_OK) {
                *error = "--trust-new needs the server's fingerprint, SHA256: and 64 hex digits "
                         "(see --fingerprint)";
                return false;
            }
            options->trust_new = fingerprint;
        } else if (argument == "--fingerprint") {
            if (!no_value())
                return false;
            options->print_fingerprint = true;
        } else if (argument == "--help") {
            options->help = true;
        } else {
            *error = "unknown option " + argument;
            return false;
        }
    }
    if (options->insecure && !options->trust_new.empty()) {
        *error = "--insecure and --trust-new exclude each other";
        return false;
    }
    return true;
}

const char *usage_text()
{
    return R"usage(Usage: lumadb-query [OPTIONS] [QUERY ...]

Runs queries against a Postvane server's lumadb administration endpoint over
TLS and prints the answers.

Options:
  --host HOST            host name or dotted IPv4 address (default localhost)
  --port PORT            admin port (default 44337)
  --user USER            user name (default admin)
  --password-env NAME    read the password from environment variable NAME
                         (default LUMADB_PASSWORD; unset means empty, and a
                         failed login then says that it is unset). The
                         password is never taken from the command line and
                         never printed.
  --app-id TEXT          application identifier (default "Brantel Admin (Windows)";
                         cut to 31 bytes)
  --plain                plain login mode (no rights word kept, no notification
                         channel)
  --format table|csv|json
                         output format (default table). table is for people
                         (control characters shown as \n, \r, \t, \xHH or
                         \uHHHH; columns padded by display width: CJK and
                         emoji take two columns, combining marks none);
                         csv follows RFC 4180 (a header line of column names,
                         quoted fields where needed, CRLF line ends, a blank
                         line between row sets; failures go to standard error;
                         control characters other than CR and LF become
                         U+FFFD, as in table);
                         json prints one JSON object per line.
  --login-info           first print the login outcome: with json the line
                         {"login": {"status": 0, "rights": R, "protocol": 22,
                         "version": [v1, v2, v3]}} (rights is null in plain
                         mode); with table a line of text
  --listen MS            after the queries, wait MS milliseconds and print each
                         notification payload as {"notification": "<hex>"}
                         (lower-case hex, tag byte removed); opens the
                         notification channel (not in plain mode)
  --insecure             skip the certificate check (no known-hosts file used)
  --known-hosts FILE     known-hosts file to use (default
                         $XDG_CONFIG_HOME/postdesk/known_hosts.cfg, or
                         ~/.config/postdesk/known_hosts.cfg)
  --trust-new SHA256:HEX record this fingerprint for the server (first use or
                         a changed certificate); the connection goes on only
                         when the server presents exactly this certificate
  --fingerprint          print the SHA-256 fingerprint of the server's
                         certificate as SHA256:HEX and exit, without logging
                         in and without touching the known-hosts file
  --help                 show this text

Only servers in the known-hosts file are trusted. An unknown server is refused
with status 704 before any password is sent, and a server whose certificate is
not the recorded one with status 604; both show the presented fingerprint.
Compare it with the one the server's administrator gives you (for example
from lumadb-query --fingerprint run on the server's own machine), then run
again with --trust-new SHA256:HEX.

Queries come from the arguments (sent as given) or, when there are none, from
standard input, one per line: lines of only blanks and lines whose first
non-blank character is # are skipped. When standard input is a terminal, each
line is prompted for with "lumadb> " on standard error; end with Ctrl-D.

json output, one line per query:
  row set:    {"query": Q, "status": 0, "kind": 115, "extra": E,
               "columns": [{"name": N, "type": T, "attribute": A}, ...],
               "rows": [["cell text", ...], ...]}
  other kind: {"query": Q, "status": 0, "kind": K, "extra": E, "columns": [], "rows": []}
  failure:    {"query": Q, "status": CODE, "error": "<description>", "detail": D}
              (with status 101 also "reason": "<network failure in words>",
              such as "connection reset by the peer")
Cells are text (numbers in decimal, addresses dotted, binary as hex, lists
joined by commas, log lines as "LogData(" returns them as their text); a cell
that has no text form is null.

Exit status:
  0  every query succeeded
  1  some query returned a non-zero status (after a connection failure during
     the queries the remaining queries are not run)
  2  connecting or logging in failed, or the command line is wrong (standard
     error names the status code and its description, and a network failure
     in words: connection refused, unknown host, ...; no query output)
)usage";
}

// Statistics, charts, connections, sessions, opened folders and the queue.
#include "function_args.h"
#include "server_context.h"

#include <cctype>
#include <cmath>
#include <ctime>
#include <numbers>

namespace postvane::devserver {

namespace {

std::string queueDate(int64_t when)
{
    const time_t seconds = static_cast<time_t>(when);
    tm parts{};
    gmtime_r(&seconds, &parts);
    char text[32];
    std::strftime(text, sizeof text, "%d %b %Y %H:%M:%S", &parts);
    return text;
}

Reply statisticsReset(const FunctionCall &call)
{
    std::string assignments;
    for (const auto &column : Schema::instance().table("Stats")->columns) {
        if (column.name != "TimeStamp")
            assignments += quoteIdentifier(column.name) + " = 0, ";
    }
    call.server.db.write("UPDATE Stats SET " + assignments + "TimeStamp = ?",
                         {Cell{ServerContext::now()}});
    return acknowledge();
}

struct ChartDef
{
    const char *chartClass;
    const char *name;
    int64_t yMax;
};

const ChartDef kCharts[] = {
        {"Messages", "Received", 100},   {"Messages", "Sent", 100},
        {"Messages", "Spam", 50},        {"Messages", "MarkedAsSpam", 10},
        {"Messages", "MarkedAsHam", 10}, {"Connections", "Total", 200},
        {"SMTP", "Count", 100},          {"SMTP", "OutgoingSMTP", 100},
        {"SMTP", "RejectedSMTP", 20},    {"IMAP", "Count", 80},
        {"POP3", "Count", 40},
};

struct ScaleDef
{
    int64_t scale;
    int64_t scaleTime;
    int64_t sampleTime;
};

const ScaleDef kScales[] = {{1, 3600, 60}, {2, 86400, 900}, {3, 7 * 86400, 3600}};

Reply chartList(const FunctionCall &call)
{
    ResultSet result;
    result.columns
            = {{"Class", ColumnType::Text, false},       {"Name", ColumnType::Text, false},
               {"Scale", ColumnType::Int32, false},      {"ScaleTime", ColumnType::Int32, false},
               {"SampleTime", ColumnType::Int32, false}, {"XType", ColumnType::Text, false},
               {"YType", ColumnType::Text, false},       {"YMax", ColumnType::Int32, false}};
    for (const auto &chart : kCharts) {
        for (const auto &scale : kScales)
            result.rows.push_back({Cell{std::string(chart.chartClass)},
                                   Cell{std::string(chart.name)}, Cell{scale.scale},
                                   Cell{scale.scaleTime}, Cell{scale.sampleTime},
                                   Cell{std::string("time")}, Cell{std::string("count")},
                                   Cell{chart.yMax * (scale.sampleTime / 60 + 1)}});
    }
    return rowSetReply(call, result);
}

// Samples are a smooth daily pattern with some noise, so they move with time
// and repeat for the same instant.
Reply chartData(const FunctionCall &call)
{
    const ChartDef *chart = nullptr;
    for (const auto &candidate : kCharts) {
        if (argText(call, 0) == candidate.chartClass && argText(call, 1) == candidate.name)
            chart = &candidate;
    }
    const auto scaleNumber = argInteger(call, 2);
    const ScaleDef *scale = nullptr;
    for (const auto &candidate : kScales) {
        if (scaleNumber && *scaleNumber == candidate.scale)
            scale = &candidate;
    }
    if (!chart || !scale)
        return Reply::failure(status::FunctionParameters);
    ResultSet result;
    result.columns = {{"Time", ColumnType::Int64, false},
                      {"count", ColumnType::Int64, false},
                      {"connections", ColumnType::Int64, false}};
    const int64_t end = ServerContext::now() / scale->sampleTime * scale->sampleTime;
    for (int64_t time = end - scale->scaleTime + scale->sampleTime; time <= end;
         time += scale->sampleTime) {
        const double phase = static_cast<double>(time % 86400) / 86400.0 * 2 * std::numbers::pi;
        const auto noise = static_cast<int64_t>((time / scale->sampleTime * 2654435761u) % 7);
        const double base = static_cast<double>(chart->yMax) * (scale->sampleTime / 60 + 1) / 2;
        const auto value = static_cast<int64_t>(base * (0.6 + 0.4 * std::sin(phase))) + noise;
        result.rows.push_back({Cell{time}, Cell{value}, Cell{value}});
    }
    return rowSetReply(call, result);
}

Reply showConnections(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"Protocol", ColumnType::Text, false}, {"Secure", ColumnType::Int32, false},
                      {"Time", ColumnType::Int32, false},    {"From", ColumnType::Text, false},
                      {"User", ColumnType::Text, false},     {"Info", ColumnType::Text, false}};
    const int64_t now = ServerContext::now();
    for (const auto &session : call.server.sessions())
        result.rows.push_back({Cell{std::string("ADMIN")}, Cell{int64_t(1)},
                               Cell{now - session.since}, Cell{session.peer}, Cell{session.user},
                               Cell{std::string("console session")}});
    // The mail traffic of the moment.
    const struct
    {
        const char *protocol;
        int secure;
        const char *from, *user, *info;
    } traffic[] = {{"SMTP", 0, "198.51.100.23", "", "DATA"},
                   {"IMAP", 1, "192.168.1.20", "alice@example.com", "IDLE INBOX"},
                   {"IMAP", 1, "192.168.1.31", "bob@example.com", "FETCH"},
                   {"POP3", 0, "203.0.113.7", "erin@example.org", "RETR 3"},
                   {"HTTP", 1, "192.168.1.44", "carol@example.com", "webmail"}};
    size_t index = 0;
    for (const auto &entry : traffic) {
        if ((now / 30 + index++) % 4 == 0)
            continue; // connections come and go
        result.rows.push_back({Cell{std::string(entry.protocol)}, Cell{int64_t(entry.secure)},
                               Cell{int64_t((now + int64_t(index) * 97) % 1800)},
                               Cell{std::string(entry.from)}, Cell{std::string(entry.user)},
                               Cell{std::string(entry.info)}});
    }
    return rowSetReply(call, result);
}

Reply showWebSessions(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"User", ColumnType::Text, false},
                      {"ClientAddress", ColumnType::IPv4, false},
                      {"Expires", ColumnType::Int32, false},
                      {"Component", ColumnType::Text, false}};
    const int64_t now = ServerContext::now();
    result.rows.push_back({Cell{std::string("carol@example.com")},
                           Cell{std::string("192.168.1.44")}, Cell{1800 - now % 1800},
                           Cell{std::string("webmail")}});
    result.rows.push_back({Cell{std::string("admin@example.com")}, Cell{std::string("127.0.0.1")},
                           Cell{900 - now % 900}, Cell{std::string("webadmin")}});
    return rowSetReply(call, result);
}

Reply showOpenedFolders(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"name", ColumnType::Text, false},
                      {"refcount", ColumnType::Int32, false},
                      {"index", ColumnType::Int32, false},
                      {"users", ColumnType::List, false}};
    result.rows.push_back({Cell{std::string("alice@example.com/INBOX")}, Cell{int64_t(2)},
                           Cell{int64_t(1)},
                           Cell{std::vector<std::string>{"alice@example.com", "bob@example.com"}}});
    result.rows.push_back({Cell{std::string("#public/Shared")}, Cell{int64_t(1)}, Cell{int64_t(2)},
                           Cell{std::vector<std::string>{"carol@example.com"}}});
    return rowSetReply(call, result);
}

Reply showQueue(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"id", ColumnType::Text, false},      {"create", ColumnType::Text, false},
                      {"nexttry", ColumnType::Text, false}, {"size", ColumnType::Int32, false},
                      {"from", ColumnType::Text, false},    {"to", ColumnType::Text, false},
                      {"status", ColumnType::Text, false}};
    call.server.db.query("SELECT id, created, nexttry, size, sender, recipient, status FROM "
                         "_Queue ORDER BY rowid",
                         {}, [&](const std::vector<Cell> &row) {
                             result.rows.push_back({row[0], Cell{queueDate(cellInteger(row[1]))},
                                                    Cell{queueDate(cellInteger(row[2]))}, row[3],
                                                    row[4], row[5], row[6]});
                             return true;
                         });
    return rowSetReply(call, result);
}

Reply showDelivery(const FunctionCall &call)
{
    ResultSet result;
    result.columns = {{"ID", ColumnType::Text, false},      {"Size", ColumnType::Int32, false},
                      {"From", ColumnType::Text, false},    {"To", ColumnType::Text, false},
                      {"Status", ColumnType::Int32, false}, {"Percent", ColumnType::Int32, false},
                      {"Server", ColumnType::Text, false},  {"Time", ColumnType::Int32, false}};
    const int64_t now = ServerContext::now();
    call.server.db.query("SELECT id, size, sender, recipient FROM _Queue WHERE nexttry <= ? "
                         "ORDER BY rowid LIMIT 3",
                         {Cell{now + 600}}, [&](const std::vector<Cell> &row) {
                             const std::string to = cellText(row[3]);
                             const std::string host = to.substr(to.find('@') + 1);
                             result.rows.push_back({row[0], row[1], row[2], row[3],
                                                    Cell{int64_t(1)}, Cell{int64_t(now % 100)},
                                                    Cell{"mx." + host}, Cell{int64_t(now % 60)}});
                             return true;
                         });
    return rowSetReply(call, result);
}

Reply queueRejuvenate(const FunctionCall &call)
{
    const WriteOutcome outcome
            = call.server.db.write("UPDATE _Queue SET nexttry = ?, status = 'Waiting' WHERE id = ?",
                                   {Cell{ServerContext::now()}, Cell{argText(call, 0)}});
    if (outcome.changes == 0)
        return Reply::failure(status::FunctionParameters);
    return acknowledge();
}

Reply queueRemoveId(const FunctionCall &call)
{
    const WriteOutcome outcome
            = call.server.db.write("DELETE FROM _Queue WHERE id = ?", {Cell{argText(call, 0)}});
    if (outcome.changes == 0)
        return Reply::failure(status::FunctionParameters);
    return acknowledge();
}

// "*" and "?" wildcards, compared ignoring case.
bool wildcardMatch(std::string_view pattern, std::string_view text)
{
    size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
    while (t < text.size()) {
        if (p < pattern.size()
            && (pattern[p] == '?'
                || std::tolower(static_cast<unsigned char>(pattern[p]))
                        == std::tolower(static_cast<unsigned char>(text[t])))) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

Reply queueRemovePattern(const FunctionCall &call)
{
    const std::string &from = argText(call, 0);
    const std::string &to = argText(call, 1);
    std::vector<std::string> doomed;
    call.server.db.query(
            "SELECT id, sender, recipient FROM _Queue", {}, [&](const std::vector<Cell> &row) {
                if (wildcardMatch(from, cellText(row[1])) && wildcardMatch(to, cellText(row[2])))
                    doomed.push_back(cellText(row[0]));
                return true;
            });
    for (const auto &id : doomed)
        call.server.db.write("DELETE FROM _Queue WHERE id = ?", {Cell{id}});
    return acknowledge();
}

Reply runQueue(const FunctionCall &call)
{
    const int64_t waiting = call.server.db.queryInteger("SELECT count(*) FROM _Queue");
    call.server.db.write("UPDATE _Queue SET nexttry = ?", {Cell{ServerContext::now()}});
    call.server.appendLog(call.server.logs.id("mail"),
                          {"QUEUE: processing started on request, " + std::to_string(waiting)
                           + " messages waiting"});
    return integerReply(call, "result", 1);
}

} // namespace

void registerStatusFunctions(FunctionRegistry &registry)
{
    registry.add("Statistics::Reset", {statisticsReset, true, 0, 0});
    registry.add("ChartList", {chartList, false, 0, 0});
    registry.add("ChartData", {chartData, false, 3, 3});
    registry.add("show_connections", {showConnections, false, 0, 0});
    registry.add("showWebSessions", {showWebSessions, false, 0, 0});
    registry.add("ShowOpenedFolders", {showOpenedFolders, false, 0, 0});
    registry.add("show_queue", {showQueue, false, 0, 0});
    registry.add("show_delivery", {showDelivery, false, 0, 0});
    registry.add("QueueRejuvenate", {queueRejuvenate, true, 1, 1});
    registry.add("QueueRemoveID", {queueRemoveId, true, 1, 1});
    registry.add("QueueRemovePattern", {queueRemovePattern, true, 2, 2});
    registry.add("run_queue", {runQueue, true, 0, 0});
}

} // namespace postvane::devserver

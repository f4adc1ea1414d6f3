// Log listing, paging, control of output streams and message groups, search.
#include "function_args.h"
#include "server_context.h"

namespace postvane::devserver {

namespace {

int logIdArg(const FunctionCall &call, size_t index)
{
    return call.server.logs.id(argText(call, index));
}

Reply logList(const FunctionCall &call)
{
    ResultSet result;
    if (call.args.empty()) {
        result.columns = {{"Name", ColumnType::Text, false}};
        for (const auto &name : LogStore::names())
            result.rows.push_back({Cell{name}});
        return rowSetReply(call, result);
    }
    const int id = logIdArg(call, 0);
    if (!id)
        return Reply::failure(status::FunctionParameters);
    result.columns = {{"ID", ColumnType::Int32, false},
                      {"Count", ColumnType::Int32, false},
                      {"Offset", ColumnType::Int32, false}};
    result.rows = {{Cell{int64_t(id)}, Cell{int64_t(call.server.logs.count(id))},
                    Cell{int64_t(call.server.logs.offset(id))}}};
    return rowSetReply(call, result);
}

// LogData("mail", first, count): exactly count lines, oldest first.
Reply logData(const FunctionCall &call)
{
    const int id = logIdArg(call, 0);
    const auto first = argInteger(call, 1);
    const auto lines = argInteger(call, 2);
    if (!id || !first || !lines || *first < 0 || *lines < 0
        || *lines > int64_t(call.server.options.maxLogDataLines))
        return Reply::failure(status::FunctionParameters);
    RowSetEncoder encoder(call.session.maxResultBytes);
    encoder.setColumns({{"line", ColumnType::RawText, false}});
    if (!call.server.logs.read(
                id, static_cast<uint64_t>(*first), static_cast<uint64_t>(*lines),
                [&](std::string_view line) { encoder.appendCell(std::string(line)); }))
        return Reply::failure(status::FunctionParameters);
    if (encoder.overflow())
        return Reply::failure(status::SizeLimit);
    return Reply{status::Ok, 0, encoder.finish()};
}

// Changes one numeric column of the stream row named by log and URL.
Reply setStreamValue(const FunctionCall &call, const std::string &log, const char *column)
{
    const auto value = argInteger(call, 3);
    if (call.args.size() != 4 || !value)
        return Reply::failure(status::FunctionParameters);
    const WriteOutcome outcome
            = call.server.db.write("UPDATE Log SET " + quoteIdentifier(column)
                                           + " = ? WHERE LogName = ? AND StreamURL = ?",
                                   {Cell{*value}, Cell{log}, Cell{argText(call, 2)}});
    if (!outcome.ok() || outcome.changes == 0)
        return Reply::failure(status::FunctionParameters);
    return acknowledge();
}

Reply logCtrl(const FunctionCall &call)
{
    std::string log;
    const int id = call.server.logs.id(argText(call, 0), &log);
    const auto operation = argInteger(call, 1);
    if (!id || !operation)
        return Reply::failure(status::FunctionParameters);
    switch (*operation) {
    case 1: // clear; the offset stays, so viewers see the log shrink
        if (call.args.size() != 2 || !call.server.logs.clear(id))
            return Reply::failure(status::FunctionParameters);
        call.server.announceLog(id);
        return acknowledge();
    case 3:
    case 4: { // enable or disable a message group
        const auto group = argInteger(call, 2);
        if (call.args.size() != 3 || !group)
            return Reply::failure(status::FunctionParameters);
        const WriteOutcome outcome = call.server.db.write(
                "UPDATE _LogEvent SET enabled = ? WHERE log = ? AND name = ?",
                {Cell{int64_t(*operation == 3 ? 1 : 0)}, Cell{log}, Cell{*group}});
        if (outcome.changes == 0)
            return Reply::failure(status::FunctionParameters);
        return acknowledge();
    }
    case 6:
        return setStreamValue(call, log, "StreamFlags");
    case 7: { // add a stream
        const auto flags = argInteger(call, 3);
        const auto rotate = argInteger(call, 4);
        const auto size = argInteger(call, 5);
        const auto count = argInteger(call, 6);
        const std::string &url = argText(call, 2);
        const bool knownScheme = url.starts_with("file:///") || url.starts_with("syslog://")
                || url.starts_with("radius://");
        if (call.args.size() != 7 || !flags || !rotate || !size || !count || !knownScheme)
            return Reply::failure(status::FunctionParameters);
        // A log has at most one stream of each kind.
        const std::string scheme = url.substr(0, url.find("://") + 3);
        if (call.server.db.queryInteger(
                    "SELECT count(*) FROM Log WHERE LogName = ? AND substr(StreamURL, 1, ?) = ?",
                    {Cell{log}, Cell{int64_t(scheme.size())}, Cell{scheme}}))
            return Reply::failure(status::DuplicateKey);
        const WriteOutcome outcome = call.server.db.write(
                "INSERT INTO Log (LogName, StreamURL, StreamFlags, RotateFlags, MaxSize, "
                "RotateCount) VALUES (?, ?, ?, ?, ?, ?)",
                {Cell{log}, Cell{url}, Cell{*flags}, Cell{*rotate}, Cell{*size}, Cell{*count}});
        if (!outcome.ok())
            return Reply::failure(outcome.constraintViolation() ? status::DuplicateKey
                                                                : status::FunctionParameters);
        return acknowledge();
    }
    case 8: { // remove a stream
        if (call.args.size() != 3)
            return Reply::failure(status::FunctionParameters);
        const WriteOutcome outcome
                = call.server.db.write("DELETE FROM Log WHERE LogName = ? AND StreamURL = ?",
                                       {Cell{log}, Cell{argText(call, 2)}});
        if (outcome.changes == 0)
            return Reply::failure(status::FunctionParameters);
        return acknowledge();
    }
    case 9:
        return setStreamValue(call, log, "RotateFlags");
    case 10:
        return setStreamValue(call, log, "MaxSize");
    case 11:
        return setStreamValue(call, log, "RotateCount");
    default:
        return Reply::failure(status::FunctionParameters);
    }
}

Reply logEvent(const FunctionCall &call)
{
    std::string log;
    if (!call.server.logs.id(argText(call, 0), &log))
        return Reply::failure(status::FunctionParameters);
    ResultSet result;
    result.columns = {{"name", ColumnType::Int32, false},
                      {"desc", ColumnType::Text, false},
                      {"enabled", ColumnType::Int32, false},
                      {"parent", ColumnType::Int32, false}};
    call.server.db.query("SELECT name, descr, enabled, parent FROM _LogEvent WHERE log = ? "
                         "ORDER BY rowid",
                         {Cell{log}}, [&](const std::vector<Cell> &row) {
                             result.rows.push_back(row);
                             return true;
                         });
    return rowSetReply(call, result);
}

struct SearchRequest
{
    int log = 0;
    std::string text;
    uint64_t start = 0;
    bool up = false;
    std::optional<uint64_t> end;
};

bool readSearch(const FunctionCall &call, SearchRequest &request)
{
    request.log = logIdArg(call, 0);
    request.text = argText(call, 1);
    const auto start = argInteger(call, 2);
    const auto direction = argInteger(call, 3);
    if (!request.log || !start || *start < 0 || !direction || (*direction != 0 && *direction != 1))
        return false;
    request.start = static_cast<uint64_t>(*start);
    request.up = *direction == 1;
    if (call.args.size() == 5) {
        const auto end = argInteger(call, 4);
        if (!end || *end < 0)
            return false;
        request.end = static_cast<uint64_t>(*end);
    }
    return true;
}

Reply logSearch(const FunctionCall &call)
{
    SearchRequest request;
    if (!readSearch(call, request))
        return Reply::failure(status::FunctionParameters);
    ResultSet result;
    result.columns = {{"Line", ColumnType::Int64, false}};
    if (auto line = call.server.logs.search(request.log, request.text, request.start, request.up,
                                            request.end))
        result.rows.push_back({Cell{int64_t(*line)}});
    return rowSetReply(call, result);
}

Reply asyncLogSearch(const FunctionCall &call)
{
    SearchRequest request;
    if (!readSearch(call, request))
        return Reply::failure(status::FunctionParameters);
    const uint32_t id = call.server.startSearch(request.log, request.text, request.start,
                                                request.up, request.end);
    if (id == 0)
        return Reply::failure(status::SizeLimit); // too many searches running
    return integerReply(call, "SearchId", id);
}

Reply getSearchStatus(const FunctionCall &call)
{
    const auto id = argInteger(call, 0);
    auto search = id ? call.server.search(static_cast<uint32_t>(*id)) : nullptr;
    ResultSet result;
    result.columns = {{"status", ColumnType::Text, false}, {"Line", ColumnType::Int64, false}};
    if (!search) {
        result.rows.push_back({Cell{std::string("unknown")}, Cell{int64_t(0)}});
    } else if (!search->done) {
        result.rows.push_back({Cell{std::string("searching")}, Cell{int64_t(0)}});
    } else if (search->line) {
        result.rows.push_back({Cell{std::string("found")}, Cell{int64_t(*search->line)}});
    } else {
        result.rows.push_back({Cell{std::string("notfound")}, Cell{int64_t(0)}});
    }
    return rowSetReply(call, result);
}

Reply killLogSearch(const FunctionCall &call)
{
    const auto id = argInteger(call, 0);
    if (!id || !call.server.killSearch(static_cast<uint32_t>(*id)))
        return Reply::failure(status::FunctionParameters);
    return acknowledge();
}

} // namespace

void registerLogFunctions(FunctionRegistry &registry)
{
    registry.add("LogList", {logList, false, 0, 1});
    registry.add("LogData", {logData, false, 3, 3});
    registry.add("LogCtrl", {logCtrl, true, 2, 7});
    registry.add("LogEvent", {logEvent, false, 1, 1});
    registry.add("LogSearch", {logSearch, false, 4, 5});
    registry.add("AsyncLogSearch", {asyncLogSearch, false, 4, 5});
    registry.add("GetSearchStatus", {getSearchStatus, false, 1, 1});
    registry.add("KillLogSearch", {killLogSearch, false, 1, 1});
}

} // namespace postvane::devserver

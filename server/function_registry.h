// Server functions by name ("select F(...)" or bare "F(...)").
#pragma once

#include "reply.h"
#include "session_info.h"
#include "statement.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace postvane::devserver {

class ServerContext;

struct FunctionCall
{
    ServerContext &server;
    const SessionInfo &session;
    const std::vector<Literal> &args;
};

using FunctionHandler = std::function<Reply(const FunctionCall &)>;

struct FunctionEntry
{
    FunctionHandler handler;
    bool changesData = false; // refused (300) without the write right
    size_t minArgs = 0;
    size_t maxArgs = 0;
};

class FunctionRegistry
{
public:
    static const FunctionRegistry &instance();

    void add(std::string name, FunctionEntry entry);
    const FunctionEntry *find(std::string_view name) const; // ignoring case

private:
    FunctionRegistry();
    std::map<std::string, FunctionEntry> m_entries; // lower-case names
};

// Registration of the function groups, one per source file.
void registerCoreFunctions(FunctionRegistry &registry);
void registerLogFunctions(FunctionRegistry &registry);
void registerStatusFunctions(FunctionRegistry &registry);
void registerMailFunctions(FunctionRegistry &registry);

// Helpers for handlers.
Reply rowSetReply(const FunctionCall &call, const struct ResultSet &result);
Reply acknowledge();

} // namespace postvane::devserver

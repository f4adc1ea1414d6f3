// Executes parsed statements against the stored tables (bound parameters
// only) and dispatches server functions to the registry.
#pragma once

#include "reply.h"
#include "schema.h"
#include "session_info.h"
#include "statement.h"

#include <string_view>

namespace postvane::devserver {

class ServerContext;

class StatementExecutor
{
public:
    explicit StatementExecutor(ServerContext &server);

    Reply execute(std::string_view text, const SessionInfo &session);
    Reply execute(const Statement &statement, const SessionInfo &session);

private:
    Reply select(const TableDef &table, const Statement &statement, const SessionInfo &session);
    Reply insert(const TableDef &table, const Statement &statement, const SessionInfo &session);
    Reply update(const TableDef &table, const Statement &statement, const SessionInfo &session);
    Reply remove(const TableDef &table, const Statement &statement, const SessionInfo &session);

    ServerContext &m_server;
};

} // namespace postvane::devserver

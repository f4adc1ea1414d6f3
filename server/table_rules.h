// Table-specific behaviour around the generic writes: server-assigned values,
// limits, markers the console must never store, and follow-up changes (a
// deleted group leaves its members' group lists).
#pragma once

#include "cell.h"
#include "schema.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace postvane::devserver {

class ServerContext;

using RowValues = std::map<std::string, Cell>; // canonical column name -> value

namespace TableRules {

// Returned by a rule when the write is accepted but must not be stored.
constexpr uint32_t Skip = 0xffffffffu;

bool writable(const TableDef &table, const ColumnDef &column);
// Password columns: a session without the write right reads them as empty and
// may not use them in conditions.
bool secret(const ColumnDef &column);
uint32_t beforeInsert(ServerContext &server, const TableDef &table, RowValues &values);
uint32_t beforeUpdate(ServerContext &server, const TableDef &table, RowValues &values,
                      const std::string &where, const std::vector<Cell> &whereBinds);
uint32_t beforeDelete(ServerContext &server, const TableDef &table, const std::string &where,
                      const std::vector<Cell> &whereBinds);

// Removes one group name from a comma-separated group list.
std::string withoutGroup(const std::string &groups, const std::string &group);

} // namespace TableRules

} // namespace postvane::devserver

// Declarative description of every stored table: columns, wire types, keys and
// how the table may be written. The SQLite layout and the row-set descriptors
// are both derived from it.
#pragma once

#include "cell.h"

#include <string>
#include <string_view>
#include <vector>

namespace postvane::devserver {

enum class TableKind {
    Rows, // multi-row, insert/update/delete
    Settings, // one row, update only
    ReadOnly, // selects only
    FunctionOnly, // selects; changed only through server functions
};

struct ColumnDef
{
    std::string name;
    ColumnType type = ColumnType::Text;
    bool key = false;
    std::string defaultText; // statement-literal text of the default value
};

struct TableDef
{
    std::string name;
    TableKind kind = TableKind::Rows;
    bool keysIgnoreCase = false;
    bool directoryAware = false; // carries "$RowSource" and an activation state
    std::vector<ColumnDef> columns;

    const ColumnDef *column(std::string_view name) const; // ignoring case
    bool hasKeys() const;
};

class Schema
{
public:
    static const Schema &instance();

    const TableDef *table(std::string_view name) const; // ignoring case
    const std::vector<TableDef> &tables() const { return m_tables; }

    // Parses one table line: columns as "Name[:type][:key][=default]" separated by
    // spaces; types are text, int, int64, ip, port, binary, list, raw.
    static TableDef define(std::string name, TableKind kind, std::string_view columns,
                           bool keysIgnoreCase = false, bool directoryAware = false);

private:
    Schema();
    std::vector<TableDef> m_tables;
};

// The twelve service tables, "service-" + name.
const std::vector<std::string> &serviceNames();

bool equalsIgnoreCase(std::string_view a, std::string_view b);
std::string toLower(std::string_view text);

} // namespace postvane::devserver

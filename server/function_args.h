// Small helpers for reading server-function arguments.
#pragma once

#include "cell.h"
#include "function_registry.h"
#include "result_block.h"

#include <optional>
#include <string>

namespace postvane::devserver {

inline const std::string &argText(const FunctionCall &call, size_t index)
{
    static const std::string empty;
    return index < call.args.size() ? call.args[index].text : empty;
}

inline std::optional<int64_t> argInteger(const FunctionCall &call, size_t index)
{
    if (index >= call.args.size() || call.args[index].text.empty())
        return std::nullopt;
    return parseInteger(call.args[index].text);
}

// A one-row, one-column integer result such as {"Result", 1}.
inline Reply integerReply(const FunctionCall &call, const char *column, int64_t value)
{
    ResultSet result;
    result.columns = {{column, ColumnType::Int32, false}};
    result.rows = {{Cell{value}}};
    return rowSetReply(call, result);
}

} // namespace postvane::devserver

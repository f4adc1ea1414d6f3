// libFuzzer target: the statement parser must never crash, hang or read out
// of bounds, whatever text arrives.
#include "statement_parser.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const postvane::devserver::ParseResult result = postvane::devserver::parseStatement(text);
    // A successful parse always names what it acts on.
    if (result.ok) {
        const auto &statement = result.statement;
        if (statement.kind == postvane::devserver::Statement::Kind::Call
            && statement.function.empty())
            __builtin_trap();
        if (statement.kind != postvane::devserver::Statement::Kind::Call && statement.table.empty())
            __builtin_trap();
    } else if (result.errorOffset > size) {
        __builtin_trap();
    }
    return 0;
}

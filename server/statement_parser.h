// Tokenizer and parser of the statement language; no storage involved, so it
// can be fuzzed on its own.
#pragma once

#include "statement.h"

#include <string_view>

namespace postvane::devserver {

ParseResult parseStatement(std::string_view text);

} // namespace postvane::devserver

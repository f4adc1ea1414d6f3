// Stored password forms: "SHA:" + 16 hex digits of salt + 40 hex digits of a
// PBKDF2-HMAC-SHA1 key (10000 iterations), "NUL:" + plain text, or plain text.
#pragma once

#include <string>
#include <string_view>

namespace postvane::devserver {

std::string hashPassword(std::string_view password);
bool verifyPassword(std::string_view stored, std::string_view password);

} // namespace postvane::devserver

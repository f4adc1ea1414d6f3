// Stored password forms: "SHA:" + 16 hex digits of salt + 40 hex digits of a
// PBKDF2-HMAC-SHA1 key (10000 iterations), "NUL:" + plain text, or plain text.
#pragma once

#include <string>
#include <string_view>

namespace postvane::devserver {

std::string hashPassword(std::string_view password);
bool verifyPassword(std::string_view stored, std::string_view password);
// True for a well-formed "SHA:" form.
bool isPasswordHash(std::string_view stored);
// What is stored for a written password: a hash stays as it is; plain text
// (with or without "NUL:") is hashed with a fresh salt.
std::string storedPasswordForm(std::string_view written);
// The same key derivation a check against a hash costs, for a login whose
// account does not exist, so the answer time does not tell accounts apart.
void spendVerificationWork(std::string_view password);

} // namespace postvane::devserver

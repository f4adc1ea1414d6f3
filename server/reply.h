// What a session sends back for one query: a status (0 = success) with its
// detail word, and on success the encoded block.
#pragma once

#include <cstdint>
#include <string>

namespace postvane::devserver {

namespace status {
constexpr uint32_t Ok = 0;
constexpr uint32_t AccessDenied = 200;
// The database could not store a write (read-only, full, I/O error); the
// detail word carries SQLite's primary result code.
constexpr uint32_t StorageFailure = AccessDenied;
constexpr uint32_t TableNotFound = 201;
constexpr uint32_t ColumnNotFound = 202;
constexpr uint32_t DuplicateKey = 203;
constexpr uint32_t SizeLimit = 204;
constexpr uint32_t WrongRequest = 207;
constexpr uint32_t FunctionAccessDenied = 300;
constexpr uint32_t FunctionNotFound = 301;
constexpr uint32_t FunctionParameters = 302;
constexpr uint32_t ParseError = 400;
constexpr uint32_t Illegal = 401;
constexpr uint32_t BufferSize = 402;
constexpr uint32_t LdapUnavailable = 800;
} // namespace status

struct Reply
{
    uint32_t status = status::Ok;
    uint32_t detail = 0;
    std::string block; // empty on failure

    static Reply failure(uint32_t code, uint32_t detail = 0) { return {code, detail, {}}; }
};

} // namespace postvane::devserver

// One query exchange: request header and text out, response header and
// result block in.
#include "lumadb/lumadb.h"

#include "byte_order.h"
#include "handle.h"
#include "result_clear.h"
#include "transport.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr unsigned char request_query = 0x01;
constexpr size_t request_header_size = 12;
constexpr size_t response_header_size = 16;
// The block buffer grows with what actually arrives, so a header announcing
// gigabytes cannot make the client allocate them up front.
constexpr size_t first_block_allocation = 1 << 20;

// Receives length bytes into a buffer that grows as data arrives.
uint32_t receive_block(lumadb_handle *handle, uint32_t length, unsigned char **block)
{
    size_t capacity = std::min<size_t>(length, first_block_allocation);
    auto *buffer = static_cast<unsigned char *>(std::malloc(capacity));
    if (!buffer)
        return LUMADB_ERR_MEMORY;
    size_t received = 0;
    while (received < length) {
        if (received == capacity) {
            const size_t grown = std::min<size_t>(size_t(length), capacity * 2);
            auto *larger = static_cast<unsigned char *>(std::realloc(buffer, grown));
            if (!larger) {
                std::free(buffer);
                return LUMADB_ERR_MEMORY;
            }
            buffer = larger;
            capacity = grown;
        }
        const size_t piece = capacity - received;
        if (!lumadb::receive_bytes(handle, buffer + received, piece)) {
            std::free(buffer);
            return LUMADB_ERR_NETWORK;
        }
        received += piece;
    }
    *block = buffer;
    return LUMADB_OK;
}

} // namespace

extern "C" uint32_t lumadb_query(lumadb_handle *handle, const char *query, lumadb_result *result)
{
    if (!result)
        return LUMADB_ERR_SYSTEM;
    lumadb::clear_result(result);
    if (!handle || !query)
        return LUMADB_ERR_SYSTEM;

    const size_t text_length = std::strlen(query) + 1;
    if (text_length > UINT32_MAX)
        return LUMADB_ERR_SYSTEM;
    unsigned char header[request_header_size] = {};
    header[0] = request_query;
    lumadb::write_be32(header + 4, static_cast<uint32_t>(text_length));
    lumadb::write_be32(header + 8, 0);
    if (!lumadb::send_bytes(handle, header, sizeof header)
        || !lumadb::send_bytes(handle, query, text_length))
        return LUMADB_ERR_NETWORK;

    unsigned char response[response_header_size];
    if (!lumadb::receive_bytes(handle, response, sizeof response))
        return LUMADB_ERR_NETWORK;
    const uint32_t block_length = lumadb::read_be32(response + 4);
    const uint32_t status = lumadb::read_be32(response + 8);
    const uint32_t detail = lumadb::read_be32(response + 12);
    if (status != LUMADB_OK) {
        handle->last_error = detail;
        return status;
    }
    if (block_length == 0)
        return LUMADB_ERR_SYSTEM;

    unsigned char *block = nullptr;
    if (const uint32_t received = receive_block(handle, block_length, &block))
        return received;
    return lumadb_decode_block(block, block_length, result);
}

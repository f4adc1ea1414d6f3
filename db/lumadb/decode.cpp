// Decoding of a received result block, in place and bounded by the block.
//
// Every length and count is checked against the bytes received before it is
// used, so a malformed block can neither read nor write outside itself nor
// make the decoder allocate more than the block could describe.
#include "lumadb/lumadb.h"

#include "byte_order.h"
#include "result_clear.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr uint32_t block_header_size = 16;
constexpr uint32_t extension_length_offset = 16;
constexpr uint32_t descriptors_offset = 20;
constexpr uint32_t descriptor_fixed_size = 7;
constexpr uint32_t cell_length_size = 4;
constexpr size_t prefetch_distance = 1024;

uint32_t reject(unsigned char *block, void *index, lumadb_result *result)
{
    std::free(index);
    std::free(block);
    lumadb::clear_result(result);
    return LUMADB_ERR_SYSTEM;
}

// Converts the items of a list cell to host order; the list must end with a
// 0 length word inside the cell.
bool convert_list(unsigned char *cell, uint32_t length)
{
    uint32_t pos = 0;
    for (;;) {
        if (length - pos < cell_length_size)
            return false;
        const uint32_t item = lumadb::read_be32(cell + pos);
        lumadb::store_host<uint32_t>(cell + pos, item);
        pos += cell_length_size;
        if (item == 0)
            return true;
        if (item > length - pos)
            return false;
        pos += item;
    }
}

} // namespace

extern "C" uint32_t lumadb_decode_block(unsigned char *block, uint32_t length,
                                        lumadb_result *result)
{
    if (!result) {
        std::free(block);
        return LUMADB_ERR_SYSTEM;
    }
    lumadb::clear_result(result);
    if (!block || length < block_header_size)
        return reject(block, nullptr, result);

    const uint32_t kind = block[1];
    const uint32_t column_count = lumadb::read_be16(block + 2);
    const uint32_t row_count = lumadb::read_be32(block + 4);
    const uint32_t extra = lumadb::read_be32(block + 8);

    // Answers to update, insert, delete and function calls carry no tables,
    // whatever their counts say.
    if (kind != LUMADB_KIND_ROWSET || length == block_header_size) {
        if (kind == LUMADB_KIND_ROWSET && (column_count != 0 || row_count != 0))
            return reject(block, nullptr, result);
        result->kind = kind;
        result->extra = extra;
        result->block = block;
        result->valid = 1;
        return LUMADB_OK;
    }

    if (length < descriptors_offset)
        return reject(block, nullptr, result);
    const uint32_t extension_length = lumadb::read_be32(block + extension_length_offset);
    if (extension_length > length - descriptors_offset)
        return reject(block, nullptr, result);
    uint32_t pos = descriptors_offset + extension_length;

    // Bound the counts by what the remaining bytes can hold before allocating:
    // a descriptor takes at least 7 bytes, a cell at least 4, and rows without
    // columns would take no bytes at all.
    const uint32_t available = length - pos;
    if (column_count == 0 && row_count != 0)
        return reject(block, nullptr, result);
    if (column_count > available / descriptor_fixed_size)
        return reject(block, nullptr, result);
    if (column_count != 0 && row_count > available / (cell_length_size * column_count))
        return reject(block, nullptr, result);

    // One allocation: row table, column table, then the column types.
    const size_t pointer_count = size_t(row_count) + column_count;
    void *index = nullptr;
    if (pointer_count != 0) {
        index = std::malloc(pointer_count * sizeof(unsigned char *) + column_count);
        if (!index) {
            std::free(block);
            lumadb::clear_result(result);
            return LUMADB_ERR_MEMORY;
        }
    }
    auto **rows = static_cast<unsigned char **>(index);
    unsigned char **columns = rows ? rows + row_count : nullptr;
    auto *types = columns ? reinterpret_cast<unsigned char *>(columns + column_count) : nullptr;

    for (uint32_t c = 0; c < column_count; ++c) {
        if (length - pos < descriptor_fixed_size)
            return reject(block, index, result);
        unsigned char *descriptor = block + pos;
        const uint32_t name_length = lumadb::read_be32(descriptor + 3);
        pos += descriptor_fixed_size;
        if (name_length == 0 || name_length > length - pos)
            return reject(block, index, result);
        if (!std::memchr(block + pos, 0, name_length))
            return reject(block, index, result);
        pos += name_length;
        columns[c] = descriptor;
        types[c] = descriptor[1];
    }

    for (uint32_t r = 0; r < row_count; ++r) {
        rows[r] = block + pos;
        // The walk over the cells is a chain of dependent loads; fetching
        // ahead keeps it from waiting on memory for every cache line.
        __builtin_prefetch(block + pos + prefetch_distance, 1);
        __builtin_prefetch(block + pos + prefetch_distance + 64, 1);
        for (uint32_t c = 0; c < column_count; ++c) {
            if (length - pos < cell_length_size)
                return reject(block, index, result);
            unsigned char *cell = block + pos;
            const uint32_t cell_length = lumadb::read_be32(cell);
            pos += cell_length_size;
            if (cell_length > length - pos)
                return reject(block, index, result);
            lumadb::store_host<uint32_t>(cell, cell_length);
            unsigned char *value = cell + cell_length_size;
            switch (types[c]) {
            case LUMADB_TYPE_INT32:
                if (cell_length != 4)
                    return reject(block, index, result);
                lumadb::store_host<uint32_t>(value, lumadb::read_be32(value));
                break;
            case LUMADB_TYPE_INT64:
                if (cell_length != 8)
                    return reject(block, index, result);
                lumadb::store_host<uint64_t>(value, lumadb::read_be64(value));
                break;
            case LUMADB_TYPE_LIST:
                if (!convert_list(value, cell_length))
                    return reject(block, index, result);
                break;
            default:
                break;
            }
            pos += cell_length;
        }
    }

    result->kind = kind;
    result->column_count = column_count;
    result->row_count = row_count;
    result->extra = extra;
    result->rows = rows;
    result->columns = columns;
    result->block = block;
    result->index = index;
    result->valid = 1;
    return LUMADB_OK;
}

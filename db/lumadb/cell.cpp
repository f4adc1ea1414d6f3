// Access to the columns and cells of a decoded result.
#include "lumadb/lumadb.h"

#include "byte_order.h"
#include "result_clear.h"

#include <cstdlib>
#include <cstring>

namespace {

// Walks from the row's first cell over the lengths the decoder already
// converted to host order.
const unsigned char *find_cell(const lumadb_result *result, uint32_t row, uint32_t column,
                               uint32_t *length)
{
    if (!result || !result->valid || !result->rows || row >= result->row_count
        || column >= result->column_count)
        return nullptr;
    const unsigned char *cell = result->rows[row];
    for (uint32_t c = 0; c < column; ++c)
        cell += 4 + lumadb::load_host<uint32_t>(cell);
    *length = lumadb::load_host<uint32_t>(cell);
    return cell + 4;
}

} // namespace

extern "C" uint32_t lumadb_cell(const lumadb_result *result, uint32_t row, uint32_t column,
                                const unsigned char **data, uint32_t *length)
{
    uint32_t cell_length = 0;
    const unsigned char *cell = find_cell(result, row, column, &cell_length);
    if (!cell || !data || !length)
        return LUMADB_ERR_SYSTEM;
    *data = cell;
    *length = cell_length;
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_row_cells(const lumadb_result *result, uint32_t row,
                                     const unsigned char **data, uint32_t *length)
{
    if (!result || !result->valid || !result->rows || row >= result->row_count || !data || !length)
        return LUMADB_ERR_SYSTEM;
    const unsigned char *cell = result->rows[row];
    for (uint32_t c = 0; c < result->column_count; ++c) {
        length[c] = lumadb::load_host<uint32_t>(cell);
        data[c] = cell + 4;
        cell += 4 + length[c];
    }
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_read_result(const lumadb_result *result, uint32_t row, uint32_t column,
                                       void *buffer, uint32_t *length)
{
    uint32_t cell_length = 0;
    const unsigned char *cell = find_cell(result, row, column, &cell_length);
    if (!cell || !length)
        return LUMADB_ERR_SYSTEM;
    if (cell_length > *length || (cell_length > 0 && !buffer)) {
        *length = cell_length;
        return LUMADB_ERR_BUFFER_SIZE;
    }
    if (cell_length > 0)
        std::memcpy(buffer, cell, cell_length);
    *length = cell_length;
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_get_column(const lumadb_result *result, uint32_t column, uint32_t *type,
                                      uint32_t *attribute, const char **name)
{
    if (!result || !result->valid || !result->columns || column >= result->column_count)
        return LUMADB_ERR_SYSTEM;
    const unsigned char *descriptor = result->columns[column];
    if (type)
        *type = descriptor[1];
    if (attribute)
        *attribute = descriptor[2];
    if (name)
        *name = reinterpret_cast<const char *>(descriptor + 7);
    return LUMADB_OK;
}

extern "C" uint32_t lumadb_free_result(lumadb_result *result)
{
    if (!result || !result->valid)
        return LUMADB_OK;
    std::free(result->index);
    std::free(result->block);
    lumadb::clear_result(result);
    return LUMADB_OK;
}

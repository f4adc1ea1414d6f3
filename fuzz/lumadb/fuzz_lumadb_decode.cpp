// Feeds arbitrary bytes to the result-block decoder, then reads every column
// and cell of whatever it accepts and converts each cell to text and back.
#include "lumadb/lumadb.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// The whole-row walk must find exactly the cells the single-cell access finds.
void exercise_rows(const lumadb_result &result)
{
    std::vector<const unsigned char *> data(result.column_count);
    std::vector<uint32_t> lengths(result.column_count);
    for (uint32_t row = 0; row < result.row_count; ++row) {
        if (lumadb_row_cells(&result, row, data.data(), lengths.data()) != LUMADB_OK)
            abort();
        for (uint32_t column = 0; column < result.column_count; ++column) {
            const unsigned char *cell = nullptr;
            uint32_t length = 0;
            if (lumadb_cell(&result, row, column, &cell, &length) != LUMADB_OK
                || cell != data[column] || length != lengths[column])
                abort();
        }
    }
}

void exercise_cells(const lumadb_result &result, uint32_t text_capacity)
{
    exercise_rows(result);
    std::vector<char> text(text_capacity ? text_capacity : 1);
    std::vector<unsigned char> value(256);
    for (uint32_t column = 0; column < result.column_count; ++column) {
        uint32_t type = 0, attribute = 0;
        const char *name = nullptr;
        if (lumadb_get_column(&result, column, &type, &attribute, &name) != LUMADB_OK)
            abort();
        volatile size_t name_length = std::strlen(name); // must end inside the block
        (void)name_length;
        for (uint32_t row = 0; row < result.row_count; ++row) {
            const unsigned char *data = nullptr;
            uint32_t length = 0;
            if (lumadb_cell(&result, row, column, &data, &length) != LUMADB_OK)
                abort();
            unsigned char small[8];
            uint32_t capacity = sizeof small;
            const uint32_t read = lumadb_read_result(&result, row, column, small, &capacity);
            if (read != LUMADB_OK && read != LUMADB_ERR_BUFFER_SIZE)
                abort();
            if (capacity != length)
                abort();
            const uint32_t written
                    = lumadb_value_to_text(type, text.data(), text_capacity, data, length);
            if (written > text_capacity || (written > 0 && text[written - 1] != '\0'))
                abort();
            if (written > 0)
                lumadb_text_to_value(type, text.data(), value.data(), uint32_t(value.size()));
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 1 << 20)
        return 0;
    // The first byte picks the text capacity, so the capacity limits of the
    // conversions are explored too.
    // (The seeds start with 0x00, which selects a capacity every cell fits.)
    const uint32_t text_capacity = size > 0 && data[0] != 0 ? data[0] : 1024;

    unsigned char *block = nullptr;
    if (size > 0) {
        block = static_cast<unsigned char *>(std::malloc(size));
        std::memcpy(block, data, size);
    }
    lumadb_result result;
    std::memset(&result, 0xa5, sizeof result);
    const uint32_t status = lumadb_decode_block(block, uint32_t(size), &result);
    if (status == LUMADB_OK) {
        if (!result.valid)
            abort();
        exercise_cells(result, text_capacity);
        lumadb_free_result(&result);
    } else if (status != LUMADB_ERR_SYSTEM && status != LUMADB_ERR_MEMORY) {
        abort();
    } else if (result.valid || result.block || result.index) {
        abort();
    }

    // The raw bytes as a text for every conversion type.
    std::vector<char> text(data, data + size);
    text.push_back('\0');
    unsigned char value[128];
    for (uint32_t type = 0; type <= 9; ++type)
        lumadb_text_to_value(type, text.data(), value, sizeof value);
    return 0;
}

// Conversions between the decoded form of a cell and its text form.
//
// The decoded form is what the decoder leaves in the block: types 2 and 3 in
// host order, list item lengths in host order, addresses and ports in network
// order. lumadb_text_to_value produces that same form, so the two functions
// are inverses. Both are bounded by the lengths they are given and never
// trust a 0x00 to be present.
#include "lumadb/lumadb.h"

#include "byte_order.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

// Writes a formatted number; 0 when it does not fit.
template<typename... Args>
uint32_t write_formatted(char *output, uint32_t capacity, const char *format, Args... args)
{
    char text[32];
    const int written = std::snprintf(text, sizeof text, format, args...);
    if (written < 0 || uint32_t(written) + 1 > capacity)
        return 0;
    std::memcpy(output, text, size_t(written) + 1);
    return uint32_t(written) + 1;
}

uint32_t text_to_text(char *output, uint32_t capacity, const unsigned char *cell,
                      uint32_t cell_length)
{
    const auto *end = static_cast<const unsigned char *>(std::memchr(cell, 0, cell_length));
    const uint32_t text_length = end ? uint32_t(end - cell) : cell_length;
    if (text_length + 1 > capacity || text_length == std::numeric_limits<uint32_t>::max())
        return 0;
    std::memcpy(output, cell, text_length);
    output[text_length] = '\0';
    return text_length + 1;
}

uint32_t binary_to_text(char *output, uint32_t capacity, const unsigned char *cell,
                        uint32_t cell_length)
{
    static const char digits[] = "0123456789abcdef";
    if (uint64_t(cell_length) * 2 + 1 > capacity)
        return 0;
    for (uint32_t i = 0; i < cell_length; ++i) {
        output[2 * i] = digits[cell[i] >> 4];
        output[2 * i + 1] = digits[cell[i] & 0x0f];
    }
    output[2 * cell_length] = '\0';
    return cell_length * 2 + 1;
}

uint32_t list_to_text(char *output, uint32_t capacity, const unsigned char *cell,
                      uint32_t cell_length)
{
    if (capacity == 0)
        return 0;
    uint32_t pos = 0;
    uint32_t written = 0;
    bool first = true;
    for (;;) {
        if (cell_length - pos < 4)
            break;
        const uint32_t item_length = lumadb::load_host<uint32_t>(cell + pos);
        pos += 4;
        if (item_length == 0) {
            output[written] = '\0';
            return written + 1;
        }
        if (item_length > cell_length - pos)
            break;
        const unsigned char *item = cell + pos;
        const auto *end = static_cast<const unsigned char *>(std::memchr(item, 0, item_length));
        const uint32_t text_length = end ? uint32_t(end - item) : item_length;
        const uint64_t needed = uint64_t(written) + (first ? 0 : 1) + text_length + 1;
        if (needed > capacity)
            break;
        if (!first)
            output[written++] = ',';
        std::memcpy(output + written, item, text_length);
        written += text_length;
        first = false;
        pos += item_length;
    }
    output[0] = '\0';
    return 0;
}

// Parses a whole decimal text (optional leading minus) into [low, high].
bool parse_decimal(const char *text, long long low, unsigned long long high,
                   unsigned long long *magnitude, bool *negative)
{
    const char *p = text;
    *negative = *p == '-';
    if (*negative)
        ++p;
    if (*p < '0' || *p > '9')
        return false;
    unsigned long long value = 0;
    for (; *p; ++p) {
        if (*p < '0' || *p > '9')
            return false;
        const unsigned digit = unsigned(*p - '0');
        if (value > (std::numeric_limits<unsigned long long>::max() - digit) / 10)
            return false;
        value = value * 10 + digit;
    }
    if (*negative) {
        if (value > static_cast<unsigned long long>(-(low + 1)) + 1)
            return false;
    } else if (value > high) {
        return false;
    }
    *magnitude = value;
    return true;
}

int hex_digit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool parse_dotted_quad(const char *text, unsigned char address[4])
{
    const char *p = text;
    for (int part = 0; part < 4; ++part) {
        if (part > 0 && *p++ != '.')
            return false;
        unsigned value = 0;
        int digits = 0;
        while (*p >= '0' && *p <= '9' && digits < 4) {
            value = value * 10 + unsigned(*p++ - '0');
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        address[part] = static_cast<unsigned char>(value);
    }
    return *p == '\0';
}

uint32_t text_to_list(const char *text, unsigned char *output, uint32_t capacity)
{
    uint64_t written = 0;
    const char *item = text;
    // The empty text is the empty list, the text form of a list with no items.
    for (bool more = *text != '\0'; more;) {
        const char *comma = std::strchr(item, ',');
        const size_t item_text = comma ? size_t(comma - item) : std::strlen(item);
        const uint64_t item_length = uint64_t(item_text) + 1;
        if (item_length > std::numeric_limits<uint32_t>::max()
            || written + 4 + item_length > capacity)
            return 0;
        lumadb::store_host<uint32_t>(output + written, uint32_t(item_length));
        std::memcpy(output + written + 4, item, item_text);
        output[written + 4 + item_text] = 0;
        written += 4 + item_length;
        more = comma != nullptr;
        if (more)
            item = comma + 1;
    }
    if (written + 4 > capacity)
        return 0;
    lumadb::store_host<uint32_t>(output + written, 0);
    return uint32_t(written + 4);
}

} // namespace

extern "C" uint32_t lumadb_value_to_text(uint32_t type, char *output, uint32_t capacity,
                                         const unsigned char *cell, uint32_t cell_length)
{
    if (!output || capacity == 0 || (!cell && cell_length > 0))
        return 0;
    switch (type) {
    case LUMADB_TYPE_TEXT:
    case LUMADB_TYPE_TEXT2:
        return text_to_text(output, capacity, cell, cell_length);
    case LUMADB_TYPE_INT32:
        if (cell_length != 4)
            return 0;
        return write_formatted(output, capacity, "%" PRIu32, lumadb::load_host<uint32_t>(cell));
    case LUMADB_TYPE_INT64:
        if (cell_length != 8)
            return 0;
        return write_formatted(output, capacity, "%" PRId64, lumadb::load_host<int64_t>(cell));
    case LUMADB_TYPE_IPV4:
        if (cell_length != 4)
            return 0;
        return write_formatted(output, capacity, "%hu.%hu.%hu.%hu", (unsigned short)cell[0],
                               (unsigned short)cell[1], (unsigned short)cell[2],
                               (unsigned short)cell[3]);
    case LUMADB_TYPE_BINARY:
        return binary_to_text(output, capacity, cell, cell_length);
    case LUMADB_TYPE_PORT:
        if (cell_length != 2)
            return 0;
        return write_formatted(output, capacity, "%hu", (unsigned short)lumadb::read_be16(cell));
    case LUMADB_TYPE_LIST:
        return list_to_text(output, capacity, cell, cell_length);
    default:
        return 0;
    }
}

extern "C" uint32_t lumadb_text_to_value(uint32_t type, const char *text, unsigned char *output,
                                         uint32_t capacity)
{
    if (!text || !output)
        return 0;
    unsigned long long magnitude = 0;
    bool negative = false;
    switch (type) {
    case LUMADB_TYPE_TEXT:
    case LUMADB_TYPE_TEXT2: {
        const size_t length = std::strlen(text) + 1;
        if (length > capacity)
            return 0;
        std::memcpy(output, text, length);
        return uint32_t(length);
    }
    case LUMADB_TYPE_INT32: {
        // Negative values down to INT32_MIN are kept as their two's complement.
        if (capacity < 4
            || !parse_decimal(text, std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<uint32_t>::max(), &magnitude, &negative))
            return 0;
        const uint32_t value = negative ? uint32_t(0) - uint32_t(magnitude) : uint32_t(magnitude);
        lumadb::store_host<uint32_t>(output, value);
        return 4;
    }
    case LUMADB_TYPE_INT64: {
        if (capacity < 8
            || !parse_decimal(text, std::numeric_limits<int64_t>::min(),
                              uint64_t(std::numeric_limits<int64_t>::max()), &magnitude, &negative))
            return 0;
        const uint64_t value = negative ? uint64_t(0) - uint64_t(magnitude) : uint64_t(magnitude);
        lumadb::store_host<uint64_t>(output, value);
        return 8;
    }
    case LUMADB_TYPE_IPV4: {
        unsigned char address[4];
        if (capacity < 4 || !parse_dotted_quad(text, address))
            return 0;
        std::memcpy(output, address, 4);
        return 4;
    }
    case LUMADB_TYPE_BINARY: {
        const size_t length = std::strlen(text);
        if (length % 2 != 0 || length / 2 > capacity)
            return 0;
        for (size_t i = 0; i < length / 2; ++i) {
            const int high = hex_digit(text[2 * i]);
            const int low = hex_digit(text[2 * i + 1]);
            if (high < 0 || low < 0)
                return 0;
            output[i] = static_cast<unsigned char>(high << 4 | low);
        }
        return uint32_t(length / 2);
    }
    case LUMADB_TYPE_PORT:
        if (capacity < 2 || !parse_decimal(text, 0, 65535, &magnitude, &negative) || negative)
            return 0;
        lumadb::write_be16(output, static_cast<uint16_t>(magnitude));
        return 2;
    case LUMADB_TYPE_LIST:
        return text_to_list(text, output, capacity);
    default:
        return 0;
    }
}

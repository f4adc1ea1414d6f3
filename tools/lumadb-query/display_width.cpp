#include "display_width.h"

#include <algorithm>
#include <iterator>

namespace {

struct CodePointRange
{
    char32_t first;
    char32_t last;
};

#include "display_width_tables.inc"

template<size_t N>
bool contains(const CodePointRange (&ranges)[N], char32_t code_point)
{
    // The tables are sorted and do not overlap: find the first range that does
    // not end before the code point.
    const auto *found = std::lower_bound(
            std::begin(ranges), std::end(ranges), code_point,
            [](const CodePointRange &range, char32_t value) { return range.last < value; });
    return found != std::end(ranges) && found->first <= code_point;
}

} // namespace

int code_point_width(char32_t code_point)
{
    if (code_point < 0x300)
        return 1; // Latin fast path: nothing below U+0300 is combining or wide
    if (contains(zero_width_ranges, code_point))
        return 0;
    if (contains(double_width_ranges, code_point))
        return 2;
    return 1;
}

size_t display_width(std::string_view utf8)
{
    size_t width = 0;
    for (size_t pos = 0; pos < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[pos]);
        size_t length = lead < 0x80 ? 1
                : lead >= 0xf0      ? 4
                : lead >= 0xe0      ? 3
                : lead >= 0xc0      ? 2
                                    : 1;
        if (length > utf8.size() - pos)
            length = 1;
        char32_t code_point = length == 1 ? lead : lead & (0x7f >> length);
        for (size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(utf8[pos + i]);
            if ((next & 0xc0) != 0x80) {
                length = 1;
                code_point = lead;
                break;
            }
            code_point = (code_point << 6) | (next & 0x3f);
        }
        width += static_cast<size_t>(code_point_width(code_point));
        pos += length;
    }
    return width;
}

// libFuzzer target for the text handling of lumadb-query: arbitrary bytes go
// through the table, csv and json escapes and the display width.
#include "display_width.h"
#include "text_escape.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// True when text is valid UTF-8 (the escapes promise nothing else).
bool valid_utf8(std::string_view text)
{
    for (size_t pos = 0; pos < text.size();) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        const size_t length = lead < 0x80 ? 1
                : (lead & 0xe0) == 0xc0   ? 2
                : (lead & 0xf0) == 0xe0   ? 3
                : (lead & 0xf8) == 0xf0   ? 4
                                          : 0;
        if (length == 0 || length > text.size() - pos)
            return false;
        for (size_t i = 1; i < length; ++i) {
            if ((static_cast<unsigned char>(text[pos + i]) & 0xc0) != 0x80)
                return false;
        }
        pos += length;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);

    // A table cell: valid UTF-8 on one line, without any control character.
    const std::string cell = printable_text(input);
    if (!valid_utf8(cell))
        std::abort();
    for (unsigned char c : cell) {
        if (c < 0x20 || c == 0x7f)
            std::abort();
    }
    // Each input byte yields at most six output bytes ("\u009f" for a C1
    // control of two bytes is the widest), and takes at most two columns.
    if (cell.size() > size * 6 || display_width(cell) > cell.size() * 2)
        std::abort();

    const std::string json = json_string(input);
    if (!valid_utf8(json) || json.size() < 2 || json.front() != '"' || json.back() != '"')
        std::abort();
    if (!valid_utf8(csv_field(input)))
        std::abort();
    return 0;
}

#include "text_escape.h"

#include <cstdint>
#include <cstdio>

namespace {

constexpr char32_t invalid = 0xfffd;
const std::string replacement = "\xef\xbf\xbd";

// Decodes one UTF-8 sequence at text[pos]; returns its length, or 0 (and the
// replacement character) for a byte that does not start a valid sequence.
size_t decode_utf8(std::string_view text, size_t pos, char32_t *code_point)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        *code_point = lead;
        return 1;
    }
    size_t length;
    char32_t value;
    char32_t minimum;
    if ((lead & 0xe0) == 0xc0) {
        length = 2;
        value = lead & 0x1f;
        minimum = 0x80;
    } else if ((lead & 0xf0) == 0xe0) {
        length = 3;
        value = lead & 0x0f;
        minimum = 0x800;
    } else if ((lead & 0xf8) == 0xf0) {
        length = 4;
        value = lead & 0x07;
        minimum = 0x10000;
    } else {
        *code_point = invalid;
        return 0;
    }
    if (text.size() - pos < length) {
        *code_point = invalid;
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xc0) != 0x80) {
            *code_point = invalid;
            return 0;
        }
        value = (value << 6) | (next & 0x3f);
    }
    if (value < minimum || value > 0x10ffff || (value >= 0xd800 && value <= 0xdfff)) {
        *code_point = invalid;
        return 0;
    }
    *code_point = value;
    return length;
}

} // namespace

std::string json_string(std::string_view text)
{
    std::string out = "\"";
    for (size_t pos = 0; pos < text.size();) {
        char32_t code_point;
        const size_t length = decode_utf8(text, pos, &code_point);
        if (length == 0) {
            out += replacement;
            ++pos;
            continue;
        }
        switch (code_point) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        default:
            if (code_point < 0x20 || code_point == 0x7f) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(code_point));
                out += escaped;
            } else {
                out.append(text.substr(pos, length));
            }
        }
        pos += length;
    }
    out += '"';
    return out;
}

// Characters a terminal would act on (escape sequences, bells, C1 controls).
static bool is_control(char32_t code_point)
{
    return code_point < 0x20 || code_point == 0x7f || (code_point >= 0x80 && code_point < 0xa0);
}

std::string csv_field(std::string_view text)
{
    const std::string valid = [&] {
        std::string copy;
        for (size_t pos = 0; pos < text.size();) {
            char32_t code_point;
            const size_t length = decode_utf8(text, pos, &code_point);
            // Line breaks belong to CSV (inside quotes); other controls could
            // drive the terminal the output lands on, as in the table format.
            if (length == 0
                || (is_control(code_point) && code_point != '\r' && code_point != '\n')) {
                copy += replacement;
                pos += length == 0 ? 1 : length;
            } else {
                copy.append(text.substr(pos, length));
                pos += length;
            }
        }
        return copy;
    }();
    if (valid.find_first_of(",\"\r\n") == std::string::npos)
        return valid;
    std::string out = "\"";
    for (char c : valid) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

namespace {

// The visible form of a character a table cell must not print as it is:
// C0 and C1 controls, DEL, the line and paragraph separators and the
// direction controls that would reorder the rest of the line. Empty for
// every other character.
std::string visible_escape(char32_t code_point)
{
    switch (code_point) {
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        break;
    }
    char escaped[12] = {0};
    if (code_point < 0x20 || code_point == 0x7f)
        std::snprintf(escaped, sizeof escaped, "\\x%02x", unsigned(code_point));
    else if ((code_point >= 0x80 && code_point <= 0x9f) || code_point == 0x2028
             || code_point == 0x2029 || (code_point >= 0x202a && code_point <= 0x202e)
             || (code_point >= 0x2066 && code_point <= 0x2069))
        std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(code_point));
    return escaped;
}

} // namespace

std::string printable_text(std::string_view text)
{
    std::string out;
    for (size_t pos = 0; pos < text.size();) {
        char32_t code_point;
        const size_t length = decode_utf8(text, pos, &code_point);
        if (length == 0) {
            out += replacement;
            ++pos;
            continue;
        }
        const std::string escaped = visible_escape(code_point);
        if (escaped.empty())
            out.append(text.substr(pos, length));
        else
            out += escaped;
        pos += length;
    }
    return out;
}

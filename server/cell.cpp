#include "cell.h"

#include <charconv>
#include <cstdio>

namespace postvane::devserver {

bool isTextType(ColumnType type)
{
    return type == ColumnType::Text || type == ColumnType::Text2 || type == ColumnType::RawText;
}

bool isNumericType(ColumnType type)
{
    return type == ColumnType::Int32 || type == ColumnType::Int64 || type == ColumnType::IPv4
            || type == ColumnType::Port;
}

std::optional<ColumnType> columnTypeFromName(std::string_view name)
{
    struct Entry
    {
        std::string_view name;
        ColumnType type;
    };
    static constexpr Entry entries[] = {
            {"text", ColumnType::Text},   {"int", ColumnType::Int32},
            {"int64", ColumnType::Int64}, {"ip", ColumnType::IPv4},
            {"text2", ColumnType::Text2}, {"binary", ColumnType::Binary},
            {"port", ColumnType::Port},   {"list", ColumnType::List},
            {"raw", ColumnType::RawText},
    };
    for (const auto &entry : entries) {
        if (entry.name == name)
            return entry.type;
    }
    return std::nullopt;
}

std::optional<int64_t> parseInteger(std::string_view text)
{
    if (text.empty())
        return 0;
    int64_t value = 0;
    const char *first = text.data();
    const char *last = text.data() + text.size();
    if (*first == '+')
        ++first;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || first == last)
        return std::nullopt;
    return value;
}

std::optional<uint32_t> parseIpv4(std::string_view text)
{
    uint32_t address = 0;
    int parts = 0;
    size_t pos = 0;
    while (parts < 4) {
        size_t end = text.find('.', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view part = text.substr(pos, end - pos);
        unsigned value = 0;
        auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || part.size() > 3 || ec != std::errc() || ptr != part.data() + part.size()
            || value > 255)
            return std::nullopt;
        address = (address << 8) | value;
        ++parts;
        if (end == text.size())
            break;
        pos = end + 1;
    }
    if (parts != 4 || pos > text.size())
        return std::nullopt;
    return address;
}

std::string formatIpv4(uint32_t address)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", (address >> 24) & 0xff, (address >> 16) & 0xff,
                  (address >> 8) & 0xff, address & 0xff);
    return text;
}

std::optional<Cell> cellFromText(ColumnType type, std::string_view text)
{
    switch (type) {
    case ColumnType::Int32: {
        auto value = parseInteger(text);
        if (!value || *value < INT32_MIN || *value > int64_t(UINT32_MAX))
            return std::nullopt;
        return Cell{*value};
    }
    case ColumnType::Int64: {
        auto value = parseInteger(text);
        if (!value)
            return std::nullopt;
        return Cell{*value};
    }
    case ColumnType::Port: {
        auto value = parseInteger(text);
        if (!value || *value < 0 || *value > 65535)
            return std::nullopt;
        return Cell{*value};
    }
    case ColumnType::IPv4: {
        if (text.empty())
            return Cell{int64_t(0)};
        auto value = parseIpv4(text);
        if (!value)
            return std::nullopt;
        return Cell{int64_t(*value)};
    }
    case ColumnType::Binary: {
        // Binary values travel as lower-case hexadecimal text.
        if (text.size() % 2 != 0)
            return std::nullopt;
        std::string bytes;
        for (size_t i = 0; i < text.size(); i += 2) {
            unsigned value = 0;
            auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + i + 2, value, 16);
            if (ec != std::errc() || ptr != text.data() + i + 2)
                return std::nullopt;
            bytes.push_back(static_cast<char>(value));
        }
        return Cell{std::move(bytes)};
    }
    case ColumnType::List: {
        std::vector<std::string> items;
        size_t pos = 0;
        while (!text.empty() && pos <= text.size()) {
            size_t end = text.find(',', pos);
            if (end == std::string_view::npos)
                end = text.size();
            items.emplace_back(text.substr(pos, end - pos));
            pos = end + 1;
        }
        return Cell{std::move(items)};
    }
    default:
        return Cell{std::string(text)};
    }
}

std::optional<Cell> cellFromList(ColumnType type, const std::vector<std::string> &items)
{
    if (type != ColumnType::List)
        return std::nullopt;
    return Cell{items};
}

std::string cellText(const Cell &cell)
{
    if (auto *value = std::get_if<int64_t>(&cell))
        return std::to_string(*value);
    if (auto *text = std::get_if<std::string>(&cell))
        return *text;
    if (auto *items = std::get_if<std::vector<std::string>>(&cell)) {
        std::string joined;
        for (size_t i = 0; i < items->size(); ++i) {
            if (i)
                joined += ',';
            joined += (*items)[i];
        }
        return joined;
    }
    return {};
}

int64_t cellInteger(const Cell &cell)
{
    if (auto *value = std::get_if<int64_t>(&cell))
        return *value;
    if (auto *text = std::get_if<std::string>(&cell))
        return parseInteger(*text).value_or(0);
    return 0;
}

} // namespace postvane::devserver

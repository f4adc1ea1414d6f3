// Values as the server stores and encodes them, and the wire column types.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace postvane::devserver {

enum class ColumnType : uint8_t {
    Text = 1,
    Int32 = 2,
    Int64 = 3,
    IPv4 = 4,
    Text2 = 5,
    Binary = 6,
    Port = 7,
    List = 8,
    RawText = 10,
};

bool isTextType(ColumnType type);
bool isNumericType(ColumnType type); // 2, 3, 4 and 7 are stored as SQLite integers
std::optional<ColumnType> columnTypeFromName(std::string_view name);

// A stored value. Integers cover types 2, 3, 4 (address as host-order number) and 7;
// text covers the text types and binary bytes; lists are type 8.
using Cell = std::variant<std::monostate, int64_t, std::string, std::vector<std::string>>;

// Parses a decimal integer (optional leading '-'); the empty text is 0.
std::optional<int64_t> parseInteger(std::string_view text);
// Parses a dotted quad into a host-order number.
std::optional<uint32_t> parseIpv4(std::string_view text);
std::string formatIpv4(uint32_t address);

// Converts the text of a statement literal into the cell stored for a column of
// the given type; nullopt when the text does not fit the type.
std::optional<Cell> cellFromText(ColumnType type, std::string_view text);
// Cell from a list literal's items (type 8) or, for other types, nullopt.
std::optional<Cell> cellFromList(ColumnType type, const std::vector<std::string> &items);

// Text form of a cell, used for condition matching in server-side logic.
std::string cellText(const Cell &cell);
int64_t cellInteger(const Cell &cell);

} // namespace postvane::devserver

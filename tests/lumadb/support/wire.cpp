#include "wire.h"

#include <algorithm>
#include <cstring>

namespace lumadb_test {

Bytes be16(uint16_t value)
{
    return {char(value >> 8), char(value)};
}

Bytes be32(uint32_t value)
{
    return {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
}

Bytes be64(uint64_t value)
{
    return be32(uint32_t(value >> 32)) + be32(uint32_t(value));
}

Bytes byte(unsigned value)
{
    return Bytes(1, char(value));
}

Bytes text_field(const std::string &text)
{
    return be32(uint32_t(text.size() + 1)) + text + byte(0);
}

Bytes query_request(const std::string &query)
{
    return byte(1) + Bytes(3, '\0') + be32(uint32_t(query.size() + 1)) + be32(0) + query + byte(0);
}

Bytes response(uint32_t status, uint32_t detail, const Bytes &block)
{
    return be32(0) + be32(uint32_t(block.size())) + be32(status) + be32(detail) + block;
}

Bytes text_cell(const std::string &text)
{
    return text + byte(0);
}

Bytes int32_cell(uint32_t value)
{
    return be32(value);
}

Bytes int64_cell(int64_t value)
{
    return be64(uint64_t(value));
}

Bytes ipv4_cell(unsigned a, unsigned b, unsigned c, unsigned d)
{
    return {char(a), char(b), char(c), char(d)};
}

Bytes port_cell(uint16_t port)
{
    return be16(port);
}

Bytes list_cell(const std::vector<std::string> &items)
{
    Bytes cell;
    for (const std::string &item : items)
        cell += be32(uint32_t(item.size() + 1)) + item + byte(0);
    return cell + be32(0);
}

Bytes BlockBuilder::build() const
{
    const uint32_t column_count = column_count_override >= 0 ? uint32_t(column_count_override)
                                                             : uint32_t(columns.size());
    const uint32_t row_count
            = row_count_override >= 0 ? uint32_t(row_count_override) : uint32_t(rows.size());
    Bytes block = byte(0) + byte(kind) + be16(uint16_t(column_count)) + be32(row_count)
            + be32(extra) + be32(0);
    if (columns.empty() && rows.empty() && extension.empty())
        return block;
    block += be32(uint32_t(extension.size())) + extension;
    for (const Column &column : columns) {
        block += byte(0) + byte(column.type) + byte(column.attribute)
                + be32(uint32_t(column.name.size() + 1)) + column.name + byte(0);
    }
    for (const auto &row : rows) {
        for (const Bytes &cell : row)
            block += be32(uint32_t(cell.size())) + cell;
    }
    return block;
}

Bytes LoginScript::client_choice() const
{
    return byte(2) + byte(session ? 0x81 : 0x01);
}

Bytes LoginScript::client_credentials() const
{
    return text_field(user) + text_field(password);
}

Bytes LoginScript::server_verdict_and_versions() const
{
    return byte(1) + be32(rights) + byte(protocol) + be16(0xabcd) + be16(version[0])
            + be16(version[1]) + be16(version[2]);
}

Bytes LoginScript::client_application() const
{
    Bytes field(32, '\0');
    std::memcpy(field.data(), application.data(), std::min<size_t>(application.size(), 31));
    return byte(5) + field;
}

Bytes LoginScript::server_application_accepted() const
{
    Bytes answer = byte(1);
    if (session)
        answer += be32(notification_key);
    return answer;
}

} // namespace lumadb_test

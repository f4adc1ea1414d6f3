// Builders for the bytes of the lumadb protocol, for scripted servers,
// tests and benchmarks. Byte strings are held in std::string.
#ifndef LUMADB_TEST_WIRE_H
#define LUMADB_TEST_WIRE_H

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace lumadb_test {

using Bytes = std::string;

Bytes be16(uint16_t value);
Bytes be32(uint32_t value);
Bytes be64(uint64_t value);
Bytes byte(unsigned value);

// A 4-byte length (text + 1) and the text with its 0x00, as login fields are sent.
Bytes text_field(const std::string &text);
// Request header and text of one query.
Bytes query_request(const std::string &query);
// A 16-byte response header followed by the block.
Bytes response(uint32_t status, uint32_t detail, const Bytes &block = {});

// Cell values in wire form (before decoding).
Bytes text_cell(const std::string &text);
Bytes int32_cell(uint32_t value);
Bytes int64_cell(int64_t value);
Bytes ipv4_cell(unsigned a, unsigned b, unsigned c, unsigned d);
Bytes port_cell(uint16_t port);
Bytes list_cell(const std::vector<std::string> &items);

struct Column
{
    unsigned type;
    std::string name;
    unsigned attribute = 0;
};

// A result block: header, extension area, column descriptors and rows.
struct BlockBuilder
{
    unsigned kind = 115;
    uint32_t extra = 0;
    Bytes extension;
    std::vector<Column> columns;
    std::vector<std::vector<Bytes>> rows; // wire form of each cell, without its length word
    // Counts written in the header; the real sizes when not set.
    int64_t column_count_override = -1;
    int64_t row_count_override = -1;

    Bytes build() const;
};

// The exchanges of one login, from both sides.
struct LoginScript
{
    std::string user = "admin";
    std::string password = "secret";
    bool session = true;
    Bytes methods = Bytes("\x03\x01\x00", 3);
    uint32_t rights = 3;
    unsigned protocol = 22;
    uint16_t version[3] = {4, 2, 7};
    std::string application = "Brantel Admin (Windows)";
    uint32_t notification_key = 0x0badf00d;

    Bytes client_choice() const; // 0x02 and the mode byte
    Bytes client_credentials() const;
    Bytes server_verdict_and_versions() const;
    Bytes client_application() const;
    Bytes server_application_accepted() const;
};

} // namespace lumadb_test

#endif // LUMADB_TEST_WIRE_H

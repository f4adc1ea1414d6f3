// Byte layout of the blocks the server sends, checked against the protocol's
// worked examples rather than against the client's decoder.
#include "result_block.h"

#include <gtest/gtest.h>

using namespace postvane::devserver;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out.push_back(static_cast<char>(v));
    return out;
}

// The block of a single-column, single-row result holding cell.
std::string oneCell(ColumnType type, const Cell &cell)
{
    ResultSet result;
    result.columns = {{"c", type, false}};
    result.rows = {{cell}};
    return encodeResultSet(result, SIZE_MAX);
}

// The cell bytes (length word included) of oneCell: after the 16-byte header,
// the 4-byte extension length and the 9-byte descriptor of column "c".
std::string cellBytes(const std::string &block)
{
    return block.substr(16 + 4 + 9);
}

TEST(WireEncoding, HeadersAndAcknowledgement)
{
    EXPECT_EQ(encodeResponseHeader(0x10203, 301, 7),
              bytes({0, 0, 0, 0, 0, 1, 2, 3, 0, 0, 1, 0x2d, 0, 0, 0, 7}));
    const std::string ack = encodeAcknowledgement();
    ASSERT_EQ(ack.size(), 16u);
    EXPECT_NE(static_cast<unsigned char>(ack[1]), 115u) << "an acknowledgement is not a row set";
}

TEST(WireEncoding, RowSetHeaderAndDescriptors)
{
    ResultSet result;
    result.columns = {{"Service", ColumnType::Text, true}, {"Port", ColumnType::Port, false}};
    result.rows = {{Cell{std::string("smtp")}, Cell{int64_t(25)}},
                   {Cell{std::string("pop3")}, Cell{int64_t(110)}}};
    const std::string block = encodeResultSet(result, SIZE_MAX);
    const std::string expectedStart
            = bytes({0, 115, 0, 2, 0, 0, 0, 2,   0,   0,   0,   0,   0,   0,   0,
                     0, 0,   0, 0, 0, // extension length
                     0, 1,   1, 0, 0, 0, 8, 'S', 'e', 'r', 'v', 'i', 'c', 'e', 0, // key column
                     0, 7,   0, 0, 0, 0, 5, 'P', 'o', 'r', 't', 0});
    ASSERT_GE(block.size(), expectedStart.size());
    EXPECT_EQ(block.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(block.substr(expectedStart.size()),
              bytes({0, 0, 0, 5, 's', 'm', 't', 'p', 0, 0, 0, 0, 2, 0, 25,
                     0, 0, 0, 5, 'p', 'o', 'p', '3', 0, 0, 0, 0, 2, 0, 110}));
}

TEST(WireEncoding, CellsOfEveryType)
{
    const struct
    {
        ColumnType type;
        Cell cell;
        std::string expected;
    } cases[] = {
            {ColumnType::Text, Cell{std::string()}, bytes({0, 0, 0, 1, 0})},
            {ColumnType::RawText, Cell{std::string("\xe9")}, bytes({0, 0, 0, 2, 0xe9, 0})},
            {ColumnType::Int32, Cell{int64_t(-1)}, bytes({0, 0, 0, 4, 0xff, 0xff, 0xff, 0xff})},
            {ColumnType::Int64, Cell{int64_t(0x0102030405060708)},
             bytes({0, 0, 0, 8, 1, 2, 3, 4, 5, 6, 7, 8})},
            {ColumnType::IPv4, Cell{std::string("192.168.0.1")},
             bytes({0, 0, 0, 4, 192, 168, 0, 1})},
            {ColumnType::IPv4, Cell{int64_t(0x7f000001)}, bytes({0, 0, 0, 4, 127, 0, 0, 1})},
            {ColumnType::Port, Cell{int64_t(44337)}, bytes({0, 0, 0, 2, 0xad, 0x31})},
            {ColumnType::Binary, Cell{std::string("\x01\xff", 2)}, bytes({0, 0, 0, 2, 1, 0xff})},
            {ColumnType::List, Cell{std::vector<std::string>{"a", "bc"}},
             bytes({0, 0, 0, 17, 0, 0, 0, 2, 'a', 0, 0, 0, 0, 3, 'b', 'c', 0, 0, 0, 0, 0})},
            {ColumnType::List, Cell{std::vector<std::string>{}}, bytes({0, 0, 0, 4, 0, 0, 0, 0})},
    };
    for (const auto &c : cases)
        EXPECT_EQ(cellBytes(oneCell(c.type, c.cell)), c.expected)
                << "type " << static_cast<int>(c.type);
}

TEST(WireEncoding, EmptyRowSetKeepsItsDescriptorsAndSizeLimitStopsGrowth)
{
    ResultSet empty;
    empty.columns = {{"To", ColumnType::Text, true}};
    const std::string block = encodeResultSet(empty, SIZE_MAX);
    EXPECT_EQ(block.size(), 16u + 4 + 7 + 3);
    EXPECT_EQ(block.substr(4, 4), bytes({0, 0, 0, 0}));

    RowSetEncoder encoder(100);
    encoder.setColumns({{"line", ColumnType::RawText, false}});
    for (int i = 0; i < 50 && !encoder.overflow(); ++i)
        encoder.appendCell(Cell{std::string(10, 'x')});
    EXPECT_TRUE(encoder.overflow());
    EXPECT_TRUE(encoder.finish().empty());
}

} // namespace

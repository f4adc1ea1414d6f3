// Decoding of result blocks in place, cell access, and the rejection of
// blocks whose lengths or counts do not fit what was received.
#include "decoded_block.h"

#include "lumadb/byte_order.h"
#include "wire.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace lumadb_test;

namespace {

std::string cell_text(const lumadb_result &result, uint32_t row, uint32_t column)
{
    uint32_t type = 0;
    EXPECT_EQ(lumadb_get_column(&result, column, &type, nullptr, nullptr), 0u);
    const unsigned char *data = nullptr;
    uint32_t length = 0;
    EXPECT_EQ(lumadb_cell(&result, row, column, &data, &length), 0u);
    std::vector<char> text(2 * length + 32);
    const uint32_t written
            = lumadb_value_to_text(type, text.data(), uint32_t(text.size()), data, length);
    EXPECT_GT(written, 0u) << "row " << row << " column " << column;
    return written ? std::string(text.data()) : std::string("<no text>");
}

BlockBuilder mixed_block()
{
    BlockBuilder builder;
    builder.extra = 0x01020304;
    builder.columns = {{1, "name", 7}, {2, "count"},  {3, "size"}, {4, "address"},
                       {5, "comment"}, {6, "digest"}, {7, "port"}, {8, "domains"}};
    builder.rows.push_back({text_cell("alice"), int32_cell(4000000000u), int64_cell(-5),
                            ipv4_cell(192, 168, 1, 20), text_cell("grüße"),
                            Bytes("\xde\xad\x01", 3), port_cell(443), list_cell({"a", "bc"})});
    builder.rows.push_back({text_cell(""), int32_cell(0), int64_cell(1099511627776),
                            ipv4_cell(0, 0, 0, 0), text_cell("x"), Bytes(), port_cell(65535),
                            list_cell({})});
    return builder;
}

} // namespace

TEST(DecodeBlock, MixedRowSetIsConvertedInPlace)
{
    DecodedBlock decoded(mixed_block().build());
    ASSERT_EQ(decoded.status, 0u);
    const lumadb_result &result = decoded.result;
    EXPECT_EQ(result.valid, 1u);
    EXPECT_EQ(result.kind, LUMADB_KIND_ROWSET);
    EXPECT_EQ(result.column_count, 8u);
    EXPECT_EQ(result.row_count, 2u);
    EXPECT_EQ(result.extra, 0x01020304u);

    uint32_t type = 0, attribute = 0;
    const char *name = nullptr;
    ASSERT_EQ(lumadb_get_column(&result, 0, &type, &attribute, &name), 0u);
    EXPECT_EQ(type, 1u);
    EXPECT_EQ(attribute, 7u);
    EXPECT_STREQ(name, "name");
    ASSERT_EQ(lumadb_get_column(&result, 7, &type, &attribute, &name), 0u);
    EXPECT_EQ(type, 8u);
    EXPECT_STREQ(name, "domains");
    EXPECT_EQ(lumadb_get_column(&result, 8, &type, &attribute, &name), LUMADB_ERR_SYSTEM);

    // Integers are host order after decoding; addresses and ports stay in
    // network order.
    const unsigned char *data = nullptr;
    uint32_t length = 0;
    ASSERT_EQ(lumadb_cell(&result, 0, 1, &data, &length), 0u);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(lumadb::load_host<uint32_t>(data), 4000000000u);
    ASSERT_EQ(lumadb_cell(&result, 0, 2, &data, &length), 0u);
    ASSERT_EQ(length, 8u);
    EXPECT_EQ(lumadb::load_host<int64_t>(data), -5);
    ASSERT_EQ(lumadb_cell(&result, 0, 6, &data, &length), 0u);
    EXPECT_EQ(lumadb::read_be16(data), 443u);
    // A list of a and bc: item lengths 2 and 3 in host order, then the 0 word.
    ASSERT_EQ(lumadb_cell(&result, 0, 7, &data, &length), 0u);
    ASSERT_EQ(length, 17u);
    EXPECT_EQ(lumadb::load_host<uint32_t>(data), 2u);
    EXPECT_EQ(lumadb::load_host<uint32_t>(data + 6), 3u);
    EXPECT_EQ(lumadb::load_host<uint32_t>(data + 13), 0u);

    const std::vector<std::vector<std::string>> expected
            = {{"alice", "4000000000", "-5", "192.168.1.20", "grüße", "dead01", "443", "a,bc"},
               {"", "0", "1099511627776", "0.0.0.0", "x", "", "65535", ""}};
    for (uint32_t row = 0; row < 2; ++row) {
        for (uint32_t column = 0; column < 8; ++column) {
            EXPECT_EQ(cell_text(result, row, column), expected[row][column])
                    << "row " << row << " column " << column;
        }
    }
}

TEST(DecodeBlock, RowCellsMatchSingleCells)
{
    DecodedBlock decoded(mixed_block().build());
    ASSERT_EQ(decoded.status, 0u);
    const lumadb_result &result = decoded.result;
    std::vector<const unsigned char *> data(result.column_count);
    std::vector<uint32_t> lengths(result.column_count);
    for (uint32_t row = 0; row < result.row_count; ++row) {
        ASSERT_EQ(lumadb_row_cells(&result, row, data.data(), lengths.data()), 0u);
        for (uint32_t column = 0; column < result.column_count; ++column) {
            const unsigned char *cell = nullptr;
            uint32_t length = 0;
            ASSERT_EQ(lumadb_cell(&result, row, column, &cell, &length), 0u);
            EXPECT_EQ(data[column], cell) << "row " << row << " column " << column;
            EXPECT_EQ(lengths[column], length) << "row " << row << " column " << column;
        }
    }
    EXPECT_EQ(lumadb_row_cells(&result, result.row_count, data.data(), lengths.data()),
              LUMADB_ERR_SYSTEM);
    EXPECT_EQ(lumadb_row_cells(&result, 0, nullptr, lengths.data()), LUMADB_ERR_SYSTEM);
    lumadb_result cleared{};
    EXPECT_EQ(lumadb_row_cells(&cleared, 0, data.data(), lengths.data()), LUMADB_ERR_SYSTEM);
}

TEST(DecodeBlock, ExtensionAreaIsSkipped)
{
    BlockBuilder builder;
    builder.extension = Bytes("\x00\x01\x02\x03\x04\x05\x06", 7);
    builder.columns = {{1, "only"}};
    builder.rows = {{text_cell("one")}, {text_cell("two")}};
    DecodedBlock decoded(builder.build());
    ASSERT_EQ(decoded.status, 0u);
    EXPECT_EQ(cell_text(decoded.result, 1, 0), "two");
}

TEST(DecodeBlock, HeaderOnlyBlocks)
{
    struct Case
    {
        const char *name;
        unsigned kind;
        int64_t columns;
        int64_t rows;
        uint32_t status;
    };
    const Case cases[] = {
            {"empty row set", 115, 0, 0, 0},
            {"row set announcing a column", 115, 1, 0, LUMADB_ERR_SYSTEM},
            {"row set announcing a row", 115, 0, 1, LUMADB_ERR_SYSTEM},
            {"other kind with counts", 'u', 3, 9, 0},
    };
    for (const Case &c : cases) {
        BlockBuilder builder;
        builder.kind = c.kind;
        builder.extra = 42;
        builder.column_count_override = c.columns;
        builder.row_count_override = c.rows;
        const Bytes block = builder.build();
        ASSERT_EQ(block.size(), 16u);
        DecodedBlock decoded(block);
        EXPECT_EQ(decoded.status, c.status) << c.name;
        if (c.status == 0) {
            EXPECT_EQ(decoded.result.valid, 1u) << c.name;
            EXPECT_EQ(decoded.result.kind, c.kind) << c.name;
            EXPECT_EQ(decoded.result.row_count, 0u) << c.name;
            EXPECT_EQ(decoded.result.column_count, 0u) << c.name;
            EXPECT_EQ(decoded.result.extra, 42u) << c.name;
        }
    }
}

TEST(DecodeBlock, OtherKindIgnoresTheRestOfTheBlock)
{
    BlockBuilder builder = mixed_block();
    builder.kind = 'u';
    Bytes block = builder.build();
    block[17] = '\xff'; // extension length far past the end does not matter
    DecodedBlock decoded(block);
    ASSERT_EQ(decoded.status, 0u);
    EXPECT_EQ(decoded.result.row_count, 0u);
    uint32_t length = 16;
    char buffer[16];
    EXPECT_EQ(lumadb_read_result(&decoded.result, 0, 0, buffer, &length), LUMADB_ERR_SYSTEM);
}

TEST(DecodeBlock, MalformedBlocksAreRejectedAndReleased)
{
    const Bytes valid = mixed_block().build();
    // Offsets inside the mixed block: descriptors start at 20, the first
    // descriptor ("name") is 7 + 5 bytes long.
    const size_t first_descriptor = 20;
    const size_t second_descriptor = first_descriptor + 12;
    BlockBuilder single;
    single.columns = {{1, "t"}};
    single.rows = {{text_cell("abc")}};
    const Bytes one_cell = single.build();
    const size_t first_cell = 20 + 7 + 2;

    auto with = [](Bytes block, size_t offset, const Bytes &replacement) {
        block.replace(offset, replacement.size(), replacement);
        return block;
    };
    auto cell_block = [](unsigned type, const Bytes &cell) {
        BlockBuilder builder;
        builder.columns = {{type, "c"}};
        builder.rows = {{cell}};
        return builder.build();
    };
    auto absurd = [](int64_t columns, int64_t rows) {
        BlockBuilder builder;
        builder.columns = {{1, "c"}};
        builder.rows = {{text_cell("a")}, {text_cell("b")}};
        builder.column_count_override = columns;
        builder.row_count_override = rows;
        return builder.build();
    };

    struct Case
    {
        const char *name;
        Bytes block;
    };
    const std::vector<Case> cases = {
            {"no block", Bytes()},
            {"truncated header", valid.substr(0, 15)},
            {"extension length cut short", valid.substr(0, 18)},
            {"extension length past the end", with(valid, 16, be32(uint32_t(valid.size())))},
            {"extension length wrapping around", with(valid, 16, be32(0xfffffffc))},
            {"descriptor cut short", valid.substr(0, first_descriptor + 5)},
            {"name length past the end", with(valid, first_descriptor + 3, be32(0x7fffffff))},
            {"name length zero", with(valid, first_descriptor + 3, be32(0))},
            {"name without 0x00", with(valid, second_descriptor + 7 + 5, byte('x'))},
            {"cell length word cut short", one_cell.substr(0, first_cell + 2)},
            {"cell length past the end", with(one_cell, first_cell, be32(5))},
            {"cell length all ones", with(one_cell, first_cell, be32(0xffffffff))},
            {"fewer rows than announced", absurd(1, 3)},
            {"absurd row count", absurd(1, 0xffffffff)},
            {"absurd column count", absurd(0xffff, 2)},
            {"rows without columns", absurd(0, 2)},
            {"32-bit integer of 3 bytes", cell_block(2, Bytes("\x01\x02\x03", 3))},
            {"32-bit integer of 8 bytes", cell_block(2, int64_cell(1))},
            {"64-bit integer of 4 bytes", cell_block(3, int32_cell(1))},
            {"list without end word", cell_block(8, be32(2) + Bytes("a\0", 2))},
            {"list item past the cell", cell_block(8, be32(9) + Bytes("a\0", 2) + be32(0))},
            {"list item length all ones", cell_block(8, be32(0xffffffff) + be32(0))},
            {"empty list cell", cell_block(8, Bytes())},
    };
    for (const Case &c : cases) {
        DecodedBlock decoded(c.block);
        EXPECT_EQ(decoded.status, LUMADB_ERR_SYSTEM) << c.name;
        EXPECT_EQ(decoded.result.valid, 0u) << c.name;
        EXPECT_EQ(decoded.result.block, nullptr) << c.name;
        EXPECT_EQ(decoded.result.index, nullptr) << c.name;
        EXPECT_EQ(decoded.result.rows, nullptr) << c.name;
        EXPECT_EQ(decoded.result.row_count, 0u) << c.name;
    }
}

TEST(DecodeBlock, AbsurdRowCountInASmallBlockAllocatesNothing)
{
    // 40 bytes announcing 0xFFFFFFFF rows: rejected before any allocation
    // (an attempt to allocate 32 GiB would abort under the sanitizer).
    BlockBuilder builder;
    builder.columns = {{1, "c"}};
    builder.rows = {{text_cell("abcdef")}};
    builder.row_count_override = 0xffffffff;
    const Bytes block = builder.build();
    ASSERT_EQ(block.size(), 40u);
    DecodedBlock decoded(block);
    EXPECT_EQ(decoded.status, LUMADB_ERR_SYSTEM);
}

TEST(ReadResult, TooSmallBufferReportsTheLengthThenSucceeds)
{
    BlockBuilder builder;
    builder.columns = {{6, "blob"}, {1, "after"}};
    const Bytes big(300, '\x5a');
    builder.rows = {{big, text_cell("z")}};
    DecodedBlock decoded(builder.build());
    ASSERT_EQ(decoded.status, 0u);

    std::vector<unsigned char> buffer(300, 0);
    uint32_t length = 256;
    EXPECT_EQ(lumadb_read_result(&decoded.result, 0, 0, buffer.data(), &length),
              LUMADB_ERR_BUFFER_SIZE);
    EXPECT_EQ(length, 300u);
    EXPECT_EQ(buffer[0], 0) << "nothing copied on 402";
    length = 300;
    ASSERT_EQ(lumadb_read_result(&decoded.result, 0, 0, buffer.data(), &length), 0u);
    EXPECT_EQ(length, 300u);
    EXPECT_EQ(Bytes(buffer.begin(), buffer.end()), big);
    // The walk over the first cell finds the second.
    length = 300;
    ASSERT_EQ(lumadb_read_result(&decoded.result, 0, 1, buffer.data(), &length), 0u);
    EXPECT_EQ(length, 2u);
    EXPECT_EQ(buffer[0], 'z');
}

TEST(ReadResult, OutOfRangeAndInvalidResults)
{
    BlockBuilder builder;
    builder.columns = {{1, "c"}};
    builder.rows = {{text_cell("a")}};
    DecodedBlock decoded(builder.build());
    ASSERT_EQ(decoded.status, 0u);
    char buffer[8];
    uint32_t length = sizeof buffer;
    EXPECT_EQ(lumadb_read_result(&decoded.result, 1, 0, buffer, &length), LUMADB_ERR_SYSTEM);
    EXPECT_EQ(lumadb_read_result(&decoded.result, 0, 1, buffer, &length), LUMADB_ERR_SYSTEM);
    EXPECT_EQ(lumadb_read_result(nullptr, 0, 0, buffer, &length), LUMADB_ERR_SYSTEM);

    lumadb_result cleared{};
    EXPECT_EQ(lumadb_read_result(&cleared, 0, 0, buffer, &length), LUMADB_ERR_SYSTEM);
    EXPECT_EQ(lumadb_get_column(&cleared, 0, nullptr, nullptr, nullptr), LUMADB_ERR_SYSTEM);
    EXPECT_EQ(lumadb_free_result(&cleared), 0u);

    // Releasing clears the result; a second release is a no-op.
    lumadb_result &result = decoded.result;
    EXPECT_EQ(lumadb_free_result(&result), 0u);
    EXPECT_EQ(result.valid, 0u);
    EXPECT_EQ(result.block, nullptr);
    EXPECT_EQ(lumadb_free_result(&result), 0u);
    EXPECT_EQ(lumadb_read_result(&result, 0, 0, buffer, &length), LUMADB_ERR_SYSTEM);
}

// Conversions between decoded cells and their text forms, both ways, and the
// status texts.
#include "lumadb/byte_order.h"
#include "lumadb/lumadb.h"
#include "wire.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using lumadb_test::Bytes;

namespace {

template<typename T>
Bytes host_bytes(T value)
{
    Bytes bytes(sizeof value, '\0');
    lumadb::store_host<T>(reinterpret_cast<unsigned char *>(bytes.data()), value);
    return bytes;
}

// A list cell in decoded form: host-order item lengths.
Bytes host_list(const std::vector<std::string> &items)
{
    Bytes cell;
    for (const std::string &item : items)
        cell += host_bytes<uint32_t>(uint32_t(item.size() + 1)) + item + Bytes(1, '\0');
    return cell + host_bytes<uint32_t>(0);
}

} // namespace

TEST(ValueToText, TableOfCases)
{
    struct Case
    {
        const char *name;
        uint32_t type;
        Bytes cell;
        uint32_t capacity;
        uint32_t returned;
        std::string text; // checked when returned != 0
    };
    const std::vector<Case> cases = {
            {"text", 1, Bytes("hello\0", 6), 6, 6, "hello"},
            {"text one byte short", 1, Bytes("hello\0", 6), 5, 0, ""},
            {"text without its 0x00 stays inside the cell", 5, Bytes("abc", 3), 8, 4, "abc"},
            {"empty text cell", 1, Bytes(), 1, 1, ""},
            {"unsigned 32-bit", 2, host_bytes<uint32_t>(4294967295u), 11, 11, "4294967295"},
            {"32-bit too small output", 2, host_bytes<uint32_t>(12345), 5, 0, ""},
            {"32-bit cell of wrong size", 2, Bytes(3, '\1'), 32, 0, ""},
            {"negative 64-bit", 3, host_bytes<int64_t>(-5), 32, 3, "-5"},
            {"smallest 64-bit", 3, host_bytes<int64_t>(INT64_MIN), 32, 21, "-9223372036854775808"},
            {"64-bit cell of wrong size", 3, host_bytes<uint32_t>(1), 32, 0, ""},
            {"address", 4, Bytes("\xc0\xa8\x01\x14", 4), 16, 13, "192.168.1.20"},
            {"address cell of wrong size", 4, Bytes("\x01\x02\x03", 3), 16, 0, ""},
            {"binary", 6, Bytes("\xde\xad\x01", 3), 7, 7, "dead01"},
            {"binary one byte short", 6, Bytes("\xde\xad\x01", 3), 6, 0, ""},
            {"empty binary", 6, Bytes(), 1, 1, ""},
            {"port", 7, Bytes("\x01\xbb", 2), 8, 4, "443"},
            {"port cell of wrong size", 7, Bytes("\x01", 1), 8, 0, ""},
            {"list", 8, host_list({"a", "bc"}), 5, 5, "a,bc"},
            {"list not fitting", 8, host_list({"a", "bc"}), 4, 0, ""},
            {"empty list", 8, host_list({}), 1, 1, ""},
            {"list without end word", 8, host_bytes<uint32_t>(2) + Bytes("a\0", 2), 16, 0, ""},
            {"list item past the cell", 8, host_bytes<uint32_t>(50) + host_bytes<uint32_t>(0), 64,
             0, ""},
            {"type 0", 0, Bytes("x\0", 2), 8, 0, ""},
            {"type 9", 9, Bytes("x\0", 2), 8, 0, ""},
    };
    for (const Case &c : cases) {
        std::vector<char> output(c.capacity + 8, '#');
        const uint32_t returned = lumadb_value_to_text(
                c.type, output.data(), c.capacity,
                reinterpret_cast<const unsigned char *>(c.cell.data()), uint32_t(c.cell.size()));
        EXPECT_EQ(returned, c.returned) << c.name;
        if (c.returned != 0 && returned == c.returned) {
            EXPECT_EQ(std::string(output.data()), c.text) << c.name;
        }
        EXPECT_EQ(output[c.capacity], '#') << c.name << ": wrote past the capacity";
        if (c.type == 8 && c.returned == 0) {
            EXPECT_EQ(output[0], '\0') << c.name << ": a list that does not fit leaves ''";
        }
    }
}

TEST(TextToValue, TableOfCases)
{
    struct Case
    {
        const char *name;
        uint32_t type;
        const char *text;
        uint32_t capacity;
        Bytes produced; // empty: the call must return 0
    };
    const std::vector<Case> cases = {
            {"text", 1, "hi", 3, Bytes("hi\0", 3)},
            {"text too long", 5, "hi", 2, {}},
            {"largest unsigned 32-bit", 2, "4294967295", 4, host_bytes<uint32_t>(4294967295u)},
            {"negative 32-bit as two's complement", 2, "-1", 4, host_bytes<uint32_t>(0xffffffff)},
            {"32-bit overflow", 2, "4294967296", 4, {}},
            {"32-bit below the signed range", 2, "-2147483649", 4, {}},
            {"32-bit with letters", 2, "12a", 4, {}},
            {"32-bit empty", 2, "", 4, {}},
            {"32-bit lone minus", 2, "-", 4, {}},
            {"32-bit without room", 2, "1", 3, {}},
            {"smallest 64-bit", 3, "-9223372036854775808", 8, host_bytes<int64_t>(INT64_MIN)},
            {"64-bit overflow", 3, "9223372036854775808", 8, {}},
            {"64-bit huge", 3, "99999999999999999999999", 8, {}},
            {"address", 4, "10.1.2.3", 4, Bytes("\x0a\x01\x02\x03", 4)},
            {"address part over 255", 4, "256.1.1.1", 4, {}},
            {"address with three parts", 4, "1.2.3", 4, {}},
            {"address with five parts", 4, "1.2.3.4.5", 4, {}},
            {"address with an empty part", 4, "1..2.3", 4, {}},
            {"binary, either case", 6, "DEad01", 3, Bytes("\xde\xad\x01", 3)},
            {"binary of odd length", 6, "abc", 8, {}},
            {"binary with a non-digit", 6, "zz", 8, {}},
            {"binary without room", 6, "0102", 1, {}},
            {"port", 7, "443", 2, Bytes("\x01\xbb", 2)},
            {"port over 65535", 7, "65536", 2, {}},
            {"negative port", 7, "-1", 2, {}},
            {"list", 8, "a,bc", 17, host_list({"a", "bc"})},
            {"list one byte short", 8, "a,bc", 16, {}},
            {"list with an empty item", 8, "a,", 32, host_list({"a", ""})},
            {"unknown type", 9, "1", 8, {}},
    };
    for (const Case &c : cases) {
        std::vector<unsigned char> output(c.capacity + 8, 0xee);
        const uint32_t produced = lumadb_text_to_value(c.type, c.text, output.data(), c.capacity);
        EXPECT_EQ(produced, c.produced.size()) << c.name;
        if (!c.produced.empty() && produced == c.produced.size()) {
            EXPECT_EQ(Bytes(output.begin(), output.begin() + produced), c.produced) << c.name;
        }
        EXPECT_EQ(output[c.capacity], 0xee) << c.name << ": wrote past the capacity";
    }
    // The empty text is the empty list (just the end word).
    unsigned char list[8];
    EXPECT_EQ(lumadb_text_to_value(8, "", list, sizeof list), 4u);
}

TEST(ValueConversions, TextSurvivesARoundTrip)
{
    struct Case
    {
        uint32_t type;
        const char *text;
    };
    const Case cases[] = {{1, "Grüße"}, {2, "123456"},
                          {3, "-77"},   {4, "127.0.0.1"},
                          {5, ""},      {6, "00ff10"},
                          {7, "25"},    {8, "x.org,y.net,z"},
                          {8, ""},      {3, "9223372036854775807"}};
    for (const Case &c : cases) {
        unsigned char value[128];
        const uint32_t length = lumadb_text_to_value(c.type, c.text, value, sizeof value);
        ASSERT_TRUE(length > 0 || c.text[0] == '\0') << c.type << " " << c.text;
        char text[256];
        ASSERT_GT(lumadb_value_to_text(c.type, text, sizeof text, value, length), 0u)
                << c.type << " " << c.text;
        EXPECT_STREQ(text, c.text);
    }
}

TEST(StatusText, KnownAndUnknownCodes)
{
    EXPECT_STREQ(lumadb_status_text(0), "operation completed successfully");
    EXPECT_STREQ(lumadb_status_text(402), "SQL buffer is small or inproper size");
    EXPECT_STREQ(lumadb_status_text(604), "server could be mitm");
    EXPECT_STREQ(lumadb_status_text(703), "client failed to open \"known_hosts.cfg\". Time is up");
    EXPECT_STREQ(lumadb_status_text(802), "LDAP map not configured for this operation");
    EXPECT_STREQ(lumadb_status_text(211), "UNKNOWN");
    EXPECT_STREQ(lumadb_status_text(0xffffffff), "UNKNOWN");
}

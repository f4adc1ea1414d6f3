// The escaping of cell texts for json, csv and table output.
#include "text_escape.h"

#include <gtest/gtest.h>

TEST(TextEscape, JsonStrings)
{
    struct Case
    {
        const char *name;
        std::string text;
        std::string json;
    };
    const Case cases[] = {
            {"plain", "abc", "\"abc\""},
            {"quote and backslash", "a\"b\\c", "\"a\\\"b\\\\c\""},
            {"named control characters", "\n\r\t\b\f", "\"\\n\\r\\t\\b\\f\""},
            {"other control characters", std::string("\x01\x1f\x7f", 3) + std::string(1, '\0'),
             "\"\\u0001\\u001f\\u007f\\u0000\""},
            {"valid multi-byte UTF-8 kept", "ü€𝄞", "\"ü€𝄞\""},
            {"stray continuation byte", "a\x80z", "\"a\xef\xbf\xbdz\""},
            {"truncated sequence at the end", "a\xe2\x82", "\"a\xef\xbf\xbd\xef\xbf\xbd\""},
            {"overlong slash", "\xc0\xaf", "\"\xef\xbf\xbd\xef\xbf\xbd\""},
            {"encoded surrogate", "\xed\xa0\x80", "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},
            {"beyond U+10FFFF", "\xf4\x90\x80\x80",
             "\"\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(json_string(c.text), c.json) << c.name;
}

TEST(TextEscape, CsvFields)
{
    EXPECT_EQ(csv_field("plain text"), "plain text");
    EXPECT_EQ(csv_field("a,b"), "\"a,b\"");
    EXPECT_EQ(csv_field("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csv_field("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csv_field("cr\r"), "\"cr\r\"");
    EXPECT_EQ(csv_field(""), "");
    EXPECT_EQ(csv_field("bad \xff"), "bad \xef\xbf\xbd");
    // A hostile server's escape sequences never reach the terminal.
    EXPECT_EQ(csv_field("clear\x1b[2Jscreen"), "clear\xef\xbf\xbd[2Jscreen");
    EXPECT_EQ(csv_field("bell\a"), "bell\xef\xbf\xbd");
    EXPECT_EQ(csv_field("csi \xc2\x9b"
                        "31m"),
              "csi \xef\xbf\xbd"
              "31m");
    EXPECT_EQ(csv_field(std::string("nul\0x", 5)), "nul\xef\xbf\xbdx");
    EXPECT_EQ(csv_field("tab\tend,"),
              "\"tab\xef\xbf\xbd"
              "end,\"");
}

TEST(TextEscape, TableCellsShowControlCharactersVisibly)
{
    struct Case
    {
        const char *name;
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
            {"plain text and backslashes stay", "ok ü C:\\mail", "ok ü C:\\mail"},
            {"named controls", "a\nb\r\tc", "a\\nb\\r\\tc"},
            {"other C0 controls and DEL", std::string("\x01\x1b[2J\x7f", 6) + std::string(1, '\0'),
             "\\x01\\x1b[2J\\x7f\\x00"},
            {"C1 control", "x\xc2\x85y", "x\\u0085y"},
            {"line separator and direction override",
             "a\xe2\x80\xa8"
             "b\xe2\x80\xae"
             "c",
             "a\\u2028b\\u202ec"},
            {"invalid UTF-8", "bad \xff", "bad \xef\xbf\xbd"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(printable_text(c.text), c.shown) << c.name;
}

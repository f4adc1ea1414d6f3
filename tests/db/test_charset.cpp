// Folder-name encoding (modified UTF-7 of IMAP) and plain iconv conversions.
#include "db/charsetconverter.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using brantel::utils::CharsetConverter;
using brantel::utils::convertString;

namespace {

std::string toFolder(const std::string &utf8)
{
    std::string out;
    EXPECT_TRUE(convertString("UTF-8", "utf-7-imap", utf8, out, true)) << utf8;
    return out;
}

std::string fromFolder(const std::string &folder, bool lenient = true)
{
    std::string out;
    EXPECT_TRUE(convertString("UTF-7-IMAP", "UTF-8", folder, out, lenient)) << folder;
    return out;
}

struct FolderCase
{
    const char *utf8;
    const char *folder;
};

const FolderCase folderCases[] = {
        {"INBOX", "INBOX"},
        {"Sent Items/2024", "Sent Items/2024"},
        {"Tom & Jerry", "Tom &- Jerry"},
        {"&", "&-"},
        {"\xc3\xbc", "&APw-"}, // one character below U+10000
        {"\xe6\x97\xa5\xe6\x9c\xac", "&ZeVnLA-"},
        {"\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82", "&BB8EQAQ4BDIENQRC-"},
        {"\xc3\x9c"
         "n\xc3\xaf"
         "code & x",
         "&ANw-n&AO8-code &- x"},
        {"a\xf0\x9f\x98\x80"
         "b",
         "a&2D3eAA-b"}, // above U+10000: a surrogate pair
        {"", ""},
};

} // namespace

TEST(CharsetConverter, FolderNamesConvertBothWays)
{
    for (const FolderCase &c : folderCases) {
        EXPECT_EQ(toFolder(c.utf8), c.folder) << c.utf8;
        EXPECT_EQ(fromFolder(c.folder), c.utf8) << c.folder;
    }
}

TEST(CharsetConverter, ShortRunIsMalformedAmpersand)
{
    EXPECT_EQ(fromFolder("x&Jj", true), "x&Jj");
    CharsetConverter strict("utf-7m", "UTF-8", true, false);
    std::string out;
    try {
        strict.convert("x&Jj", out);
        FAIL() << "no error raised";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(), "The conversion failed - malformed UTF7-IMAP ('&').");
    }
    // Neither lenient nor throwing: the offending byte is skipped.
    CharsetConverter quiet("utf-7m", "UTF-8", false, false);
    ASSERT_TRUE(quiet.convert("x&Jj", out));
    EXPECT_EQ(out, "xJj");
}

TEST(CharsetConverter, MalformedRunsInEachMode)
{
    const char *malformed[] = {"&Jjo", "&Jj!-", "&J-x-", "&AAAAAAAA"};
    for (const char *input : malformed) {
        EXPECT_EQ(fromFolder(input, true), std::string("&") + (input + 1)) << input;
        CharsetConverter strict("UTF-7-IMAP", "UTF-8", true, false);
        std::string out;
        try {
            strict.convert(input, out);
            ADD_FAILURE() << "no error for " << input;
        } catch (const std::runtime_error &e) {
            EXPECT_STREQ(e.what(), "The conversion failed - malformed UTF7-IMAP.") << input;
        }
    }
}

TEST(CharsetConverter, EightBitByteEndsFolderText)
{
    EXPECT_EQ(fromFolder("ab\xc3\xa9"
                         "cd"),
              "ab");
}

TEST(CharsetConverter, UnknownCharsetThrowsOrReportsFailure)
{
    try {
        CharsetConverter converter("no-such-charset", "UTF-8", true, false);
        FAIL() << "no error raised";
    } catch (const std::runtime_error &e) {
        EXPECT_STREQ(e.what(),
                     "CharsetConverter: failed to initialize string conversion from "
                     "\"no-such-charset\" encoding to \"UTF-8\" encoding");
    }
    CharsetConverter quiet("no-such-charset", "UTF-8");
    EXPECT_FALSE(quiet.isValid());
    std::string out = "unchanged";
    EXPECT_FALSE(quiet.convert("abc", out));
    EXPECT_EQ(out, "unchanged");
    EXPECT_FALSE(convertString("UTF-8", "no-such-charset", "abc", out));
}

TEST(CharsetConverter, UnrepresentableCharactersAreDropped)
{
    std::string out;
    ASSERT_TRUE(convertString("UTF-8", "ISO-8859-1",
                              "a\xe2\x82\xac"
                              "b\xc3\xa9",
                              out));
    EXPECT_EQ(out, "ab\xe9");
}

TEST(CharsetConverter, MalformedInputLenientSkipsStrictFails)
{
    std::string out;
    ASSERT_TRUE(convertString("UTF-8", "ISO-8859-1",
                              "a\xff"
                              "b",
                              out, true));
    EXPECT_EQ(out, "ab");
    EXPECT_FALSE(convertString("UTF-8", "ISO-8859-1",
                               "a\xff"
                               "b",
                               out, false));
}

TEST(CharsetConverter, LongInputGrowsOutput)
{
    std::string input;
    for (int i = 0; i < 5000; ++i)
        input += "\xe2\x82\xac"; // euro sign, 3 bytes in, 2 units out
    const std::string folder = toFolder(input);
    EXPECT_EQ(folder.front(), '&');
    EXPECT_EQ(folder.back(), '-');
    EXPECT_EQ(fromFolder(folder), input);
}

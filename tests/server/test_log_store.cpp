// File-backed logs: paging by line number, clearing, searching both ways,
// and recovery from an index torn by a killed process.
#include "log_store.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace postvane::devserver;

namespace {

class LogStoreTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "logstore-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        std::string error;
        ASSERT_TRUE(store.open(dir, error)) << error;
        mail = store.id("MAIL");
        ASSERT_GT(mail, 0);
    }
    void TearDown() override
    {
        store.close();
        std::filesystem::remove_all(dir);
    }
    std::vector<std::string> readLines(uint64_t first, uint64_t count)
    {
        std::vector<std::string> lines;
        EXPECT_TRUE(store.read(mail, first, count,
                               [&](std::string_view line) { lines.emplace_back(line); }));
        return lines;
    }

    std::string dir;
    LogStore store;
    int mail = 0;
};

TEST_F(LogStoreTest, PagesAreExactAndOutOfRangeIsRefused)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 10000; ++i)
        lines.push_back("line " + std::to_string(i) + (i % 3 ? "" : " with\nbreak"));
    ASSERT_TRUE(store.append(mail, lines));
    EXPECT_EQ(store.count(mail), 10000u);

    auto page = readLines(4095, 4100); // crosses the internal chunk size
    ASSERT_EQ(page.size(), 4100u);
    EXPECT_EQ(page.front(), "line 4095 with break"); // line feeds inside a line become spaces
    EXPECT_EQ(page.back(), "line 8194");
    EXPECT_EQ(readLines(9999, 1), std::vector<std::string>{"line 9999 with break"});
    EXPECT_TRUE(readLines(10000, 0).empty());

    EXPECT_FALSE(store.read(mail, 9999, 2, [](std::string_view) {}));
    EXPECT_FALSE(store.read(mail, 10001, 0, [](std::string_view) {}));
    EXPECT_FALSE(store.read(0, 0, 0, [](std::string_view) {}));
}

TEST_F(LogStoreTest, ClearKeepsOffsetAndReopenKeepsLines)
{
    ASSERT_TRUE(store.append(mail, {"a", "b", ""}));
    const uint32_t offset = store.offset(mail);
    store.close();
    std::string error;
    ASSERT_TRUE(store.open(dir, error)) << error;
    EXPECT_EQ(store.count(mail), 3u);
    EXPECT_EQ(store.offset(mail), offset);
    EXPECT_EQ(readLines(0, 3), (std::vector<std::string>{"a", "b", ""}));

    ASSERT_TRUE(store.clear(mail));
    EXPECT_EQ(store.count(mail), 0u);
    EXPECT_EQ(store.offset(mail), offset);
}

TEST_F(LogStoreTest, TornIndexEntryIsDropped)
{
    ASSERT_TRUE(store.append(mail, {"first", "second"}));
    store.close();
    {
        std::ofstream index(dir + "/mail.idx", std::ios::app | std::ios::binary);
        index.write("\x01\x02\x03", 3); // a partly written entry
    }
    std::string error;
    ASSERT_TRUE(store.open(dir, error)) << error;
    EXPECT_EQ(store.count(mail), 2u);
    ASSERT_TRUE(store.append(mail, {"third"}));
    EXPECT_EQ(readLines(0, 3), (std::vector<std::string>{"first", "second", "third"}));
}

TEST_F(LogStoreTest, SearchFindsNearestMatchInEitherDirection)
{
    std::vector<std::string> lines(9000, "nothing here");
    lines[10] = "User ALICE logged in";
    lines[5000] = "user alice logged out";
    lines[8999] = "alice again";
    ASSERT_TRUE(store.append(mail, lines));

    struct Case
    {
        uint64_t start;
        bool up;
        std::optional<uint64_t> end;
        std::optional<uint64_t> expected;
    } cases[] = {
            {0, false, std::nullopt, 10},     {10, false, std::nullopt, 10},
            {11, false, std::nullopt, 5000},  {5001, false, std::nullopt, 8999},
            {11, false, 5000, std::nullopt},  {8998, true, std::nullopt, 5000},
            {4999, true, std::nullopt, 10},   {9, true, std::nullopt, std::nullopt},
            {8998, true, 5000, std::nullopt}, {9000, false, std::nullopt, std::nullopt},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(store.search(mail, "alice", c.start, c.up, c.end), c.expected)
                << "start " << c.start << (c.up ? " up" : " down");
    }
    EXPECT_EQ(store.search(mail, "a\"b", 0, false, std::nullopt), std::nullopt);
}

} // namespace

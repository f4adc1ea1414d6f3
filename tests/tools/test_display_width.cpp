// Column widths of the table output: what a terminal shows, not bytes or
// code points.
#include "display_width.h"

#include <gtest/gtest.h>

TEST(DisplayWidth, CodePointsAtTheEdgesOfTheirClasses)
{
    struct Case
    {
        char32_t code_point;
        int width;
    };
    const Case cases[] = {
            {U'a', 1},          {U'\u00fc', 1},     {U'\u02ff', 1},     {U'\u0300', 0},
            {U'\u036f', 0},     {U'\u0370', 1},     {U'\u0483', 0},     {U'\u093f', 1},
            {U'\u0941', 0},     {U'\u10ff', 1},     {U'\u1100', 2},     {U'\u115f', 2},
            {U'\u1160', 0},     {U'\u11ff', 0},     {U'\u200b', 0},     {U'\u200d', 0},
            {U'\u2010', 1},     {U'\u20ac', 1},     {U'\u2e7f', 1},     {U'\u2e80', 2},
            {U'\u3000', 2},     {U'\u4e00', 2},     {U'\u9fff', 2},     {U'\uac00', 2},
            {U'\ud7a3', 2},     {U'\ufe0f', 0},     {U'\ufeff', 0},     {U'\uff01', 2},
            {U'\uff61', 1},     {U'\uffe0', 2},     {U'\U0001F600', 2}, {U'\U0001F680', 2},
            {U'\U0001F9D1', 2}, {U'\U0001F3FB', 2}, {U'\U000E0100', 0}, {U'\U00020000', 2},
            {U'\U0010FFFD', 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(code_point_width(c.code_point), c.width) << std::hex << unsigned(c.code_point);
}

TEST(DisplayWidth, Texts)
{
    struct Case
    {
        const char *name;
        std::string text;
        size_t width;
    };
    const Case cases[] = {
            {"empty", "", 0},
            {"ascii", "bob", 3},
            {"latin and euro", "ü€x", 3},
            {"combining acute after e", "e\xcc\x81", 1},
            {"Japanese", "日本語", 6},
            {"Korean syllables", "한국", 4},
            {"emoji", "ok 😀", 5},
            {"invalid bytes count one each", "a\xff\xfe", 3},
            {"truncated sequence", "a\xe6\x97", 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(display_width(c.text), c.width) << c.name;
}

// How many terminal columns text takes, for lining up table columns.
#ifndef LUMADB_QUERY_DISPLAY_WIDTH_H
#define LUMADB_QUERY_DISPLAY_WIDTH_H

#include <cstddef>
#include <string_view>

// 0 for combining marks and zero-width characters, 2 for East Asian wide and
// fullwidth characters (CJK, Hangul syllables, emoji shown as pictures), 1
// for everything else. Sequences joined by U+200D count as their parts.
int code_point_width(char32_t code_point);

// Sum of the widths of the code points of valid UTF-8 text (the table's
// printable text; an invalid byte counts as one column).
size_t display_width(std::string_view utf8);

#endif // LUMADB_QUERY_DISPLAY_WIDTH_H

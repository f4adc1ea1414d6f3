// Safe text for the outputs of lumadb-query: JSON strings, CSV fields and
// table cells. Invalid UTF-8 becomes U+FFFD instead of passing through.
#ifndef LUMADB_QUERY_TEXT_ESCAPE_H
#define LUMADB_QUERY_TEXT_ESCAPE_H

#include <string>
#include <string_view>

// A JSON string literal, quotes included.
std::string json_string(std::string_view text);
// A CSV field as RFC 4180 has it: quoted when it holds a comma, a quote, CR or
// LF, with quotes doubled; other control characters shown as U+FFFD.
std::string csv_field(std::string_view text);
// Text for a table cell: valid UTF-8 on one line. Line feed, carriage return
// and tab show as \n, \r and \t, other control characters as \xHH (C0, DEL)
// or \uHHHH (C1, line and paragraph separators, direction controls);
// backslashes stay as they are.
std::string printable_text(std::string_view text);

#endif // LUMADB_QUERY_TEXT_ESCAPE_H

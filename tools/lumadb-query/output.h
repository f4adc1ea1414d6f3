// The three output formats of lumadb-query.
#ifndef LUMADB_QUERY_OUTPUT_H
#define LUMADB_QUERY_OUTPUT_H

#include "lumadb/lumadb.h"
#include "options.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

class ResultPrinter
{
public:
    virtual ~ResultPrinter() = default;
    virtual void login(std::optional<uint32_t> rights, uint32_t protocol, const uint32_t version[3])
            = 0;
    virtual void result(const std::string &query, const lumadb_result &result) = 0;
    virtual void failure(const std::string &query, uint32_t status, uint32_t detail) = 0;
    virtual void notification(const unsigned char *payload, uint32_t length) = 0;
};

std::unique_ptr<ResultPrinter> make_printer(OutputFormat format, FILE *out, FILE *err);

// Type code of the cells "LogData(" answers with: a log line, its bytes
// delivered as they are (the library converts no such cell to text).
constexpr uint32_t log_line_type = 10;

// The text form of one cell; nullopt when it has none (unknown type code).
std::optional<std::string> cell_text(const lumadb_result &result, uint32_t row, uint32_t column);

#endif // LUMADB_QUERY_OUTPUT_H

#include "output.h"

#include "display_width.h"
#include "failure_reason.h"
#include "text_escape.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

struct ColumnInfo
{
    std::string name;
    uint32_t type = 0;
    uint32_t attribute = 0;
};

std::vector<ColumnInfo> columns_of(const lumadb_result &result)
{
    std::vector<ColumnInfo> columns;
    for (uint32_t c = 0; c < result.column_count; ++c) {
        ColumnInfo info;
        const char *name = nullptr;
        if (lumadb_get_column(&result, c, &info.type, &info.attribute, &name) == LUMADB_OK)
            info.name = name;
        columns.push_back(std::move(info));
    }
    return columns;
}

std::string hex_text(const unsigned char *bytes, uint32_t length)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size_t(length) * 2);
    for (uint32_t i = 0; i < length; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0f];
    }
    return text;
}

// The detail of a failure: the network failure in words, else "detail N".
std::string detail_words(uint32_t status, uint32_t detail)
{
    const std::string reason = failure_reason(status, detail);
    return reason.empty() ? "detail " + std::to_string(detail) : reason;
}

// The json member naming a network failure in words; empty when it has none.
std::string reason_member(uint32_t status, uint32_t detail)
{
    const std::string reason = failure_reason(status, detail);
    return reason.empty() ? std::string() : ", \"reason\": " + json_string(reason);
}

void write_line(FILE *out, const std::string &line)
{
    std::fwrite(line.data(), 1, line.size(), out);
    std::fputc('\n', out);
    std::fflush(out);
}

class JsonPrinter : public ResultPrinter
{
public:
    explicit JsonPrinter(FILE *out)
        : m_out(out)
    { }

    void login(std::optional<uint32_t> rights, uint32_t protocol,
               const uint32_t version[3]) override
    {
        write_line(m_out,
                   "{\"login\": {\"status\": 0, \"rights\": "
                           + (rights ? std::to_string(*rights) : std::string("null"))
                           + ", \"protocol\": " + std::to_string(protocol) + ", \"version\": ["
                           + std::to_string(version[0]) + ", " + std::to_string(version[1]) + ", "
                           + std::to_string(version[2]) + "]}}");
    }

    void result(const std::string &query, const lumadb_result &result) override
    {
        std::string line = "{\"query\": " + json_string(query)
                + ", \"status\": 0, \"kind\": " + std::to_string(result.kind)
                + ", \"extra\": " + std::to_string(result.extra) + ", \"columns\": [";
        const std::vector<ColumnInfo> columns = columns_of(result);
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c > 0)
                line += ", ";
            line += "{\"name\": " + json_string(columns[c].name)
                    + ", \"type\": " + std::to_string(columns[c].type)
                    + ", \"attribute\": " + std::to_string(columns[c].attribute) + "}";
        }
        line += "], \"rows\": [";
        for (uint32_t r = 0; r < result.row_count; ++r) {
            line += r > 0 ? ", [" : "[";
            for (uint32_t c = 0; c < result.column_count; ++c) {
                if (c > 0)
                    line += ", ";
                const std::optional<std::string> text = cell_text(result, r, c);
                line += text ? json_string(*text) : std::string("null");
            }
            line += "]";
        }
        line += "]}";
        write_line(m_out, line);
    }

    void failure(const std::string &query, uint32_t status, uint32_t detail) override
    {
        write_line(m_out,
                   "{\"query\": " + json_string(query) + ", \"status\": " + std::to_string(status)
                           + ", \"error\": " + json_string(lumadb_status_text(status))
                           + ", \"detail\": " + std::to_string(detail)
                           + reason_member(status, detail) + "}");
    }

    void notification(const unsigned char *payload, uint32_t length) override
    {
        write_line(m_out, "{\"notification\": \"" + hex_text(payload, length) + "\"}");
    }

private:
    FILE *m_out;
};

class CsvPrinter : public ResultPrinter
{
public:
    CsvPrinter(FILE *out, FILE *err)
        : m_out(out)
        , m_err(err)
    { }

    void login(std::optional<uint32_t> rights, uint32_t protocol,
               const uint32_t version[3]) override
    {
        print_login(m_err, rights, protocol, version);
    }

    void result(const std::string &, const lumadb_result &result) override
    {
        if (result.kind != LUMADB_KIND_ROWSET)
            return;
        if (m_sets_printed++ > 0)
            std::fputs("\r\n", m_out);
        std::string line;
        const std::vector<ColumnInfo> columns = columns_of(result);
        for (size_t c = 0; c < columns.size(); ++c)
            line += (c > 0 ? "," : "") + csv_field(columns[c].name);
        line += "\r\n";
        for (uint32_t r = 0; r < result.row_count; ++r) {
            for (uint32_t c = 0; c < result.column_count; ++c) {
                if (c > 0)
                    line += ',';
                line += csv_field(cell_text(result, r, c).value_or(""));
            }
            line += "\r\n";
        }
        std::fwrite(line.data(), 1, line.size(), m_out);
        std::fflush(m_out);
    }

    void failure(const std::string &query, uint32_t status, uint32_t detail) override
    {
        write_line(m_err,
                   "lumadb-query: query failed with status " + std::to_string(status) + " ("
                           + lumadb_status_text(status) + "), " + detail_words(status, detail)
                           + ": " + printable_text(query));
    }

    void notification(const unsigned char *payload, uint32_t length) override
    {
        write_line(m_out, "notification," + hex_text(payload, length) + "\r");
    }

    static void print_login(FILE *to, std::optional<uint32_t> rights, uint32_t protocol,
                            const uint32_t version[3])
    {
        write_line(to,
                   "Logged in: rights " + (rights ? std::to_string(*rights) : "-") + ", protocol "
                           + std::to_string(protocol) + ", server version "
                           + std::to_string(version[0]) + "." + std::to_string(version[1]) + "."
                           + std::to_string(version[2]));
    }

private:
    FILE *m_out;
    FILE *m_err;
    int m_sets_printed = 0;
};

class TablePrinter : public ResultPrinter
{
public:
    explicit TablePrinter(FILE *out)
        : m_out(out)
    { }

    void login(std::optional<uint32_t> rights, uint32_t protocol,
               const uint32_t version[3]) override
    {
        CsvPrinter::print_login(m_out, rights, protocol, version);
    }

    void result(const std::string &, const lumadb_result &result) override
    {
        if (result.kind != LUMADB_KIND_ROWSET) {
            write_line(m_out,
                       "OK (kind " + std::to_string(result.kind) + ", extra "
                               + std::to_string(result.extra) + ")");
            return;
        }
        const std::vector<ColumnInfo> columns = columns_of(result);
        std::vector<std::vector<std::string>> cells(result.row_count);
        std::vector<size_t> widths;
        for (const ColumnInfo &column : columns)
            widths.push_back(display_width(printable_text(column.name)));
        for (uint32_t r = 0; r < result.row_count; ++r) {
            for (uint32_t c = 0; c < result.column_count; ++c) {
                cells[r].push_back(printable_text(cell_text(result, r, c).value_or("?")));
                widths[c] = std::max(widths[c], display_width(cells[r].back()));
            }
        }
        auto print_row = [&](const std::vector<std::string> &row) {
            std::string line;
            for (size_t c = 0; c < row.size(); ++c) {
                if (c > 0)
                    line += " | ";
                line += row[c];
                if (c + 1 < row.size())
                    line.append(widths[c] - display_width(row[c]), ' ');
            }
            write_line(m_out, line);
        };
        std::vector<std::string> header;
        std::string rule;
        for (size_t c = 0; c < columns.size(); ++c) {
            header.push_back(printable_text(columns[c].name));
            rule += (c > 0 ? "-+-" : "") + std::string(widths[c], '-');
        }
        print_row(header);
        write_line(m_out, rule);
        for (const auto &row : cells)
            print_row(row);
        write_line(m_out,
                   "(" + std::to_string(result.row_count)
                           + (result.row_count == 1 ? " row)" : " rows)"));
    }

    void failure(const std::string &, uint32_t status, uint32_t detail) override
    {
        write_line(m_out,
                   "Error " + std::to_string(status) + ": " + lumadb_status_text(status) + " ("
                           + detail_words(status, detail) + ")");
    }

    void notification(const unsigned char *payload, uint32_t length) override
    {
        write_line(m_out, "Notification: " + hex_text(payload, length));
    }

private:
    FILE *m_out;
};

} // namespace

std::optional<std::string> cell_text(const lumadb_result &result, uint32_t row, uint32_t column)
{
    uint32_t type = 0;
    const unsigned char *data = nullptr;
    uint32_t length = 0;
    if (lumadb_get_column(&result, column, &type, nullptr, nullptr) != LUMADB_OK
        || lumadb_cell(&result, row, column, &data, &length) != LUMADB_OK)
        return std::nullopt;
    if (type == log_line_type) {
        if (length == 0)
            return std::string();
        // The line's bytes as delivered, up to a terminating 0x00 if any; the
        // printers make them valid UTF-8.
        const auto *end = static_cast<const unsigned char *>(std::memchr(data, 0, length));
        return std::string(reinterpret_cast<const char *>(data), end ? size_t(end - data) : length);
    }
    // Large enough for every type: hex doubles the bytes, numbers need < 32.
    std::vector<char> text(size_t(length) * 2 + 32);
    const uint32_t written
            = lumadb_value_to_text(type, text.data(), uint32_t(text.size()), data, length);
    if (written == 0)
        return std::nullopt;
    return std::string(text.data(), written - 1);
}

std::unique_ptr<ResultPrinter> make_printer(OutputFormat format, FILE *out, FILE *err)
{
    switch (format) {
    case OutputFormat::Json:
        return std::make_unique<JsonPrinter>(out);
    case OutputFormat::Csv:
        return std::make_unique<CsvPrinter>(out, err);
    case OutputFormat::Table:
        break;
    }
    return std::make_unique<TablePrinter>(out);
}

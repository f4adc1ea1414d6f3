#include "result_block.h"

#include "big_endian.h"

namespace postvane::devserver {

namespace {

constexpr uint8_t kRowSetKind = 115;
constexpr size_t kRowCountOffset = 4;

void appendTextCell(std::string &out, const std::string &text)
{
    // Text cells always carry their terminating zero, so an empty text is one byte.
    appendU32(out, static_cast<uint32_t>(text.size() + 1));
    out += text;
    out.push_back('\0');
}

} // namespace

RowSetEncoder::RowSetEncoder(size_t sizeLimit)
    : m_limit(sizeLimit)
{ }

void RowSetEncoder::setColumns(const std::vector<ResultColumn> &columns)
{
    m_block.clear();
    m_types.clear();
    appendU8(m_block, 0);
    appendU8(m_block, kRowSetKind);
    appendU16(m_block, static_cast<uint16_t>(columns.size()));
    appendU32(m_block, 0); // row count, patched by finish()
    appendU32(m_block, 0); // extra word
    appendU32(m_block, 0);
    appendU32(m_block, 0); // empty extension area
    for (const auto &column : columns) {
        appendU8(m_block, 0);
        appendU8(m_block, static_cast<uint8_t>(column.type));
        appendU8(m_block, column.key ? 1 : 0);
        appendU32(m_block, static_cast<uint32_t>(column.name.size() + 1));
        m_block += column.name;
        m_block.push_back('\0');
        m_types.push_back(column.type);
    }
}

void RowSetEncoder::appendCell(const Cell &cell)
{
    if (m_overflow || m_types.empty())
        return;
    const ColumnType type = m_types[m_cellInRow];
    switch (type) {
    case ColumnType::Int32:
        appendU32(m_block, 4);
        appendU32(m_block, static_cast<uint32_t>(cellInteger(cell)));
        break;
    case ColumnType::Int64:
        appendU32(m_block, 8);
        appendU64(m_block, static_cast<uint64_t>(cellInteger(cell)));
        break;
    case ColumnType::IPv4:
        appendU32(m_block, 4);
        if (auto *text = std::get_if<std::string>(&cell))
            appendU32(m_block, parseIpv4(*text).value_or(0));
        else
            appendU32(m_block, static_cast<uint32_t>(cellInteger(cell)));
        break;
    case ColumnType::Port:
        appendU32(m_block, 2);
        appendU16(m_block, static_cast<uint16_t>(cellInteger(cell)));
        break;
    case ColumnType::Binary: {
        const std::string bytes = cellText(cell);
        appendU32(m_block, static_cast<uint32_t>(bytes.size()));
        m_block += bytes;
        break;
    }
    case ColumnType::List: {
        std::vector<std::string> items;
        if (auto *list = std::get_if<std::vector<std::string>>(&cell))
            items = *list;
        else if (auto *text = std::get_if<std::string>(&cell); text && !text->empty())
            items = std::get<std::vector<std::string>>(*cellFromText(ColumnType::List, *text));
        size_t length = 4;
        for (const auto &item : items)
            length += 4 + item.size() + 1;
        appendU32(m_block, static_cast<uint32_t>(length));
        for (const auto &item : items)
            appendTextCell(m_block, item);
        appendU32(m_block, 0);
        break;
    }
    default:
        appendTextCell(m_block, cellText(cell));
        break;
    }
    if (++m_cellInRow == m_types.size()) {
        m_cellInRow = 0;
        ++m_rows;
    }
    if (m_block.size() > m_limit) {
        m_overflow = true;
        m_block.clear();
    }
}

std::string RowSetEncoder::finish()
{
    if (m_overflow)
        return {};
    storeU32(m_block.data() + kRowCountOffset, m_rows);
    return std::move(m_block);
}

std::string encodeResultSet(const ResultSet &result, size_t sizeLimit, bool *overflow)
{
    RowSetEncoder encoder(sizeLimit);
    encoder.setColumns(result.columns);
    for (const auto &row : result.rows) {
        for (size_t i = 0; i < result.columns.size(); ++i)
            encoder.appendCell(i < row.size() ? row[i] : Cell{});
    }
    if (overflow)
        *overflow = encoder.overflow();
    return encoder.finish();
}

std::string encodeAcknowledgement()
{
    return std::string(16, '\0');
}

std::string encodeResponseHeader(uint32_t blockLength, uint32_t status, uint32_t detail)
{
    std::string header;
    appendU32(header, 0);
    appendU32(header, blockLength);
    appendU32(header, status);
    appendU32(header, detail);
    return header;
}

} // namespace postvane::devserver

// Builds the blocks a session sends back: row sets with column descriptors and
// length-prefixed cells, acknowledgements, and the 16-byte response header.
#pragma once

#include "cell.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace postvane::devserver {

struct ResultColumn
{
    std::string name;
    ColumnType type = ColumnType::Text;
    bool key = false;
};

// A small in-memory result, used by server functions.
struct ResultSet
{
    std::vector<ResultColumn> columns;
    std::vector<std::vector<Cell>> rows;
};

// Row-set encoder. Rows are appended cell by cell; the row count in the block
// header is filled in by finish(). Stops growing (and reports overflow) once the
// block would exceed the size limit, so a huge result cannot exhaust memory.
class RowSetEncoder
{
public:
    explicit RowSetEncoder(size_t sizeLimit = SIZE_MAX);

    void setColumns(const std::vector<ResultColumn> &columns);
    void appendCell(const Cell &cell); // in column order; rows end implicitly
    bool overflow() const { return m_overflow; }
    uint32_t rowCount() const { return m_rows; }
    std::string finish();

private:
    std::string m_block;
    std::vector<ColumnType> m_types;
    size_t m_limit;
    size_t m_cellInRow = 0;
    uint32_t m_rows = 0;
    bool m_overflow = false;
};

std::string encodeResultSet(const ResultSet &result, size_t sizeLimit, bool *overflow = nullptr);
// The answer to a statement whose result is not a row set: a 16-byte block of kind 0.
std::string encodeAcknowledgement();
std::string encodeResponseHeader(uint32_t blockLength, uint32_t status, uint32_t detail);

} // namespace postvane::devserver

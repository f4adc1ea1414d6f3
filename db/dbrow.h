// One row of a remote table.
//
// The row is one pointer to a reference-counted block that holds the row's
// table, columns and number followed by its cells, each cell its text form
// plus a null flag. Copies of a row (the working, baseline and confirmed lists
// of a table) share the block until one of them is edited, so a select holds
// one copy of the data; DBRowLoader packs the blocks of a select together.
// Typed value objects are made on demand by value().
#ifndef DB_DBROW_H
#define DB_DBROW_H

#include "db/dbmemory.h"
#include "db/dbvalbase.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstring>
#include <memory>

class DBKols;
class DBRowLoader;
class DBTable;

class DBRow
{
public:
    // A row of the table's columns in their initial state, with a new row number.
    explicit DBRow(const DBTable *table);
    // The same for free-standing columns (the caller keeps them alive).
    explicit DBRow(const DBKols *columns);
    // Rows made with new carry one hidden word in front of them: nullptr, or
    // the select allocation DBRowLoader placed them in (freed with it).
    static void *operator new(std::size_t size);
    static void operator delete(void *row) noexcept;
    static void *operator new(std::size_t, void *where) noexcept { return where; }
    static void operator delete(void *, void *) noexcept { }

    // Copies keep the row number and share the cells.
    DBRow(const DBRow &other) noexcept;
    DBRow &operator=(const DBRow &other) noexcept;
    ~DBRow();

    int rowNumber() const;
    const DBTable *table() const;
    const DBKols *columns() const;
    // Attach to another table's columns (a copied table takes its rows along).
    void setTable(const DBTable *table);
    int columnCount() const;

    QString text(int index) const;
    QString text(const QString &name) const;
    QString queryText(int index) const;
    QString queryText(const QString &name) const;
    // Sets the cell through its value class, so the text is normalised
    // ("abc" on a number column becomes "0"). Ignored for unknown columns.
    void setText(int index, const QString &text);
    void setText(const QString &name, const QString &text);
    void setNumber(const QString &name, qint64 number);
    bool isNull(int index) const;
    void setNull(int index);

    // A typed value of the cell, made on demand; null for an unknown column.
    std::unique_ptr<DBValBase> value(int index) const;
    void setValue(int index, const DBValBase &value);

    // Set when the row belongs to a directory-aware table.
    bool isDirectoryAware() const;
    void setDirectoryAware(bool aware);

    // Same text form in every column (null and empty are equal; case counts).
    bool sameTexts(const DBRow &other) const;
    bool sameTexts(const DBRow &other, int index) const;
    // True while both rows share the same cell bytes (neither was edited).
    bool sharesCellsWith(const DBRow &other) const;

    // Appends one cell, text already in its normalised form, to out (the
    // encoding the bulk-loading constructor takes).
    static void encodeCell(QByteArray &out, bool null, QByteArrayView utf8);
    // The same into raw memory with room for CellOverhead + utf8.size()
    // bytes; returns the end of the cell.
    static char *encodeCell(char *out, bool null, QByteArrayView utf8)
    {
        *out++ = null ? 1 : 0;
        quint32 length = quint32(null ? 0 : utf8.size());
        while (length >= 0x80) {
            *out++ = char((length & 0x7f) | 0x80);
            length >>= 7;
        }
        *out++ = char(length);
        if (!null && !utf8.isEmpty()) {
            std::memcpy(out, utf8.data(), size_t(utf8.size()));
            out += utf8.size();
        }
        return out;
    }
    static constexpr qsizetype CellOverhead = 6; // flag byte and up to 5 length bytes
    // Bytes held by the row's shared block (for memory measurements).
    qsizetype cellBytes() const;

    static int nextRowNumber();
    // count consecutive unused row numbers; returns the first.
    static int reserveRowNumbers(int count);

private:
    friend class DBRowLoader;
    struct Data;
    explicit DBRow(Data *data)
        : d(data)
    { }

    struct CellView
    {
        bool present = false;
        bool null = false;
        const char *data = nullptr;
        int size = 0;
    };
    CellView cell(int index) const;
    int columnType(int index) const;
    void storeCell(int index, bool null, QByteArrayView utf8);
    // Make the block this row's own (copying header and cells) before a change.
    void detach();

    // Header and cells (per cell: flag byte, varint length, UTF-8 text); never null.
    Data *d;
};

Q_DECLARE_TYPEINFO(DBRow, Q_RELOCATABLE_TYPE);

// Makes the rows of one select. Their blocks are packed into a few large
// shared allocations instead of one allocation each; an allocation is freed
// when the last row block in it is gone (an edited row gets a block of its
// own).
class DBRowLoader
{
public:
    explicit DBRowLoader(const DBTable *table);
    ~DBRowLoader();
    DBRowLoader(const DBRowLoader &) = delete;
    DBRowLoader &operator=(const DBRowLoader &) = delete;

    // A new row of the table (new row number) whose cells were written with
    // DBRow::encodeCell, in column order. The caller owns it.
    DBRow *newRow(QByteArrayView encodedCells);

private:
    const DBTable *m_table;
    const DBKols *m_columns;
    bool m_directoryAware;
    dbmemory::ChunkFeeder m_feeder;
    int m_nextNumber = 0;
    int m_numbersLeft = 0;
};

#endif // DB_DBROW_H

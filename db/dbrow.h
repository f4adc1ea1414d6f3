// One row of a remote table.
//
// The row keeps each cell as its text form plus a null flag, packed into one
// implicitly shared byte array: copies of a row (the working, baseline and
// confirmed lists of a table) share the bytes until one of them is edited.
// Typed value objects are made on demand by value().
#ifndef DB_DBROW_H
#define DB_DBROW_H

#include "db/dbvalbase.h"

#include <QByteArray>
#include <QString>

#include <memory>

class DBKols;
class DBTable;

class DBRow
{
public:
    // A row of the table's columns in their initial state, with a new row number.
    explicit DBRow(const DBTable *table);
    // The same for free-standing columns (the caller keeps them alive).
    explicit DBRow(const DBKols *columns);
    // Copies keep the row number and share the cells.
    DBRow(const DBRow &other) = default;
    DBRow &operator=(const DBRow &other) = default;

    int rowNumber() const { return m_rowNumber; }
    const DBTable *table() const { return m_table; }
    const DBKols *columns() const { return m_columns; }
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
    bool isDirectoryAware() const { return m_directoryAware; }
    void setDirectoryAware(bool aware) { m_directoryAware = aware; }

    // Same text form in every column (null and empty are equal; case counts).
    bool sameTexts(const DBRow &other) const;
    bool sameTexts(const DBRow &other, int index) const;
    // True while both rows share the same cell bytes (neither was edited).
    bool sharesCellsWith(const DBRow &other) const;

    // Bulk loading used by the table's reader: append the next cell as text
    // that is already in its normalised form.
    void appendCell(bool null, const QByteArray &utf8);
    // Drop the spare capacity left by appending (once a row is complete).
    void squeezeCells() { m_cells.squeeze(); }
    // Bytes held by the cells (for memory measurements).
    qsizetype cellBytes() const { return m_cells.capacity(); }

    static int nextRowNumber();

private:
    struct CellView
    {
        bool present = false;
        bool null = false;
        const char *data = nullptr;
        int size = 0;
    };
    CellView cell(int index) const;
    int columnType(int index) const;
    void storeCell(int index, bool null, const QByteArray &utf8);

    QByteArray m_cells; // per cell: flag byte, varint length, UTF-8 text
    const DBTable *m_table = nullptr;
    const DBKols *m_columns = nullptr;
    int m_rowNumber;
    bool m_directoryAware = false;
};

#endif // DB_DBROW_H

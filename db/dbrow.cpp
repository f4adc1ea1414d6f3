#include "db/dbrow.h"

#include "db/dbkols.h"
#include "db/dbmemory.h"
#include "db/dbtable.h"
#include "db/dbvalues.h"

#include <atomic>
#include <cstring>
#include <new>

namespace {

std::atomic<int> rowCounter{0};

constexpr char CellNull = 1; // the flag byte of a null cell (0 for a value)

// Reads a varint at pos; false on truncated data.
bool readVarint(const char *data, qsizetype size, qsizetype &pos, quint32 &value)
{
    value = 0;
    for (int shift = 0; shift < 35; shift += 7) {
        if (pos >= size)
            return false;
        const uchar byte = uchar(data[pos++]);
        value |= quint32(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

bool isTextType(int type)
{
    return type != DBType::Int && type != DBType::Int64 && type != DBType::IpAddr
            && type != DBType::Port;
}

} // namespace

using DBRowChunk = dbmemory::Chunk;

// The shared block of a row: the header, then size bytes of cells.
struct DBRow::Data
{
    std::atomic<int> ref;
    int rowNumber;
    const DBTable *table;
    const DBKols *columns;
    DBRowChunk *chunk; // the select's allocation it lives in, or nullptr
    quint32 size;
    bool directoryAware;

    char *cells() { return reinterpret_cast<char *>(this + 1); }
    const char *cells() const { return reinterpret_cast<const char *>(this + 1); }

    static Data *construct(void *memory, const DBTable *table, const DBKols *columns, int rowNumber,
                           bool directoryAware, QByteArrayView cellBytes, DBRowChunk *chunk)
    {
        Data *data = new (memory) Data{
                {1}, rowNumber, table, columns, chunk, quint32(cellBytes.size()), directoryAware};
        if (!cellBytes.isEmpty())
            std::memcpy(data->cells(), cellBytes.data(), size_t(cellBytes.size()));
        return data;
    }
    static Data *create(const DBTable *table, const DBKols *columns, int rowNumber,
                        bool directoryAware, QByteArrayView cellBytes)
    {
        void *memory = ::operator new(sizeof(Data) + size_t(cellBytes.size()));
        return construct(memory, table, columns, rowNumber, directoryAware, cellBytes, nullptr);
    }
    static Data *withCells(const Data &header, QByteArrayView cellBytes)
    {
        return create(header.table, header.columns, header.rowNumber, header.directoryAware,
                      cellBytes);
    }
    static void release(Data *data) noexcept
    {
        if (data->ref.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            DBRowChunk *chunk = data->chunk;
            data->~Data();
            if (chunk)
                DBRowChunk::release(chunk);
            else
                ::operator delete(data);
        }
    }
};

namespace {
constexpr int NumberBatch = 256;
} // namespace

DBRowLoader::DBRowLoader(const DBTable *table)
    : m_table(table)
    , m_columns(table ? &table->columns() : nullptr)
    , m_directoryAware(table && table->isDirectoryAware())
{ }

DBRowLoader::~DBRowLoader() = default;

namespace {
// The hidden word in front of a row made with new.
constexpr std::size_t RowPrefix = 8;
static_assert(sizeof(DBRowChunk *) <= RowPrefix);
} // namespace

void *DBRow::operator new(std::size_t size)
{
    void *memory = ::operator new(RowPrefix + size);
    *static_cast<DBRowChunk **>(memory) = nullptr;
    return static_cast<char *>(memory) + RowPrefix;
}

void DBRow::operator delete(void *row) noexcept
{
    if (!row)
        return;
    void *memory = static_cast<char *>(row) - RowPrefix;
    if (DBRowChunk *chunk = *static_cast<DBRowChunk **>(memory))
        DBRowChunk::release(chunk);
    else
        ::operator delete(memory);
}

DBRow *DBRowLoader::newRow(QByteArrayView encodedCells)
{
    // One piece of the chunk holds the row object behind its hidden word,
    // then the row's block.
    static_assert(alignof(DBRow::Data) <= 8 && alignof(DBRow) <= 8 && sizeof(DBRow) == 8);
    constexpr qsizetype RowPart = RowPrefix + sizeof(DBRow);
    const qsizetype size
            = (RowPart + qsizetype(sizeof(DBRow::Data)) + encodedCells.size() + 7) & ~qsizetype(7);
    // Two references: the row object and its block.
    DBRowChunk *chunk = nullptr;
    char *bytes = static_cast<char *>(m_feeder.take(size, 2, &chunk));
    // Row numbers are taken in batches, one atomic operation per batch.
    if (m_numbersLeft == 0) {
        m_nextNumber = DBRow::reserveRowNumbers(NumberBatch);
        m_numbersLeft = NumberBatch;
    }
    --m_numbersLeft;
    *reinterpret_cast<DBRowChunk **>(bytes) = chunk;
    DBRow::Data *data = DBRow::Data::construct(bytes + RowPart, m_table, m_columns, m_nextNumber++,
                                               m_directoryAware, encodedCells, chunk);
    return new (bytes + RowPrefix) DBRow(data);
}

int DBRow::nextRowNumber()
{
    return reserveRowNumbers(1);
}

int DBRow::reserveRowNumbers(int count)
{
    return rowCounter.fetch_add(count, std::memory_order_relaxed);
}

DBRow::DBRow(const DBTable *table)
    : d(Data::create(table, table ? &table->columns() : nullptr, nextRowNumber(),
                     table && table->isDirectoryAware(), {}))
{ }

DBRow::DBRow(const DBKols *columns)
    : d(Data::create(nullptr, columns, nextRowNumber(), false, {}))
{ }

DBRow::DBRow(const DBRow &other) noexcept
    : d(other.d)
{
    d->ref.fetch_add(1, std::memory_order_relaxed);
}

DBRow &DBRow::operator=(const DBRow &other) noexcept
{
    if (other.d != d) {
        other.d->ref.fetch_add(1, std::memory_order_relaxed);
        Data::release(d);
        d = other.d;
    }
    return *this;
}

DBRow::~DBRow()
{
    Data::release(d);
}

void DBRow::detach()
{
    if (d->ref.load(std::memory_order_acquire) == 1)
        return;
    Data *own = Data::withCells(*d, QByteArrayView(d->cells(), d->size));
    Data::release(d);
    d = own;
}

int DBRow::rowNumber() const
{
    return d->rowNumber;
}

const DBTable *DBRow::table() const
{
    return d->table;
}

const DBKols *DBRow::columns() const
{
    return d->columns;
}

bool DBRow::isDirectoryAware() const
{
    return d->directoryAware;
}

void DBRow::setDirectoryAware(bool aware)
{
    if (d->directoryAware == aware)
        return;
    detach();
    d->directoryAware = aware;
}

void DBRow::setTable(const DBTable *table)
{
    const DBKols *columns = table ? &table->columns() : nullptr;
    if (d->table == table && d->columns == columns)
        return;
    detach();
    d->table = table;
    d->columns = columns;
}

int DBRow::columnCount() const
{
    return d->columns ? d->columns->count() : 0;
}

int DBRow::columnType(int index) const
{
    return d->columns->at(index).type;
}

qsizetype DBRow::cellBytes() const
{
    return qsizetype(sizeof(Data)) + d->size;
}

DBRow::CellView DBRow::cell(int index) const
{
    CellView view;
    const char *data = d->cells();
    const qsizetype size = d->size;
    qsizetype pos = 0;
    for (int i = 0; pos < size; ++i) {
        const char flag = data[pos++];
        quint32 length = 0;
        if (!readVarint(data, size, pos, length) || qsizetype(length) > size - pos)
            break;
        if (i == index) {
            view.present = true;
            view.null = flag == CellNull;
            view.data = data + pos;
            view.size = int(length);
            return view;
        }
        pos += length;
    }
    // Cells never written are in their initial state: numbers null, texts empty.
    if (index >= 0 && index < columnCount())
        view.null = !isTextType(columnType(index));
    return view;
}

void DBRow::storeCell(int index, bool null, QByteArrayView utf8)
{
    QByteArray rebuilt;
    rebuilt.reserve(qsizetype(d->size) + utf8.size() + 6);
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (i == index) {
            encodeCell(rebuilt, null, utf8);
            continue;
        }
        const CellView c = cell(i);
        if (!c.present && i > index)
            break; // the rest stays in its initial state
        encodeCell(rebuilt, c.null, QByteArrayView(c.data, c.size));
    }
    Data *edited = Data::withCells(*d, rebuilt);
    Data::release(d);
    d = edited;
}

void DBRow::encodeCell(QByteArray &out, bool null, QByteArrayView utf8)
{
    const qsizetype used = out.size();
    out.resize(used + CellOverhead + (null ? 0 : utf8.size()));
    char *end = encodeCell(out.data() + used, null, utf8);
    out.truncate(end - out.constData());
}

QString DBRow::text(int index) const
{
    if (index < 0 || index >= columnCount())
        return QString();
    const CellView c = cell(index);
    return c.null ? QString() : QString::fromUtf8(c.data, c.size);
}

QString DBRow::text(const QString &name) const
{
    return d->columns ? text(d->columns->indexOf(name)) : QString();
}

QString DBRow::queryText(int index) const
{
    const std::unique_ptr<DBValBase> v = value(index);
    return v ? v->toQueryText() : QString();
}

QString DBRow::queryText(const QString &name) const
{
    return d->columns ? queryText(d->columns->indexOf(name)) : QString();
}

void DBRow::setText(int index, const QString &text)
{
    if (index < 0 || index >= columnCount())
        return;
    const int type = columnType(index);
    if (isTextType(type) && type != DBType::IdList) {
        storeCell(index, false, text.toUtf8());
        return;
    }
    std::unique_ptr<DBValBase> v = DBValBase::create(type);
    v->fromString(text);
    storeCell(index, v->isNull(), v->toString().toUtf8());
}

void DBRow::setText(const QString &name, const QString &text)
{
    if (d->columns)
        setText(d->columns->indexOf(name), text);
}

void DBRow::setNumber(const QString &name, qint64 number)
{
    setText(name, QString::number(number));
}

bool DBRow::isNull(int index) const
{
    if (index < 0 || index >= columnCount())
        return true;
    return cell(index).null;
}

void DBRow::setNull(int index)
{
    if (index >= 0 && index < columnCount())
        storeCell(index, true, QByteArray());
}

std::unique_ptr<DBValBase> DBRow::value(int index) const
{
    if (index < 0 || index >= columnCount())
        return nullptr;
    std::unique_ptr<DBValBase> v = DBValBase::create(columnType(index));
    const CellView c = cell(index);
    if (c.null) {
        v->fromString(QString());
        v->setNull(true);
    } else {
        v->fromString(QString::fromUtf8(c.data, c.size));
    }
    return v;
}

void DBRow::setValue(int index, const DBValBase &value)
{
    if (index >= 0 && index < columnCount())
        storeCell(index, value.isNull(), value.toString().toUtf8());
}

bool DBRow::sharesCellsWith(const DBRow &other) const
{
    return d == other.d || (d->size == 0 && other.d->size == 0);
}

bool DBRow::sameTexts(const DBRow &other, int index) const
{
    const CellView a = cell(index);
    const CellView b = other.cell(index);
    const int sizeA = a.null ? 0 : a.size;
    const int sizeB = b.null ? 0 : b.size;
    return sizeA == sizeB && (sizeA == 0 || std::memcmp(a.data, b.data, size_t(sizeA)) == 0);
}

bool DBRow::sameTexts(const DBRow &other) const
{
    if (sharesCellsWith(other)
        || QByteArrayView(d->cells(), d->size) == QByteArrayView(other.d->cells(), other.d->size))
        return true;
    const int count = qMax(columnCount(), other.columnCount());
    for (int i = 0; i < count; ++i) {
        if (!sameTexts(other, i))
            return false;
    }
    return true;
}

#include "db/dbrow.h"

#include "db/dbkols.h"
#include "db/dbtable.h"
#include "db/dbvalues.h"

#include <atomic>
#include <cstring>

namespace {

std::atomic<int> rowCounter{0};

constexpr char CellValue = 0;
constexpr char CellNull = 1;

void appendVarint(QByteArray &out, quint32 value)
{
    while (value >= 0x80) {
        out.append(char((value & 0x7f) | 0x80));
        value >>= 7;
    }
    out.append(char(value));
}

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

int DBRow::nextRowNumber()
{
    return rowCounter.fetch_add(1, std::memory_order_relaxed);
}

DBRow::DBRow(const DBTable *table)
    : m_table(table)
    , m_columns(table ? &table->columns() : nullptr)
    , m_rowNumber(nextRowNumber())
    , m_directoryAware(table && table->isDirectoryAware())
{ }

DBRow::DBRow(const DBKols *columns)
    : m_columns(columns)
    , m_rowNumber(nextRowNumber())
{ }

void DBRow::setTable(const DBTable *table)
{
    m_table = table;
    m_columns = table ? &table->columns() : nullptr;
}

int DBRow::columnCount() const
{
    return m_columns ? m_columns->count() : 0;
}

int DBRow::columnType(int index) const
{
    return m_columns->at(index).type;
}

DBRow::CellView DBRow::cell(int index) const
{
    CellView view;
    const char *data = m_cells.constData();
    const qsizetype size = m_cells.size();
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

void DBRow::storeCell(int index, bool null, const QByteArray &utf8)
{
    QByteArray rebuilt;
    rebuilt.reserve(m_cells.size() + utf8.size() + 4);
    const int count = columnCount();
    for (int i = 0; i < count; ++i) {
        if (i == index) {
            rebuilt.append(null ? CellNull : CellValue);
            appendVarint(rebuilt, quint32(null ? 0 : utf8.size()));
            if (!null)
                rebuilt.append(utf8);
            continue;
        }
        const CellView c = cell(i);
        if (!c.present && i > index)
            break; // the rest stays in its initial state
        rebuilt.append(c.null ? CellNull : CellValue);
        appendVarint(rebuilt, quint32(c.size));
        rebuilt.append(c.data, c.size);
    }
    m_cells = rebuilt;
}

void DBRow::appendCell(bool null, const QByteArray &utf8)
{
    m_cells.append(null ? CellNull : CellValue);
    appendVarint(m_cells, quint32(null ? 0 : utf8.size()));
    if (!null)
        m_cells.append(utf8);
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
    return m_columns ? text(m_columns->indexOf(name)) : QString();
}

QString DBRow::queryText(int index) const
{
    const std::unique_ptr<DBValBase> v = value(index);
    return v ? v->toQueryText() : QString();
}

QString DBRow::queryText(const QString &name) const
{
    return m_columns ? queryText(m_columns->indexOf(name)) : QString();
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
    if (m_columns)
        setText(m_columns->indexOf(name), text);
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
    return m_cells.size() == other.m_cells.size()
            && (m_cells.constData() == other.m_cells.constData() || m_cells.isEmpty());
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
    if (sharesCellsWith(other) || m_cells == other.m_cells)
        return true;
    const int count = qMax(columnCount(), other.columnCount());
    for (int i = 0; i < count; ++i) {
        if (!sameTexts(other, i))
            return false;
    }
    return true;
}

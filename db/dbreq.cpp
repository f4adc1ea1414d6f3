#include "db/dbreq.h"

#include "db/utdebug.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr uint FirstReadSize = 256;

void logReadError(uint code)
{
    utDebug(UtDebug::CategoryQuery, 8,
            QStringLiteral("lumadb_read_result error %1: %2")
                    .arg(code)
                    .arg(QString::fromUtf8(lumadb_status_text(code))));
}
} // namespace

DBReq::DBReq(const QString &query, bool asynchronous, QObject *parent)
    : QObject(parent)
    , m_query(query)
    , m_asynchronous(asynchronous)
{ }

DBReq::~DBReq()
{
    releaseResult();
}

void DBReq::releaseResult()
{
    if (m_result.valid)
        lumadb_free_result(&m_result);
    m_result = lumadb_result{};
    m_hasResult = false;
}

void DBReq::reset()
{
    releaseResult();
    m_finished.store(false);
    m_running.store(false);
    m_cancellable.store(true);
    m_errorDetail = 0;
    clearResult();
}

bool DBReq::adoptBlock(const QByteArray &block)
{
    reset();
    auto *copy
            = static_cast<unsigned char *>(std::malloc(size_t(qMax<qsizetype>(block.size(), 1))));
    if (!copy)
        return false;
    std::memcpy(copy, block.constData(), size_t(block.size()));
    const uint32_t code = lumadb_decode_block(copy, uint32_t(block.size()), &m_result);
    setResult(code, QString());
    m_hasResult = code == 0;
    m_finished.store(true, std::memory_order_release);
    return code == 0;
}

void DBReq::emitSignalFinished()
{
    emit signalFinished(this);
}

int DBReq::rowCount() const
{
    return m_result.valid ? int(m_result.row_count) : 0;
}

int DBReq::columnCount() const
{
    return m_result.valid ? int(m_result.column_count) : 0;
}

bool DBReq::columnInfo(int column, QString *name, int *type, bool *attribute, int *extra) const
{
    if (!isFinished() || column < 0)
        return false;
    uint32_t wireType = 0;
    uint32_t wireAttribute = 0;
    const char *wireName = nullptr;
    if (lumadb_get_column(&m_result, uint32_t(column), &wireType, &wireAttribute, &wireName) != 0)
        return false;
    if (name)
        *name = QString::fromUtf8(wireName ? wireName : "");
    if (type)
        *type = int(wireType);
    if (attribute)
        *attribute = wireAttribute != 0;
    if (extra)
        *extra = 0;
    return true;
}

bool DBReq::readFixed(int row, int column, void *buffer, uint size) const
{
    uint32_t length = size;
    std::memset(buffer, 0, size);
    const uint32_t code
            = lumadb_read_result(&m_result, uint32_t(row), uint32_t(column), buffer, &length);
    if (code != 0) {
        logReadError(code);
        std::memset(buffer, 0, size);
        return false;
    }
    return true;
}

DBInt DBReq::readInt(int row, int column) const
{
    qint32 number = 0;
    DBInt value;
    if (readFixed(row, column, &number, sizeof number))
        value.setValue(number);
    return value;
}

DBInt64 DBReq::readInt64(int row, int column) const
{
    qint64 number = 0;
    DBInt64 value;
    if (readFixed(row, column, &number, sizeof number))
        value.setValue(number);
    return value;
}

DBIpAddr DBReq::readIpAddr(int row, int column) const
{
    quint32 address = 0; // network order, as on the wire
    DBIpAddr value;
    if (readFixed(row, column, &address, sizeof address))
        value.setValue(address);
    return value;
}

DBPort DBReq::readPort(int row, int column) const
{
    quint16 port = 0; // network order, as on the wire
    DBPort value;
    if (readFixed(row, column, &port, sizeof port))
        value.setValue(port);
    return value;
}

QByteArray DBReq::readText(int row, int column, int wireType) const
{
    QByteArray cell(FirstReadSize, '\0');
    uint32_t length = FirstReadSize;
    uint32_t code
            = lumadb_read_result(&m_result, uint32_t(row), uint32_t(column), cell.data(), &length);
    if (code == LUMADB_ERR_BUFFER_SIZE && length > FirstReadSize) {
        // Long cell: the first attempt told us its length.
        cell.resize(qsizetype(length));
        code = lumadb_read_result(&m_result, uint32_t(row), uint32_t(column), cell.data(), &length);
    }
    if (code != 0) {
        logReadError(code);
        return QByteArray("");
    }
    cell.truncate(qsizetype(length));
    if (wireType == DBType::Binary || wireType == DBType::IdList) {
        const uint32_t capacity = wireType == DBType::Binary ? 2 * length + 1 : length + 1;
        QByteArray text(qsizetype(capacity), '\0');
        const uint32_t written = lumadb_value_to_text(
                uint32_t(wireType), text.data(), capacity,
                reinterpret_cast<const unsigned char *>(cell.constData()), length);
        text.truncate(written > 0 ? qsizetype(written) - 1 : 0);
        return text;
    }
    // Text cells end with 0x00; stop at the first one.
    const qsizetype end = cell.indexOf('\0');
    if (end >= 0)
        cell.truncate(end);
    return cell;
}

DBStr DBReq::readStr(int row, int column, int wireType) const
{
    DBStr value;
    value.setFromBytes(readText(row, column, wireType).constData());
    return value;
}

DBRawStr DBReq::readRawStr(int row, int column, int wireType) const
{
    DBRawStr value;
    value.setFromBytes(readText(row, column, wireType).constData());
    return value;
}

DBIdList DBReq::readIdList(int row, int column, int wireType) const
{
    DBIdList value;
    value.setFromBytes(readText(row, column, wireType).constData());
    return value;
}

DBBinary DBReq::readBinary(int row, int column, int wireType) const
{
    DBBinary value;
    value.setFromBytes(readText(row, column, wireType).constData());
    return value;
}

bool DBReq::rowCells(int row, const unsigned char **data, uint32_t *length) const
{
    return row >= 0 && lumadb_row_cells(&m_result, uint32_t(row), data, length) == LUMADB_OK;
}

QByteArrayView DBReq::cellBytes(int row, int column) const
{
    const unsigned char *data = nullptr;
    uint32_t length = 0;
    if (row < 0 || column < 0
        || lumadb_cell(&m_result, uint32_t(row), uint32_t(column), &data, &length) != 0)
        return QByteArrayView();
    return QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(length));
}

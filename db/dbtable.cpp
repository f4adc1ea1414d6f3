#include "db/dbtable.h"

#include "db/dbconn.h"
#include "db/dbreq.h"
#include "db/dbtransreq.h"
#include "db/dbvalues.h"

#include <QHash>
#include <QRegularExpression>
#include <QtEndian>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <vector>

namespace {
const QString RowSourceColumn = QStringLiteral("$RowSource");
}

DBTable::DBTable(DBConn *connection, const QString &tableName, const QList<DBKol> &columns,
                 const Options &options, QObject *parent)
    : DBSafeSignal(parent)
    , DBConnObject(connection)
    , m_tableName(tableName)
    , m_accumulate(options.accumulate)
    , m_keysIgnoreCase(options.keysIgnoreCase)
    , m_filter(options.filter)
    , m_controls(options.controls)
    , m_directoryAware(options.directoryAware)
    , m_appendOnRead(options.appendOnRead)
    , m_columns(columns)
    , m_declaredColumns(!columns.isEmpty())
{
    init();
}

DBTable::DBTable(DBConn *connection, const QString &tableName, const DBKolDecl *declarations,
                 const Options &options, QObject *parent)
    : DBTable(connection, tableName, DBKols::fromDeclarations(declarations).columns(), options,
              parent)
{ }

DBTable::DBTable(const DBTable &other)
    : DBSafeSignal(nullptr)
    , DBConnObject(other.connection())
    , m_highestId(other.m_highestId)
    , m_tableName(other.m_tableName)
    , m_accumulate(other.m_accumulate)
    , m_keysIgnoreCase(other.m_keysIgnoreCase)
    , m_filter(other.m_filter)
    , m_controls(other.m_controls)
    , m_directoryAware(other.m_directoryAware)
    , m_appendOnRead(other.m_appendOnRead)
    , m_readDone(other.m_readDone)
    , m_columns(other.m_columns)
    , m_declaredColumns(other.m_declaredColumns)
    , m_transactionKey(other.m_transactionKey)
    , m_pending(other.m_pending)
{
    setResult(other.resultCode(), other.errorText());
    m_synSave = new DBTransReq(*other.m_synSave);
    m_synSave->setParent(this);
    // The copies keep sharing cells where the originals did.
    QHash<int, qsizetype> workingByNumber;
    workingByNumber.reserve(other.m_rows.size());
    m_rows.reserve(other.m_rows.size());
    for (const DBRow *row : other.m_rows) {
        auto *copy = new DBRow(*row);
        copy->setTable(this);
        workingByNumber.insert(row->rowNumber(), m_rows.size());
        m_rows.append(copy);
    }
    auto retabled = [&](const DBRow &original) {
        const auto working = workingByNumber.constFind(original.rowNumber());
        if (working != workingByNumber.constEnd()
            && other.m_rows.at(*working)->sharesCellsWith(original))
            return *m_rows.at(*working);
        DBRow copy(original);
        copy.setTable(this);
        return copy;
    };
    m_baseline.reserve(other.m_baseline.size());
    for (const DBRow &row : other.m_baseline)
        m_baseline.append(retabled(row));
    m_confirmed.reserve(other.m_confirmed.size());
    for (const DBRow &row : other.m_confirmed)
        m_confirmed.append(retabled(row));
}

DBTable::~DBTable()
{
    qDeleteAll(m_rows);
}

void DBTable::init()
{
    m_synSave = new DBTransReq(connection(), QLatin1String(DBTransReq::SynSaveName), true, this);
}

// --- rows ---

DBRow *DBTable::row(int index) const
{
    return index >= 0 && index < rowCount() ? m_rows.at(index) : nullptr;
}

DBRow *DBTable::addRow()
{
    auto *row = new DBRow(this);
    m_rows.append(row);
    return row;
}

DBRow *DBTable::appendRow(const DBRow &source)
{
    auto *row = new DBRow(source);
    row->setTable(this);
    m_rows.append(row);
    return row;
}

void DBTable::removeRow(int index)
{
    if (index >= 0 && index < rowCount())
        delete m_rows.takeAt(index);
}

bool DBTable::removeRow(DBRow *row)
{
    const int index = indexOfRow(row);
    if (index < 0)
        return false;
    removeRow(index);
    return true;
}

void DBTable::clearRows()
{
    qDeleteAll(m_rows);
    m_rows.clear();
}

int DBTable::indexOfRow(const DBRow *row) const
{
    return int(m_rows.indexOf(const_cast<DBRow *>(row)));
}

int DBTable::indexInConfirmed(int rowNumber) const
{
    for (int i = 0; i < confirmedCount(); ++i) {
        if (m_confirmed.at(i).rowNumber() == rowNumber)
            return i;
    }
    return -1;
}

// --- select ---

QString DBTable::selectQuery() const
{
    const QString name = tableNameForSelect();
    static const QRegularExpression statement(QStringLiteral("^(select|insert|update|delete) "),
                                              QRegularExpression::CaseInsensitiveOption);
    if (statement.match(name).hasMatch())
        return name;
    if (name.contains(QLatin1Char('(')))
        return QStringLiteral("select ") + name;

    QStringList names;
    for (const DBKol &column : m_columns.columns()) {
        if (!column.name.isEmpty())
            names.append(column.name);
    }
    QString query = QStringLiteral("select ")
            + (names.isEmpty() ? QStringLiteral("*") : names.join(QLatin1String(", ")))
            + QStringLiteral(" from ") + name;
    if (!m_filter.isEmpty())
        query += QStringLiteral(" where ") + m_filter;
    if (!m_controls.isEmpty())
        query += QStringLiteral(" controls ") + m_controls;
    return query;
}

void DBTable::select(QObject *receiver, const char *slot)
{
    if (receiver && slot) {
        disconnect(this, SIGNAL(signalSelectIsFinished(DBTable *)), receiver, slot);
        connect(this, SIGNAL(signalSelectIsFinished(DBTable *)), receiver, slot,
                Qt::DirectConnection);
    }
    clearResult();
    connection()->execAsync(selectQuery(), this, SLOT(slotSelectIsFinished(DBReq *)));
}

void DBTable::select(QObject *readyReceiver, const char *readySlot, QObject *errorReceiver,
                     const char *errorSlot)
{
    if (readyReceiver && readySlot) {
        disconnect(this, SIGNAL(signalSelectIsReady()), readyReceiver, readySlot);
        connect(this, SIGNAL(signalSelectIsReady()), readyReceiver, readySlot);
    }
    if (errorReceiver && errorSlot) {
        disconnect(this, SIGNAL(signalSelectIsError(QString)), errorReceiver, errorSlot);
        connect(this, SIGNAL(signalSelectIsError(QString)), errorReceiver, errorSlot);
    }
    clearResult();
    connection()->execAsync(selectQuery(), this, SLOT(slotSelectIsFinished(DBReq *)));
}

bool DBTable::selectSync()
{
    clearResult();
    DBReq req(selectQuery());
    if (!connection()->execSync(&req)) {
        setResult(req.resultCode(), req.errorText());
        return false;
    }
    readRows(req);
    return true;
}

void DBTable::slotSelectIsFinished(DBReq *req)
{
    if (req->resultCode() != 0) {
        setResult(req->resultCode(), req->errorText());
        postSafeSignal(EventSelectError, req->errorText());
    } else {
        readRows(*req);
        postSafeSignal(EventSelectReady);
    }
    emit signalSelectIsFinished(this);
}

namespace {

// A text cell's bytes up to its first 0x00.
QByteArrayView cellTextBytes(QByteArrayView cell)
{
    if (cell.isEmpty())
        return cell;
    const void *end = std::memchr(cell.data(), 0, size_t(cell.size()));
    return end ? cell.first(static_cast<const char *>(end) - cell.data()) : cell;
}

bool isAscii(QByteArrayView text)
{
    const char *p = text.data();
    const char *const end = p + text.size();
    // Eight bytes at a time: any byte with its top bit set ends plain ASCII.
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, sizeof word);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; p < end; ++p) {
        if (uchar(*p) >= 0x80)
            return false;
    }
    return true;
}

// The text form of a cell exactly as the value class of its column shows it.
QByteArray cellText(const DBReq &req, int row, int column, int type, bool *null)
{
    *null = false;
    const QByteArrayView cell = req.cellBytes(row, column);
    switch (type) {
    case DBType::Int: {
        const DBInt v = req.readInt(row, column);
        *null = v.isNull();
        return v.isNull() ? QByteArray() : QByteArray::number(v.value());
    }
    case DBType::Int64: {
        const DBInt64 v = req.readInt64(row, column);
        *null = v.isNull();
        return v.isNull() ? QByteArray() : QByteArray::number(v.value());
    }
    case DBType::IpAddr: {
        const DBIpAddr v = req.readIpAddr(row, column);
        *null = v.isNull();
        return v.toString().toLatin1();
    }
    case DBType::Port: {
        const DBPort v = req.readPort(row, column);
        *null = v.isNull();
        return v.toString().toLatin1();
    }
    case DBType::Binary:
        return req.readBinary(row, column, DBType::Binary).toString().toLatin1();
    case DBType::IdList:
        return req.readIdList(row, column, DBType::IdList).toString().toUtf8();
    case DBType::RawText:
        return req.readRawStr(row, column, DBType::RawText).toString().toUtf8();
    default: {
        // Text: plain ASCII is stored as it came; anything else goes through
        // the UTF-8 decoder so that invalid sequences become the same
        // replacement characters a QString holds.
        const QByteArrayView text = cellTextBytes(cell);
        return isAscii(text) ? text.toByteArray() : QString::fromUtf8(text).toUtf8();
    }
    }
}

} // namespace

void DBTable::readRows(const DBReq &req)
{
    if (!m_appendOnRead) {
        clearRows();
        m_baseline.clear();
        m_confirmed.clear();
        m_pending.clear();
    }
    if (m_declaredColumns) {
        for (int i = 0; i < m_columns.count(); ++i) {
            DBKol &column = m_columns[i];
            column.index = -1;
            for (int c = 0; c < req.columnCount(); ++c) {
                QString name;
                if (!req.columnInfo(c, &name, nullptr, nullptr, nullptr))
                    continue;
                if (name.compare(column.name, Qt::CaseInsensitive) == 0
                    || (column.name.compare(QLatin1String("count()"), Qt::CaseInsensitive) == 0
                        && name.compare(QLatin1String("count"), Qt::CaseInsensitive) == 0)) {
                    column.index = c;
                    break;
                }
            }
        }
    } else {
        const bool report = m_columns.reportsMissing();
        m_columns = DBKols::fromRequest(req);
        m_columns.setReportMissing(report);
    }

    // How each column is read: numbers and texts whose declared type is the
    // type on the wire are converted straight from the block; anything else
    // goes through the typed readers.
    struct ColumnPlan
    {
        int wireIndex;
        int type;
        bool direct;
        bool isId;
    };
    const int columnCount = m_columns.count();
    std::vector<ColumnPlan> plan;
    plan.reserve(size_t(columnCount));
    for (int c = 0; c < columnCount; ++c) {
        const DBKol &column = m_columns.at(c);
        int wireType = -1;
        if (column.index >= 0)
            req.columnInfo(column.index, nullptr, &wireType, nullptr, nullptr);
        const bool directType = column.type == DBType::Int || column.type == DBType::Int64
                || column.type == DBType::Text || column.type == DBType::Text2;
        plan.push_back(
                {column.index, column.type, directType && wireType == column.type,
                 column.type == DBType::Int
                         && column.name.compare(QLatin1String("Id"), Qt::CaseSensitive) == 0});
    }

    m_highestId = 0;
    const int rows = req.rowCount();
    m_rows.reserve(m_rows.size() + rows);
    m_baseline.reserve(m_baseline.size() + rows);
    m_confirmed.reserve(m_confirmed.size() + rows);
    // The encoded cells of one row, reused for every row.
    std::vector<char> cells(256);
    char *out = nullptr;
    auto append
            = [&out](bool null, QByteArrayView text) { out = DBRow::encodeCell(out, null, text); };
    const size_t wireColumns = size_t(req.columnCount());
    std::vector<const unsigned char *> wireData(wireColumns);
    std::vector<uint32_t> wireLength(wireColumns);
    char number[24];
    DBRowLoader loader(this);
    for (int r = 0; r < rows; ++r) {
        const bool walked = req.rowCells(r, wireData.data(), wireLength.data());
        // Room for the longest form of every cell: a number's digits, or a
        // text whose every byte becomes a three-byte replacement character.
        size_t bound = 0;
        for (const ColumnPlan &column : plan) {
            const size_t wire = walked && column.wireIndex >= 0 ? wireLength[column.wireIndex] : 0;
            bound += DBRow::CellOverhead + 24 + 3 * wire;
        }
        if (bound > cells.size())
            cells.resize(bound);
        out = cells.data();
        for (const ColumnPlan &column : plan) {
            if (column.wireIndex < 0) {
                // Not in the result: the cell keeps its initial state.
                const bool isNumber = column.type == DBType::Int || column.type == DBType::Int64
                        || column.type == DBType::IpAddr || column.type == DBType::Port;
                append(isNumber, {});
                continue;
            }
            if (column.direct && walked) {
                const char *bytes = reinterpret_cast<const char *>(wireData[column.wireIndex]);
                const uint32_t length = wireLength[column.wireIndex];
                if (column.type == DBType::Int && length == 4) {
                    qint32 value;
                    std::memcpy(&value, bytes, sizeof value);
                    const auto end = std::to_chars(number, number + sizeof number, value).ptr;
                    append(false, QByteArrayView(number, end - number));
                    if (column.isId)
                        m_highestId = qMax(m_highestId, int(value));
                    continue;
                }
                if (column.type == DBType::Int64 && length == 8) {
                    qint64 value;
                    std::memcpy(&value, bytes, sizeof value);
                    const auto end = std::to_chars(number, number + sizeof number, value).ptr;
                    append(false, QByteArrayView(number, end - number));
                    continue;
                }
                if (column.type == DBType::Text || column.type == DBType::Text2) {
                    const QByteArrayView text = cellTextBytes(QByteArrayView(bytes, length));
                    if (isAscii(text))
                        append(false, text);
                    else
                        append(false, QString::fromUtf8(text).toUtf8());
                    continue;
                }
            }
            bool null = false;
            const QByteArray text = cellText(req, r, column.wireIndex, column.type, &null);
            append(null, text);
            if (column.isId && !null)
                m_highestId = qMax(m_highestId, text.toInt());
        }
        DBRow *row = loader.newRow(QByteArrayView(cells.data(), out - cells.data()));
        m_rows.append(row);
        m_baseline.append(*row);
        m_confirmed.append(*row);
    }
    m_readDone = true;
}

// --- statements ---

qint64 DBTable::rowSource(const DBRow &row) const
{
    const bool report = m_columns.reportsMissing();
    const_cast<DBKols &>(m_columns).setReportMissing(false);
    const int index = m_columns.indexOf(RowSourceColumn);
    const_cast<DBKols &>(m_columns).setReportMissing(report);
    return index < 0 ? 0 : row.text(index).toLongLong();
}

QString DBTable::keyCondition(const DBRow &row) const
{
    QString condition;
    bool first = true;
    for (int i = 0; i < m_columns.count(); ++i) {
        const DBKol &column = m_columns.at(i);
        if (!column.attribute)
            continue;
        condition += first ? QStringLiteral(" where ") : QStringLiteral(" and ");
        condition += column.name + QLatin1Char('=') + row.queryText(i);
        first = false;
    }
    return condition;
}

QString DBTable::insertAssignment(const DBRow &row, int column) const
{
    return m_columns.at(column).name + QLatin1Char('=') + row.queryText(column);
}

QStringList DBTable::insertStatements(const DBRow &row) const
{
    const qint64 source = m_directoryAware ? rowSource(row) : 0;
    QString statement;
    if (m_directoryAware && source != 0) {
        statement = QStringLiteral("update ") + tableNameForInsert() + keyCondition(row);
    } else {
        QStringList assignments;
        for (int i = 0; i < m_columns.count(); ++i) {
            if (!row.text(i).isEmpty())
                assignments.append(insertAssignment(row, i));
        }
        statement = QStringLiteral("insert ") + tableNameForInsert() + QStringLiteral(" set ")
                + assignments.join(QLatin1String(", "));
    }
    if (m_directoryAware && row.isDirectoryAware()) {
        statement += source != 0 ? QStringLiteral(" controls LdapActiveSet=1")
                                 : QStringLiteral(" controls ProviderID=%1").arg(source);
    }
    return {statement};
}

QString DBTable::updateAssignment(const DBRow &edited, int column) const
{
    return m_columns.at(column).name + QLatin1Char('=') + edited.queryText(column);
}

QStringList DBTable::updateStatements(const DBRow &baseline, const DBRow &edited) const
{
    if (edited.sharesCellsWith(baseline))
        return {};
    QStringList assignments;
    for (int i = 0; i < m_columns.count(); ++i) {
        if (!baseline.sameTexts(edited, i))
            assignments.append(updateAssignment(edited, i));
    }
    if (assignments.isEmpty())
        return {};
    QString statement = QStringLiteral("update ") + tableNameForUpdate() + QStringLiteral(" set ")
            + assignments.join(QLatin1String(", ")) + keyCondition(baseline);
    if (m_directoryAware && edited.isDirectoryAware())
        statement += QStringLiteral(" controls ProviderID=%1").arg(rowSource(edited));
    return {statement};
}

QStringList DBTable::deleteStatements(const DBRow &row) const
{
    QString statement = QStringLiteral("delete from ") + tableNameForDelete() + keyCondition(row);
    if (m_directoryAware && row.isDirectoryAware()) {
        const qint64 source = rowSource(row);
        if (source != 0) {
            statement.replace(0, 11, QStringLiteral("update"));
            statement += QStringLiteral(" controls LdapActiveReSet=1");
        } else {
            statement += QStringLiteral(" controls ProviderID=%1").arg(0);
        }
    }
    return {statement};
}

QStringList DBTable::statements()
{
    // Rows keep their order in all three lists unless rows were added or
    // removed, so a row is looked for at its own position first; only when
    // that misses are the lists indexed by row number (once), which keeps the
    // whole computation linear.
    QHash<int, int> confirmedIndex;
    QHash<int, int> baselineIndex;
    bool confirmedIndexed = false;
    bool baselineIndexed = false;
    auto find = [](const QList<DBRow> &list, QHash<int, int> &index, bool &indexed,
                   qsizetype position, int rowNumber) -> int {
        if (position < list.size() && list.at(position).rowNumber() == rowNumber)
            return int(position);
        if (!indexed) {
            index.reserve(list.size());
            for (int i = 0; i < list.size(); ++i)
                index.insert(list.at(i).rowNumber(), i);
            indexed = true;
        }
        return index.value(rowNumber, -1);
    };
    std::vector<char> confirmedMatched(size_t(m_confirmed.size()), 0);
    std::vector<char> baselineMatched(size_t(m_baseline.size()), 0);

    if (!m_accumulate)
        m_pending.clear();
    bool modified = false;
    QStringList collected;
    for (qsizetype position = 0; position < m_rows.size(); ++position) {
        const DBRow *row = m_rows.at(position);
        const int confirmed
                = find(m_confirmed, confirmedIndex, confirmedIndexed, position, row->rowNumber());
        QStringList againstConfirmed;
        if (confirmed >= 0) {
            confirmedMatched[size_t(confirmed)] = 1;
            againstConfirmed = updateStatements(m_confirmed.at(confirmed), *row);
        } else {
            againstConfirmed = insertStatements(*row);
        }
        if (!againstConfirmed.isEmpty())
            modified = true;

        const int baseline
                = find(m_baseline, baselineIndex, baselineIndexed, position, row->rowNumber());
        if (baseline >= 0) {
            baselineMatched[size_t(baseline)] = 1;
            collected += updateStatements(m_baseline.at(baseline), *row);
        } else {
            collected += insertStatements(*row);
        }
    }
    for (int i = 0; i < baselineCount(); ++i) {
        if (!baselineMatched[size_t(i)])
            m_pending += deleteStatements(m_baseline.at(i));
    }
    if (!modified
        && std::find(confirmedMatched.begin(), confirmedMatched.end(), 0) != confirmedMatched.end())
        modified = true;
    if (m_accumulate) {
        m_baseline.clear();
        m_baseline.reserve(m_rows.size());
        for (const DBRow *row : std::as_const(m_rows))
            m_baseline.append(*row);
    }
    m_pending += collected;
    if (!modified)
        m_pending.clear();
    return m_pending;
}

bool DBTable::save()
{
    clearResult();
    m_synSave->clearStatements();
    m_synSave->appendStatements(statements());
    if (!m_synSave->execSync()) {
        setResult(m_synSave->resultCode(), m_synSave->errorText());
        return false;
    }
    takeSnapshot();
    return true;
}

void DBTable::slotSaveIsFinished(DBTransReq *trans)
{
    if (trans->resultCode() != 0) {
        setResult(trans->resultCode(), trans->errorText());
        postSafeSignal(EventSaveError, trans->errorText());
    } else {
        takeSnapshot();
        postSafeSignal(EventSaveReady);
    }
    emit signalSaveIsFinished(this);
}

void DBTable::takeSnapshot()
{
    m_confirmed.clear();
    m_baseline.clear();
    m_confirmed.reserve(m_rows.size());
    m_baseline.reserve(m_rows.size());
    for (const DBRow *row : std::as_const(m_rows)) {
        m_confirmed.append(*row);
        m_baseline.append(*row);
    }
    m_pending.clear();
}

bool DBTable::isModified() const
{
    if (m_rows.size() != m_confirmed.size())
        return true;
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        if (!m_rows.at(i)->sameTexts(m_confirmed.at(i)))
            return true;
    }
    return false;
}

void DBTable::revert()
{
    clearRows();
    m_rows.reserve(m_confirmed.size());
    for (const DBRow &row : std::as_const(m_confirmed))
        m_rows.append(new DBRow(row));
    m_baseline = m_confirmed;
    m_pending.clear();
}

QString DBTable::keySignature(const DBRow &row) const
{
    QString signature;
    for (int i = 0; i < m_columns.count(); ++i) {
        if (m_columns.at(i).attribute)
            signature += QStringLiteral("###") + row.text(i);
    }
    return signature;
}

bool DBTable::isKeyUnique(const DBRow *row, int *reason) const
{
    if (!row)
        return false;
    if (reason) {
        *reason = KeyDuplicate;
        for (int i = 0; i < m_columns.count(); ++i) {
            const DBKol &column = m_columns.at(i);
            if (!column.attribute)
                continue;
            const QString text = row->text(i);
            if (text.isEmpty()) {
                *reason = KeyEmptyText;
                return false;
            }
            if (column.type == DBType::IpAddr && text == QLatin1String("0.0.0.0")) {
                *reason = KeyZeroAddress;
                return false;
            }
            if (column.type == DBType::Port && text.toUInt() == 0) {
                *reason = KeyZeroPort;
                return false;
            }
            if ((column.type == DBType::Int || column.type == DBType::Int64)
                && text.toLongLong() == 0) {
                *reason = KeyZeroNumber;
                return false;
            }
        }
    }
    const QString signature = keySignature(*row);
    const Qt::CaseSensitivity cs = m_keysIgnoreCase ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (const DBRow *other : m_rows) {
        if (other == row || other->rowNumber() == row->rowNumber())
            continue;
        if (keySignature(*other).compare(signature, cs) == 0)
            return false;
    }
    return true;
}

// --- posted signals ---

void DBTable::safeEmit1002()
{
    emit signalSaveIsReady();
}

void DBTable::safeEmit1003(const QVariant &error)
{
    emit signalSaveIsError(error.toString());
}

void DBTable::safeEmit1004()
{
    emit signalSelectIsReady();
}

void DBTable::safeEmit1005(const QVariant &error)
{
    emit signalSelectIsError(error.toString());
}

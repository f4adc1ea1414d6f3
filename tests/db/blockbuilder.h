// Builds lumadb result blocks in memory, the way the server encodes them, so
// readers and tables can be tested without a connection.
#ifndef TESTS_DB_BLOCKBUILDER_H
#define TESTS_DB_BLOCKBUILDER_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>

class BlockBuilder
{
public:
    struct Column
    {
        int type;
        QString name;
        bool key = false;
    };

    explicit BlockBuilder(const QList<Column> &columns)
        : m_columns(columns)
    { }

    // Cells of the next row, one per column, already in wire form.
    void addRow(const QList<QByteArray> &cells) { m_rows.append(cells); }

    static QByteArray text(const QString &value)
    {
        QByteArray bytes = value.toUtf8();
        bytes.append('\0');
        return bytes;
    }
    static QByteArray int32(int32_t value) { return be(uint64_t(uint32_t(value)), 4); }
    static QByteArray int64(int64_t value) { return be(uint64_t(value), 8); }
    static QByteArray port(uint16_t value) { return be(value, 2); }
    static QByteArray ipv4(uint8_t a, uint8_t b, uint8_t c, uint8_t d)
    {
        const char bytes[] = {char(a), char(b), char(c), char(d)};
        return QByteArray(bytes, 4);
    }
    static QByteArray list(const QStringList &items)
    {
        QByteArray bytes;
        for (const QString &item : items) {
            const QByteArray t = text(item);
            bytes += be(uint64_t(t.size()), 4) + t;
        }
        return bytes + be(0, 4);
    }

    QByteArray block() const
    {
        QByteArray out;
        out.append('\0');
        out.append(char(115));
        out += be(uint64_t(m_columns.size()), 2);
        out += be(uint64_t(m_rows.size()), 4);
        out += be(0, 4); // extra
        out += be(0, 4);
        out += be(0, 4); // no extension area
        for (const Column &c : m_columns) {
            const QByteArray name = text(c.name);
            out.append('\0');
            out.append(char(c.type));
            out.append(char(c.key ? 1 : 0));
            out += be(uint64_t(name.size()), 4);
            out += name;
        }
        for (const QList<QByteArray> &row : m_rows) {
            for (const QByteArray &cell : row)
                out += be(uint64_t(cell.size()), 4) + cell;
        }
        return out;
    }

private:
    static QByteArray be(uint64_t value, int size)
    {
        QByteArray bytes(size, '\0');
        for (int i = size - 1; i >= 0; --i) {
            bytes[i] = char(value & 0xff);
            value >>= 8;
        }
        return bytes;
    }

    QList<Column> m_columns;
    QList<QList<QByteArray>> m_rows;
};

#endif // TESTS_DB_BLOCKBUILDER_H

// The value classes a row holds, one per column type.
#ifndef DB_DBVALUES_H
#define DB_DBVALUES_H

#include "db/dbvalbase.h"

#include <QtGlobal>

// Signed 32-bit number (type 2). Starts null.
class DBInt : public DBVal<int>
{
public:
    DBInt()
        : DBVal(true, 0)
    { }
    explicit DBInt(int value)
        : DBVal(false, value)
    { }
    QString toString() const override;
    void fromString(const QString &text) override;
    int typeCode() const override { return DBType::Int; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBInt>(*this); }
};

// Signed 64-bit number (type 3). Starts null.
class DBInt64 : public DBVal<qint64>
{
public:
    DBInt64()
        : DBVal(true, 0)
    { }
    explicit DBInt64(qint64 value)
        : DBVal(false, value)
    { }
    QString toString() const override;
    void fromString(const QString &text) override;
    int typeCode() const override { return DBType::Int64; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBInt64>(*this); }
};

// IPv4 address (type 4), stored in network byte order. Starts null.
class DBIpAddr : public DBVal<quint32>
{
public:
    DBIpAddr()
        : DBVal(true, 0)
    { }
    QString toString() const override;
    // An unparsable text gives 255.255.255.255.
    void fromString(const QString &text) override;
    int typeCode() const override { return DBType::IpAddr; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBIpAddr>(*this); }
};

// Port (type 7), stored in network byte order. Starts null.
class DBPort : public DBVal<quint16>
{
public:
    DBPort()
        : DBVal(true, 0)
    { }
    QString toString() const override;
    void fromString(const QString &text) override;
    int typeCode() const override { return DBType::Port; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBPort>(*this); }
    // The port in host byte order.
    quint16 port() const;
};

// Text (types 1, 5 and unknown types); cell bytes are UTF-8. Starts empty, not null.
class DBStr : public DBVal<QString>
{
public:
    DBStr()
        : DBVal(false)
    { }
    explicit DBStr(const QString &text)
        : DBVal(false, text)
    { }
    QString toString() const override { return m_value; }
    void fromString(const QString &text) override;
    void setFromBytes(const char *bytes) override;
    int typeCode() const override { return DBType::Text; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBStr>(*this); }
};

// Text whose cell bytes are taken one byte per character (type 10).
class DBRawStr : public DBStr
{
public:
    DBRawStr() = default;
    void setFromBytes(const char *bytes) override;
    int typeCode() const override { return DBType::RawText; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBRawStr>(*this); }
};

// Binary bytes shown as lower-case hexadecimal (type 6).
class DBBinary : public DBRawStr
{
public:
    DBBinary() = default;
    int typeCode() const override { return DBType::Binary; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBBinary>(*this); }
};

// List of texts (type 8), shown joined by ","; written as {"a","b"}.
class DBIdList : public DBVal<QStringList>
{
public:
    DBIdList()
        : DBVal(false)
    { }
    QString toString() const override { return m_value.join(QLatin1Char(',')); }
    QStringList toStringList() const override;
    QString toQueryText() const override;
    // Splits at ","; empty items are dropped.
    void fromString(const QString &text) override;
    void setFromBytes(const char *bytes) override;
    int typeCode() const override { return DBType::IdList; }
    std::unique_ptr<DBValBase> clone() const override { return std::make_unique<DBIdList>(*this); }
};

#endif // DB_DBVALUES_H

// The base of all cell values and the template that adds the stored value.
#ifndef DB_DBVALBASE_H
#define DB_DBVALBASE_H

#include <QString>
#include <QStringList>

#include <memory>

// Column type codes (the wire codes plus 10 for raw one-byte-per-character text).
namespace DBType {
enum : int {
    Text = 1,
    Int = 2,
    Int64 = 3,
    IpAddr = 4,
    Text2 = 5,
    Binary = 6,
    Port = 7,
    IdList = 8,
    RawText = 10,
};
}

class DBValBase
{
public:
    virtual ~DBValBase() = default;

    bool isNull() const { return m_null; }
    void setNull(bool null) { m_null = null; }

    // The value as text; a null scalar gives the empty text.
    virtual QString toString() const = 0;
    // A scalar gives a one-element list of its text.
    virtual QStringList toStringList() const { return {toString()}; }
    // The literal written into a query: the escaped text in single quotes.
    virtual QString toQueryText() const;
    // Set the value from a form's text.
    virtual void fromString(const QString &text) = 0;
    // Text and list classes decode the bytes; null makes the value empty and null.
    virtual void setFromBytes(const char *bytes);

    virtual int typeCode() const = 0;
    virtual std::unique_ptr<DBValBase> clone() const = 0;

    // A value of the class that holds the column type, in its initial state
    // (unknown types give a text value).
    static std::unique_ptr<DBValBase> create(int columnType);

protected:
    explicit DBValBase(bool null)
        : m_null(null)
    { }
    DBValBase(const DBValBase &) = default;
    DBValBase &operator=(const DBValBase &) = default;

    bool m_null;
};

template<typename T>
class DBVal : public DBValBase
{
public:
    const T &value() const { return m_value; }
    void setValue(const T &value)
    {
        m_value = value;
        m_null = false;
    }

protected:
    explicit DBVal(bool null, const T &initial = T())
        : DBValBase(null)
        , m_value(initial)
    { }

    T m_value;
};

#endif // DB_DBVALBASE_H

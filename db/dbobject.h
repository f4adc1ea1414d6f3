// Result code and error text shared by the data-layer classes.
#ifndef DB_DBOBJECT_H
#define DB_DBOBJECT_H

#include <QString>

class DBObject
{
public:
    virtual ~DBObject() = default;

    uint resultCode() const { return m_resultCode; }
    QString errorText() const { return m_errorText; }
    bool succeeded() const { return m_resultCode == 0; }

    void setResult(uint code, const QString &text)
    {
        m_resultCode = code;
        m_errorText = text;
    }
    void clearResult() { setResult(0, QString()); }

protected:
    uint m_resultCode = 0;
    QString m_errorText;
};

#endif // DB_DBOBJECT_H

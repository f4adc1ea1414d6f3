// Result code and error text shared by the data-layer classes.
#ifndef DB_DBOBJECT_H
#define DB_DBOBJECT_H

#include <QString>

// Texts that cross between the worker and the interface thread are stored as
// private copies and replaced by swapping, so no thread ever drops the last
// reference of a text another thread still counts (Qt's own reference
// counting is invisible to ThreadSanitizer).
inline QString dbDetached(const QString &text)
{
    return text.isNull() ? QString() : QString(text.constData(), text.size());
}

inline void dbAssign(QString &target, const QString &value)
{
    QString replacement = dbDetached(value);
    target.swap(replacement);
}

class DBObject
{
public:
    virtual ~DBObject() = default;

    uint resultCode() const { return m_resultCode; }
    QString errorText() const { return dbDetached(m_errorText); }
    bool succeeded() const { return m_resultCode == 0; }

    void setResult(uint code, const QString &text)
    {
        m_resultCode = code;
        dbAssign(m_errorText, text);
    }
    void clearResult() { setResult(0, QString()); }

protected:
    uint m_resultCode = 0;
    QString m_errorText;
};

#endif // DB_DBOBJECT_H

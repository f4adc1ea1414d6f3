#include "db/dbvalues.h"

#include "db/dbquote.h"

#include <QtEndian>

// --- DBValBase ---

QString DBValBase::toQueryText() const
{
    if (m_null)
        return QStringLiteral("''");
    return dbLiteral(toString());
}

void DBValBase::setFromBytes(const char *bytes)
{
    // Only text and list values take raw cell bytes.
    Q_UNUSED(bytes);
}

std::unique_ptr<DBValBase> DBValBase::create(int columnType)
{
    switch (columnType) {
    case DBType::Int:
        return std::make_unique<DBInt>();
    case DBType::Int64:
        return std::make_unique<DBInt64>();
    case DBType::IpAddr:
        return std::make_unique<DBIpAddr>();
    case DBType::Port:
        return std::make_unique<DBPort>();
    case DBType::RawText:
        return std::make_unique<DBRawStr>();
    case DBType::Binary:
        return std::make_unique<DBBinary>();
    case DBType::IdList:
        return std::make_unique<DBIdList>();
    default:
        return std::make_unique<DBStr>();
    }
}

// --- numbers ---

QString DBInt::toString() const
{
    return m_null ? QString() : QString::number(m_value);
}

void DBInt::fromString(const QString &text)
{
    if (text.isEmpty()) {
        m_value = 0;
        m_null = true;
        return;
    }
    bool ok = false;
    const int number = text.trimmed().toInt(&ok);
    m_value = ok ? number : 0;
    m_null = false;
}

QString DBInt64::toString() const
{
    return m_null ? QString() : QString::number(m_value);
}

void DBInt64::fromString(const QString &text)
{
    if (text.isEmpty()) {
        m_value = 0;
        m_null = true;
        return;
    }
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    m_value = ok ? number : 0;
    m_null = false;
}

// --- address and port ---

QString DBIpAddr::toString() const
{
    if (m_null)
        return QString();
    const quint32 host = qFromBigEndian(m_value);
    return QStringLiteral("%1.%2.%3.%4")
            .arg(host >> 24)
            .arg((host >> 16) & 0xff)
            .arg((host >> 8) & 0xff)
            .arg(host & 0xff);
}

void DBIpAddr::fromString(const QString &text)
{
    if (text.isEmpty()) {
        m_value = 0;
        m_null = true;
        return;
    }
    m_null = false;
    m_value = 0xffffffffu; // unparsable text
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return;
    quint32 host = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint octet = part.toUInt(&ok);
        if (!ok || octet > 255 || part.isEmpty() || part.size() > 3)
            return;
        host = (host << 8) | octet;
    }
    m_value = qToBigEndian(host);
}

QString DBPort::toString() const
{
    return m_null ? QString() : QString::number(port());
}

quint16 DBPort::port() const
{
    return qFromBigEndian(m_value);
}

void DBPort::fromString(const QString &text)
{
    if (text.isEmpty()) {
        m_value = 0;
        m_null = true;
        return;
    }
    bool ok = false;
    const uint number = text.trimmed().toUInt(&ok);
    m_value = qToBigEndian(quint16(ok && number <= 0xffff ? number : 0));
    m_null = false;
}

// --- texts ---

void DBStr::fromString(const QString &text)
{
    m_value = text;
    m_null = false;
}

void DBStr::setFromBytes(const char *bytes)
{
    if (!bytes) {
        m_value.clear();
        m_null = true;
        return;
    }
    fromString(QString::fromUtf8(bytes));
}

void DBRawStr::setFromBytes(const char *bytes)
{
    if (!bytes) {
        m_value.clear();
        m_null = true;
        return;
    }
    fromString(QString::fromLatin1(bytes));
}

QStringList DBIdList::toStringList() const
{
    return m_value.isEmpty() ? QStringList{QString()} : m_value;
}

QString DBIdList::toQueryText() const
{
    QString text = QStringLiteral("{");
    for (qsizetype i = 0; i < m_value.size(); ++i) {
        if (i > 0)
            text += QLatin1Char(',');
        text += QLatin1Char('"') + dbEscape(m_value.at(i)) + QLatin1Char('"');
    }
    return text + QLatin1Char('}');
}

void DBIdList::fromString(const QString &text)
{
    m_value = text.split(QLatin1Char(','), Qt::SkipEmptyParts);
    m_null = false;
}

void DBIdList::setFromBytes(const char *bytes)
{
    if (!bytes) {
        m_value.clear();
        m_null = true;
        return;
    }
    fromString(QString::fromUtf8(bytes));
}

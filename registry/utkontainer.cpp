#include "registry/utkontainer.h"

#include <QVariant>

#include <cstring>

namespace {

struct Registry
{
    QHash<QString, UtKontainer::UtKontData> values;
    QHash<QString, QPointer<QObject>> objects;
    std::unique_ptr<QSettings> store;
    QString group;
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

UtKontainer::UtKontData intData(int value)
{
    const qint32 fixed = value;
    return {QByteArray(reinterpret_cast<const char *>(&fixed), sizeof fixed),
            UtKontainer::UtKontData::Kind::Int};
}

UtKontainer::UtKontData boolData(bool value)
{
    return {QByteArray(1, value ? '\1' : '\0'), UtKontainer::UtKontData::Kind::Bool};
}

UtKontainer::UtKontData textData(const QString &value)
{
    QByteArray bytes = value.toUtf8();
    bytes.append('\0');
    return {bytes, UtKontainer::UtKontData::Kind::Text};
}

bool readInt(const UtKontainer::UtKontData &data, int *value)
{
    if (data.kind != UtKontainer::UtKontData::Kind::Int || data.length() != sizeof(qint32))
        return false;
    qint32 fixed = 0;
    std::memcpy(&fixed, data.bytes.constData(), sizeof fixed);
    *value = fixed;
    return true;
}

bool readBool(const UtKontainer::UtKontData &data, bool *value)
{
    if (data.kind != UtKontainer::UtKontData::Kind::Bool || data.length() != 1)
        return false;
    *value = data.bytes.at(0) != '\0';
    return true;
}

bool readText(const UtKontainer::UtKontData &data, QString *value)
{
    // A text blob always ends in its terminating zero.
    if (data.kind != UtKontainer::UtKontData::Kind::Text || data.length() < 1
        || data.bytes.back() != '\0')
        return false;
    *value = QString::fromUtf8(data.bytes.constData(), data.length() - 1);
    return true;
}

void beginStoreGroup()
{
    Registry &r = registry();
    if (r.store && !r.group.isEmpty())
        r.store->beginGroup(r.group);
}

} // namespace

QString UtKontainer::normalizeKey(const QString &persistentKey)
{
    QString key = persistentKey;
    while (key.endsWith(QLatin1Char('/')))
        key.chop(1);
    if (!key.startsWith(QLatin1Char('/')))
        key.prepend(QLatin1Char('/'));
    return key;
}

bool UtKontainer::storeValue(const QString &key, const UtKontData &data,
                             const QString &persistentKey, const QVariant &storeValue)
{
    Registry &r = registry();
    r.values.insert(key, data);
    if (persistentKey.isEmpty() || !r.store)
        return true;
    if (!r.store->isWritable())
        return false;
    r.store->setValue(normalizeKey(persistentKey), storeValue);
    r.store->sync();
    return r.store->status() == QSettings::NoError;
}

bool UtKontainer::setInt(const QString &key, int value, const QString &persistentKey)
{
    return storeValue(key, intData(value), persistentKey, value);
}

bool UtKontainer::setBool(const QString &key, bool value, const QString &persistentKey)
{
    return storeValue(key, boolData(value), persistentKey, value);
}

bool UtKontainer::setText(const QString &key, const QString &value, const QString &persistentKey)
{
    return storeValue(key, textData(value), persistentKey, value);
}

int UtKontainer::getInt(const QString &key, int defaultValue, const QString &persistentKey)
{
    Registry &r = registry();
    if (!persistentKey.isEmpty() && r.store) {
        bool ok = false;
        int value = r.store->value(normalizeKey(persistentKey), defaultValue).toInt(&ok);
        if (!ok)
            value = defaultValue; // a damaged store entry reads as the default
        r.values.insert(key, intData(value));
        return value;
    }
    int value = defaultValue;
    const auto found = r.values.constFind(key);
    if (found == r.values.constEnd() || !readInt(*found, &value))
        return defaultValue;
    return value;
}

bool UtKontainer::getBool(const QString &key, bool defaultValue, const QString &persistentKey)
{
    Registry &r = registry();
    if (!persistentKey.isEmpty() && r.store) {
        const bool value = r.store->value(normalizeKey(persistentKey), defaultValue).toBool();
        r.values.insert(key, boolData(value));
        return value;
    }
    bool value = defaultValue;
    const auto found = r.values.constFind(key);
    if (found == r.values.constEnd() || !readBool(*found, &value))
        return defaultValue;
    return value;
}

QString UtKontainer::getText(const QString &key, const QString &defaultValue,
                             const QString &persistentKey)
{
    Registry &r = registry();
    if (!persistentKey.isEmpty() && r.store) {
        const QString value = r.store->value(normalizeKey(persistentKey), defaultValue).toString();
        r.values.insert(key, textData(value));
        return value;
    }
    QString value;
    const auto found = r.values.constFind(key);
    if (found == r.values.constEnd() || !readText(*found, &value))
        return defaultValue;
    return value;
}

void UtKontainer::setObject(const QString &key, QObject *object)
{
    if (object)
        registry().objects.insert(key, object);
    else
        registry().objects.remove(key);
}

QObject *UtKontainer::object(const QString &key)
{
    return registry().objects.value(key).data();
}

bool UtKontainer::contains(const QString &key)
{
    const Registry &r = registry();
    return r.values.contains(key) || (r.objects.contains(key) && r.objects.value(key));
}

UtKontainer::UtKontData UtKontainer::data(const QString &key)
{
    return registry().values.value(key);
}

void UtKontainer::remove(const QString &key)
{
    registry().values.remove(key);
    registry().objects.remove(key);
}

void UtKontainer::setStorePath(const QString &organisation, const QString &product,
                               QSettings::Scope scope)
{
    Registry &r = registry();
    r.store = std::make_unique<QSettings>(scope, organisation, product);
    if (scope == QSettings::SystemScope && !r.store->isWritable())
        r.store = std::make_unique<QSettings>(QSettings::UserScope, organisation, product);
    beginStoreGroup();
}

void UtKontainer::setStoreFile(const QString &fileName)
{
    Registry &r = registry();
    r.store = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
    beginStoreGroup();
}

void UtKontainer::detachStore()
{
    registry().store.reset();
}

bool UtKontainer::hasStore()
{
    return registry().store != nullptr;
}

QSettings *UtKontainer::store()
{
    return registry().store.get();
}

void UtKontainer::openGroup(const QString &group)
{
    Registry &r = registry();
    r.group = group;
    if (!r.store)
        return;
    while (!r.store->group().isEmpty())
        r.store->endGroup();
    beginStoreGroup();
}

void UtKontainer::clear()
{
    Registry &r = registry();
    r.values.clear();
    r.objects.clear();
    r.store.reset();
    r.group.clear();
}

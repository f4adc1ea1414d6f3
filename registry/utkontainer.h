#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSettings>
#include <QString>

#include <memory>

// The process-wide registry of named values.
//
// Every part of the console finds shared objects and settings here by name:
// the application ("utKontFApp"), the main window ("utKontFMainWnd"), the page
// area ("utKontFWindow"), the connection ("utKontDBConn"), the caption of every
// message box ("utKontCaption"), the session parameters and so on.
//
// Plain values are kept as byte blobs: integers as 4 bytes, booleans as 1 byte,
// texts as UTF-8 with a terminating zero. A value may also be mirrored in a
// settings store (the persistent backing): pass a persistent key to a set or
// get and, once a store is attached, the value is written to or read from it.
//
// Objects are kept apart from the blobs as guarded pointers, so an entry whose
// object was destroyed reads as null instead of dangling.
//
// Used from the user-interface thread only; there is no lock.
class UtKontainer
{
public:
    // One stored value: a byte copy of it (its length is the blob's size) and
    // the kind it was stored as, so a read of another kind gets the default.
    struct UtKontData
    {
        enum class Kind { None, Int, Bool, Text };
        QByteArray bytes;
        Kind kind = Kind::None;
        qsizetype length() const { return bytes.size(); }
    };

    UtKontainer() = delete;

    // Plain values. Each stores in memory and, when persistentKey is given and a
    // store is attached, writes the store too. Returns whether every step
    // succeeded.
    static bool setInt(const QString &key, int value, const QString &persistentKey = {});
    static bool setBool(const QString &key, bool value, const QString &persistentKey = {});
    static bool setText(const QString &key, const QString &value,
                        const QString &persistentKey = {});

    // Without a persistent key: the value in memory, or defaultValue when the key
    // is absent or holds a value of another kind (the default is not stored).
    // With a persistent key and an attached store: the store's value (or the
    // default), which then also refreshes the value in memory.
    static int getInt(const QString &key, int defaultValue = 0, const QString &persistentKey = {});
    static bool getBool(const QString &key, bool defaultValue = false,
                        const QString &persistentKey = {});
    static QString getText(const QString &key, const QString &defaultValue = {},
                           const QString &persistentKey = {});

    // Objects known by name. A null object removes the entry.
    static void setObject(const QString &key, QObject *object);
    static QObject *object(const QString &key);
    template<class T>
    static T *objectAs(const QString &key)
    {
        return dynamic_cast<T *>(object(key));
    }

    static bool contains(const QString &key);
    static UtKontData data(const QString &key);
    static void remove(const QString &key);

    // Attaches the settings store at (organisation, product, scope). A
    // system-wide store that this process may not write falls back to the
    // user's store, which still reads system-wide values it does not override.
    static void setStorePath(const QString &organisation, const QString &product,
                             QSettings::Scope scope = QSettings::SystemScope);
    // Attaches the store kept in one INI file (used by tools and tests).
    static void setStoreFile(const QString &fileName);
    static void detachStore();
    static bool hasStore();
    // The attached store, or null. Persistent entries go below the open group.
    static QSettings *store();

    // Opens a group of the store below which persistent keys live ("/Postvane").
    static void openGroup(const QString &group);

    // Adds a leading "/" when missing and removes trailing "/" characters.
    static QString normalizeKey(const QString &persistentKey);

    // Forgets every value and object and detaches the store.
    static void clear();

private:
    static bool storeValue(const QString &key, const UtKontData &data, const QString &persistentKey,
                           const QVariant &storeValue);
};

#include "db/dbpasswordhash.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <QByteArray>

namespace {
constexpr int SaltSize = 8;
constexpr int KeySize = 20;
constexpr int Iterations = 10000;
constexpr int HashLength = 60;
const QLatin1String Prefix("SHA:");

bool isHexDigits(QStringView text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= '0' && u <= '9') || (u >= 'a' && u <= 'f') || (u >= 'A' && u <= 'F')))
            return false;
    }
    return true;
}
} // namespace

std::optional<QString> passwordHash(const QString &password,
                                    const std::optional<QString> &storedHash)
{
    QByteArray salt(SaltSize, '\0');
    if (storedHash) {
        const QString &stored = *storedHash;
        if (stored.size() != HashLength || !stored.startsWith(Prefix)
            || !isHexDigits(QStringView(stored).mid(Prefix.size())))
            return std::nullopt;
        salt = QByteArray::fromHex(stored.mid(Prefix.size(), SaltSize * 2).toLatin1());
    } else if (RAND_bytes(reinterpret_cast<unsigned char *>(salt.data()), SaltSize) != 1) {
        return std::nullopt;
    }
    const QByteArray bytes = password.toLatin1();
    unsigned char key[KeySize];
    if (PKCS5_PBKDF2_HMAC_SHA1(bytes.constData(), int(bytes.size()),
                               reinterpret_cast<const unsigned char *>(salt.constData()), SaltSize,
                               Iterations, KeySize, key)
        != 1)
        return std::nullopt;
    return Prefix + QString::fromLatin1(salt.toHex())
            + QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(key), KeySize).toHex());
}

bool passwordMatches(const QString &password, const QString &storedHash)
{
    const std::optional<QString> computed = passwordHash(password, storedHash);
    return computed && computed->compare(storedHash, Qt::CaseInsensitive) == 0;
}

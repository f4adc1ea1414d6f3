// The stored form of a hashed password: "SHA:" + 16 hex digits of salt +
// 40 hex digits of PBKDF2-HMAC-SHA1 (10000 iterations) over the Latin-1 bytes.
#ifndef DB_DBPASSWORDHASH_H
#define DB_DBPASSWORDHASH_H

#include <QString>

#include <optional>

// Without a stored hash a fresh random salt is used; with one, its salt is
// reused so the result can be compared with it. A malformed stored hash (not
// 60 characters, no "SHA:" prefix, not hexadecimal) gives no result.
std::optional<QString> passwordHash(const QString &password,
                                    const std::optional<QString> &storedHash = std::nullopt);

// True when password hashes to storedHash.
bool passwordMatches(const QString &password, const QString &storedHash);

#endif // DB_DBPASSWORDHASH_H

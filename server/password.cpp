#include "password.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstdio>
#include <vector>

namespace postvane::devserver {

namespace {

constexpr int kIterations = 10000;
constexpr size_t kSaltBytes = 8;
constexpr size_t kKeyBytes = 20;

std::string toHex(const unsigned char *bytes, size_t length)
{
    std::string hex;
    char pair[3];
    for (size_t i = 0; i < length; ++i) {
        std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
        hex += pair;
    }
    return hex;
}

bool fromHex(std::string_view hex, std::vector<unsigned char> &bytes)
{
    if (hex.size() % 2)
        return false;
    auto digit = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = digit(hex[i]);
        const int low = digit(hex[i + 1]);
        if (high < 0 || low < 0)
            return false;
        bytes.push_back(static_cast<unsigned char>(high * 16 + low));
    }
    return true;
}

// The key is derived from the Latin-1 bytes of the password; characters outside
// Latin-1 are kept as their UTF-8 bytes.
std::string latin1(std::string_view utf8)
{
    std::string out;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c == 0xc2 || c == 0xc3) && i + 1 < utf8.size()
            && (static_cast<unsigned char>(utf8[i + 1]) & 0xc0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) | (utf8[i + 1] & 0x3f));
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

bool deriveKey(std::string_view password, const unsigned char *salt, unsigned char *key)
{
    const std::string bytes = latin1(password);
    return PKCS5_PBKDF2_HMAC_SHA1(bytes.data(), static_cast<int>(bytes.size()), salt,
                                  static_cast<int>(kSaltBytes), kIterations,
                                  static_cast<int>(kKeyBytes), key)
            == 1;
}

} // namespace

std::string hashPassword(std::string_view password)
{
    unsigned char salt[kSaltBytes];
    unsigned char key[kKeyBytes];
    if (RAND_bytes(salt, sizeof salt) != 1 || !deriveKey(password, salt, key))
        return "NUL:" + std::string(password);
    return "SHA:" + toHex(salt, sizeof salt) + toHex(key, sizeof key);
}

bool verifyPassword(std::string_view stored, std::string_view password)
{
    if (stored.starts_with("SHA:")) {
        std::vector<unsigned char> salt;
        std::vector<unsigned char> expected;
        if (stored.size() != 4 + 2 * (kSaltBytes + kKeyBytes)
            || !fromHex(stored.substr(4, 2 * kSaltBytes), salt)
            || !fromHex(stored.substr(4 + 2 * kSaltBytes), expected))
            return false;
        unsigned char key[kKeyBytes];
        if (!deriveKey(password, salt.data(), key))
            return false;
        return CRYPTO_memcmp(key, expected.data(), kKeyBytes) == 0;
    }
    std::string_view plain = stored.starts_with("NUL:") ? stored.substr(4) : stored;
    return plain.size() == password.size()
            && CRYPTO_memcmp(plain.data(), password.data(), plain.size()) == 0;
}

bool isPasswordHash(std::string_view stored)
{
    std::vector<unsigned char> bytes;
    return stored.starts_with("SHA:") && stored.size() == 4 + 2 * (kSaltBytes + kKeyBytes)
            && fromHex(stored.substr(4), bytes);
}

std::string storedPasswordForm(std::string_view written)
{
    if (isPasswordHash(written))
        return std::string(written);
    return hashPassword(written.starts_with("NUL:") ? written.substr(4) : written);
}

void spendVerificationWork(std::string_view password)
{
    static const unsigned char salt[kSaltBytes] = {};
    unsigned char key[kKeyBytes];
    deriveKey(password, salt, key);
}

} // namespace postvane::devserver

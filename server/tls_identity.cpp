#include "tls_identity.h"

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace postvane::devserver {

namespace {

std::string opensslError(const char *what)
{
    char text[256] = {0};
    ERR_error_string_n(ERR_get_error(), text, sizeof text);
    return std::string(what) + ": " + text;
}

bool fileExists(const std::string &path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// Opens path for writing with the given mode, refusing to follow an existing file.
FILE *createFile(const std::string &path, mode_t mode)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd < 0)
        return nullptr;
    ::fchmod(fd, mode);
    FILE *file = ::fdopen(fd, "w");
    if (!file)
        ::close(fd);
    return file;
}

} // namespace

bool ensureSelfSignedCertificate(const std::string &certPath, const std::string &keyPath,
                                 std::string &error)
{
    const bool haveCert = fileExists(certPath);
    const bool haveKey = fileExists(keyPath);
    if (haveCert && haveKey)
        return true;
    if (haveCert != haveKey) {
        error = "only one of " + certPath + " and " + keyPath + " exists";
        return false;
    }
    EVP_PKEY *key = EVP_EC_gen("P-256");
    X509 *cert = X509_new();
    bool ok = key && cert;
    if (ok) {
        X509_set_version(cert, 2);
        unsigned char serial[8] = {};
        FILE *random = std::fopen("/dev/urandom", "rb");
        if (!random || std::fread(serial, 1, sizeof serial, random) != sizeof serial)
            serial[0] = 1;
        if (random)
            std::fclose(random);
        uint64_t serialNumber = 0;
        for (unsigned char byte : serial)
            serialNumber = (serialNumber << 8) | byte;
        ASN1_INTEGER_set_uint64(X509_get_serialNumber(cert), serialNumber >> 1);
        X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
        X509_gmtime_adj(X509_getm_notAfter(cert), 10L * 365 * 24 * 3600);
        X509_set_pubkey(cert, key);
        X509_NAME *name = X509_get_subject_name(cert);
        X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char *>("postvane-devserver"),
                                   -1, -1, 0);
        X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                                   reinterpret_cast<const unsigned char *>("Postvane"), -1, -1, 0);
        X509_set_issuer_name(cert, name);
        ok = X509_sign(cert, key, EVP_sha256()) > 0;
    }
    if (!ok) {
        error = opensslError("cannot create the certificate");
    } else {
        FILE *keyFile = createFile(keyPath, 0600);
        ok = keyFile && PEM_write_PrivateKey(keyFile, key, nullptr, nullptr, 0, nullptr, nullptr);
        if (keyFile)
            std::fclose(keyFile);
        FILE *certFile = ok ? createFile(certPath, 0644) : nullptr;
        ok = ok && certFile && PEM_write_X509(certFile, cert);
        if (certFile)
            std::fclose(certFile);
        if (!ok) {
            error = "cannot write " + keyPath + " / " + certPath;
            ::unlink(keyPath.c_str());
            ::unlink(certPath.c_str());
        }
    }
    X509_free(cert);
    EVP_PKEY_free(key);
    return ok;
}

SSL_CTX *createServerContext(const std::string &certPath, const std::string &keyPath,
                             std::string &error)
{
    SSL_CTX *context = SSL_CTX_new(TLS_server_method());
    if (!context) {
        error = opensslError("cannot create the TLS context");
        return nullptr;
    }
    SSL_CTX_set_min_proto_version(context, TLS1_2_VERSION);
    SSL_CTX_set_options(context, SSL_OP_NO_RENEGOTIATION);
    if (SSL_CTX_use_certificate_chain_file(context, certPath.c_str()) != 1) {
        error = opensslError(("cannot load " + certPath).c_str());
        SSL_CTX_free(context);
        return nullptr;
    }
    if (SSL_CTX_use_PrivateKey_file(context, keyPath.c_str(), SSL_FILETYPE_PEM) != 1
        || SSL_CTX_check_private_key(context) != 1) {
        error = opensslError(("cannot load " + keyPath).c_str());
        SSL_CTX_free(context);
        return nullptr;
    }
    return context;
}

} // namespace postvane::devserver

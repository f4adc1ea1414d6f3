// A self-signed server certificate made at run time with the OpenSSL API.
#ifndef LUMADB_TEST_CERTIFICATE_H
#define LUMADB_TEST_CERTIFICATE_H

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

namespace lumadb_test {

class TestCertificate
{
public:
    // A fresh P-256 key and a certificate for common_name, valid for a day.
    explicit TestCertificate(const std::string &common_name = "localhost");
    ~TestCertificate();
    TestCertificate(const TestCertificate &) = delete;
    TestCertificate &operator=(const TestCertificate &) = delete;

    EVP_PKEY *key() const { return m_key; }
    X509 *certificate() const { return m_certificate; }
    // SHA-256 of the DER form, lower-case hex.
    const std::string &fingerprint() const { return m_fingerprint; }

private:
    EVP_PKEY *m_key = nullptr;
    X509 *m_certificate = nullptr;
    std::string m_fingerprint;
};

} // namespace lumadb_test

#endif // LUMADB_TEST_CERTIFICATE_H

#include "test_certificate.h"

#include <openssl/x509v3.h>

#include <stdexcept>

namespace lumadb_test {

TestCertificate::TestCertificate(const std::string &common_name)
{
    m_key = EVP_EC_gen("P-256");
    m_certificate = X509_new();
    if (!m_key || !m_certificate)
        throw std::runtime_error("cannot create a test key");
    X509_set_version(m_certificate, 2);
    static long serial = 1;
    ASN1_INTEGER_set(X509_get_serialNumber(m_certificate), serial++);
    X509_gmtime_adj(X509_getm_notBefore(m_certificate), -3600);
    X509_gmtime_adj(X509_getm_notAfter(m_certificate), 24 * 3600);
    X509_set_pubkey(m_certificate, m_key);
    X509_NAME *name = X509_get_subject_name(m_certificate);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char *>(common_name.c_str()), -1, -1,
                               0);
    X509_set_issuer_name(m_certificate, name);
    if (X509_sign(m_certificate, m_key, EVP_sha256()) == 0)
        throw std::runtime_error("cannot sign the test certificate");

    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    X509_digest(m_certificate, EVP_sha256(), digest, &length);
    static const char digits[] = "0123456789abcdef";
    for (unsigned i = 0; i < length; ++i) {
        m_fingerprint += digits[digest[i] >> 4];
        m_fingerprint += digits[digest[i] & 0x0f];
    }
}

TestCertificate::~TestCertificate()
{
    X509_free(m_certificate);
    EVP_PKEY_free(m_key);
}

} // namespace lumadb_test

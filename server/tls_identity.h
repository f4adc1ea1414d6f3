// The server's TLS identity: a self-signed certificate kept in the data folder
// (created on first start, key file owner-only) or given files.
#pragma once

#include <string>

typedef struct ssl_ctx_st SSL_CTX;

namespace postvane::devserver {

// Makes sure certPath/keyPath exist, creating a self-signed pair when both are
// missing. Returns false with error on failure.
bool ensureSelfSignedCertificate(const std::string &certPath, const std::string &keyPath,
                                 std::string &error);

// A server context loaded with the certificate and key; nullptr with error.
SSL_CTX *createServerContext(const std::string &certPath, const std::string &keyPath,
                             std::string &error);

} // namespace postvane::devserver

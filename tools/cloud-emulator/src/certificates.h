// A throw-away CA and a server certificate for the service's host names.
#pragma once

#include <optional>
#include <string>

namespace QuilloryCloud {

struct CertificateSet {
  std::string caPem;          // CA certificate
  std::string serverPem;      // server certificate followed by nothing else
  std::string serverKeyPem;   // its private key
};

// Fresh keys each call; the server certificate names api.quillory.example and
// *.quillory.example. nullopt when OpenSSL fails.
std::optional<CertificateSet> MakeCertificates();

}  // namespace QuilloryCloud

#include "certificates.h"

#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace QuilloryCloud {

namespace {

struct Freer {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
  void operator()(X509* p) const { X509_free(p); }
  void operator()(BIO* p) const { BIO_free(p); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, Freer>;
using CertPtr = std::unique_ptr<X509, Freer>;
using BioPtr = std::unique_ptr<BIO, Freer>;

bool AddExtension(X509* cert, X509* issuer, int nid, const char* value) {
  X509V3_CTX ctx;
  X509V3_set_ctx_nodb(&ctx);
  X509V3_set_ctx(&ctx, issuer, cert, nullptr, nullptr, 0);
  X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
  if (!ext) return false;
  const bool ok = X509_add_ext(cert, ext, -1) == 1;
  X509_EXTENSION_free(ext);
  return ok;
}

CertPtr NewCertificate(EVP_PKEY* key, const char* commonName) {
  CertPtr cert(X509_new());
  if (!cert) return nullptr;
  X509_set_version(cert.get(), 2);
  unsigned char serial[16];
  RAND_bytes(serial, sizeof serial);
  serial[0] &= 0x7f;
  BIGNUM* bn = BN_bin2bn(serial, sizeof serial, nullptr);
  BN_to_ASN1_INTEGER(bn, X509_get_serialNumber(cert.get()));
  BN_free(bn);
  X509_gmtime_adj(X509_getm_notBefore(cert.get()), -24 * 3600);
  X509_gmtime_adj(X509_getm_notAfter(cert.get()), 5L * 365 * 24 * 3600);
  X509_set_pubkey(cert.get(), key);
  X509_NAME* name = X509_get_subject_name(cert.get());
  X509_NAME_add_entry_by_txt(name, "O", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("quillory-cloud"), -1, -1, 0);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName), -1, -1, 0);
  return cert;
}

std::string ToPem(X509* cert) {
  BioPtr bio(BIO_new(BIO_s_mem()));
  PEM_write_bio_X509(bio.get(), cert);
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

std::string ToPem(EVP_PKEY* key) {
  BioPtr bio(BIO_new(BIO_s_mem()));
  PEM_write_bio_PrivateKey(bio.get(), key, nullptr, nullptr, 0, nullptr, nullptr);
  char* data = nullptr;
  const long size = BIO_get_mem_data(bio.get(), &data);
  return std::string(data, static_cast<std::size_t>(size));
}

}  // namespace

std::optional<CertificateSet> MakeCertificates() {
  // P-256 keys: generated in microseconds, understood by every TLS client.
  KeyPtr caKey(EVP_EC_gen("P-256"));
  KeyPtr serverKey(EVP_EC_gen("P-256"));
  if (!caKey || !serverKey) return std::nullopt;

  CertPtr ca = NewCertificate(caKey.get(), "quillory-cloud test CA");
  if (!ca) return std::nullopt;
  X509_set_issuer_name(ca.get(), X509_get_subject_name(ca.get()));
  bool ok = AddExtension(ca.get(), ca.get(), NID_basic_constraints, "critical,CA:TRUE") &&
            AddExtension(ca.get(), ca.get(), NID_key_usage, "critical,keyCertSign,cRLSign") &&
            AddExtension(ca.get(), ca.get(), NID_subject_key_identifier, "hash");
  if (!ok || X509_sign(ca.get(), caKey.get(), EVP_sha256()) == 0) return std::nullopt;

  CertPtr server = NewCertificate(serverKey.get(), "api.quillory.example");
  if (!server) return std::nullopt;
  X509_set_issuer_name(server.get(), X509_get_subject_name(ca.get()));
  ok = AddExtension(server.get(), ca.get(), NID_basic_constraints, "critical,CA:FALSE") &&
       AddExtension(server.get(), ca.get(), NID_key_usage, "critical,digitalSignature") &&
       AddExtension(server.get(), ca.get(), NID_ext_key_usage, "serverAuth") &&
       AddExtension(server.get(), ca.get(), NID_subject_key_identifier, "hash") &&
       AddExtension(server.get(), ca.get(), NID_authority_key_identifier, "keyid:always") &&
       AddExtension(server.get(), ca.get(), NID_subject_alt_name,
                    "DNS:api.quillory.example,DNS:*.quillory.example");
  if (!ok || X509_sign(server.get(), caKey.get(), EVP_sha256()) == 0) return std::nullopt;

  return CertificateSet{ToPem(ca.get()), ToPem(server.get()), ToPem(serverKey.get())};
}

}  // namespace QuilloryCloud

// The cryptography of zupublish, through OpenSSL's libcrypto: P-256 key pairs in PEM files,
// ECDSA signatures over SHA-256 in DER, SHA-256 of installers, the signer of an installer's
// Authenticode signature, and the verifier the launcher's own check of a signed version file
// takes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "versionfile/version_file_trust.h"

struct evp_pkey_st;
struct PrivateKeyFree {
  void operator()(evp_pkey_st* key) const;
};
using PrivateKey = std::unique_ptr<evp_pkey_st, PrivateKeyFree>;

// A new P-256 key pair as a PKCS#8 PEM text, and its public half as the base64 DER
// SubjectPublicKeyInfo the launcher INI takes.
bool GenerateP256Key(std::string& pem, std::string& publicKeyBase64, std::string& error);

// A P-256 private key from a PEM file's text (PKCS#8 or "EC PRIVATE KEY").
bool LoadP256PrivateKey(const std::string& pem, PrivateKey& key, std::string& error);
bool PublicKeyBase64Of(const PrivateKey& key, std::string& publicKeyBase64);

// DER ECDSA signature over the SHA-256 of `bytes`.
bool SignSha256(const PrivateKey& key, std::string_view bytes, std::string& der);

// SHA-256 and size of a file, read in pieces.
bool HashFile(const std::string& path, Sha256Digest& digest, uint64_t& size, std::string& error);

// The DER bytes of the certificate that made the PKCS#7 SignedData `pkcs7`: the one among the
// certificates it carries that its signer names by issuer and serial number, wherever it
// stands in that set. False with the reason when there is none or the data is not SignedData.
bool SignerCertificateOf(std::string_view pkcs7, std::string& certificateDer, std::string& error);

class OpenSslVerifier : public SignatureVerifier {
 public:
  bool HashSha256(std::string_view bytes, Sha256Digest& digest) override;
  bool Verify(const EcP256Point& key, const Sha256Digest& digest,
              const EcdsaP256Signature& signature) override;
};

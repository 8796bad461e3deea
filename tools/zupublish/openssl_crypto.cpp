#include "tools/zupublish/openssl_crypto.h"

#include <openssl/bio.h>
#include <openssl/ec.h>
#include <openssl/ecdsa.h>
#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs7.h>
#include <openssl/x509.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "common/base64.h"

void PrivateKeyFree::operator()(evp_pkey_st* key) const {
  EVP_PKEY_free(key);
}

namespace {

template <typename T, void (*Free)(T*)>
struct Freer {
  void operator()(T* pointer) const { Free(pointer); }
};
using Bio = std::unique_ptr<BIO, Freer<BIO, BIO_free_all>>;
using DigestContext = std::unique_ptr<EVP_MD_CTX, Freer<EVP_MD_CTX, EVP_MD_CTX_free>>;
using KeyContext = std::unique_ptr<EVP_PKEY_CTX, Freer<EVP_PKEY_CTX, EVP_PKEY_CTX_free>>;
using Signature = std::unique_ptr<ECDSA_SIG, Freer<ECDSA_SIG, ECDSA_SIG_free>>;
using Pkcs7 = std::unique_ptr<PKCS7, Freer<PKCS7, PKCS7_free>>;
void FreeCertificateList(STACK_OF(X509) * list) {
  sk_X509_free(list);  // the list only: its certificates belong to the PKCS#7 structure
}
using CertificateList = std::unique_ptr<STACK_OF(X509), Freer<STACK_OF(X509), FreeCertificateList>>;

std::string OpenSslError() {
  const unsigned long code = ERR_get_error();
  char text[256] = "unknown error";
  if (code) ERR_error_string_n(code, text, sizeof text);
  ERR_clear_error();
  return text;
}

bool IsP256(EVP_PKEY* key) {
  char group[64] = {};
  size_t length = 0;
  return EVP_PKEY_is_a(key, "EC") &&
         EVP_PKEY_get_group_name(key, group, sizeof group, &length) == 1 &&
         std::strcmp(group, "prime256v1") == 0;
}

// The SubjectPublicKeyInfo of an uncompressed P-256 point: a fixed header, then 04 X Y.
const unsigned char kP256InfoHeader[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2A, 0x86, 0x48,
                                         0xCE, 0x3D, 0x02, 0x01, 0x06, 0x08, 0x2A, 0x86, 0x48,
                                         0xCE, 0x3D, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00, 0x04};

}  // namespace

bool GenerateP256Key(std::string& pem, std::string& publicKeyBase64, std::string& error) {
  PrivateKey key(EVP_PKEY_Q_keygen(nullptr, nullptr, "EC", "P-256"));
  Bio memory(BIO_new(BIO_s_mem()));
  if (!key || !memory ||
      !PEM_write_bio_PrivateKey(memory.get(), key.get(), nullptr, nullptr, 0, nullptr, nullptr) ||
      !PublicKeyBase64Of(key, publicKeyBase64)) {
    error = "cannot generate a P-256 key: " + OpenSslError();
    return false;
  }
  char* data = nullptr;
  const long length = BIO_get_mem_data(memory.get(), &data);
  pem.assign(data, static_cast<size_t>(length));
  return true;
}

bool LoadP256PrivateKey(const std::string& pem, PrivateKey& key, std::string& error) {
  Bio memory(BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size())));
  PrivateKey loaded(memory ? PEM_read_bio_PrivateKey(memory.get(), nullptr, nullptr, nullptr)
                           : nullptr);
  if (!loaded) {
    error = "not a PEM private key (" + OpenSslError() + ")";
    return false;
  }
  if (!IsP256(loaded.get())) {
    error = "not a P-256 (prime256v1) EC key";
    return false;
  }
  key = std::move(loaded);
  return true;
}

bool PublicKeyBase64Of(const PrivateKey& key, std::string& publicKeyBase64) {
  unsigned char* der = nullptr;
  const int length = i2d_PUBKEY(key.get(), &der);
  if (length <= 0) return false;
  publicKeyBase64 = EncodeBase64(std::string_view(reinterpret_cast<char*>(der), length));
  OPENSSL_free(der);
  return true;
}

bool SignSha256(const PrivateKey& key, std::string_view bytes, std::string& der) {
  DigestContext context(EVP_MD_CTX_new());
  size_t length = 0;
  if (!context ||
      EVP_DigestSignInit(context.get(), nullptr, EVP_sha256(), nullptr, key.get()) != 1 ||
      EVP_DigestSign(context.get(), nullptr, &length,
                     reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1)
    return false;
  std::vector<unsigned char> signature(length);
  if (EVP_DigestSign(context.get(), signature.data(), &length,
                     reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) != 1)
    return false;
  der.assign(reinterpret_cast<char*>(signature.data()), length);
  return true;
}

bool HashFile(const std::string& path, Sha256Digest& digest, uint64_t& size, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  DigestContext context(EVP_MD_CTX_new());
  if (!file) {
    error = path + ": cannot open";
    return false;
  }
  if (!context || EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) != 1) {
    error = "SHA-256: " + OpenSslError();
    return false;
  }
  std::vector<char> buffer(1 << 20);
  uint64_t total = 0;
  while (file) {
    file.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    const auto count = static_cast<size_t>(file.gcount());
    total += count;
    if (count && EVP_DigestUpdate(context.get(), buffer.data(), count) != 1) return false;
  }
  if (file.bad()) {
    error = path + ": cannot read";
    return false;
  }
  unsigned int length = 0;
  if (EVP_DigestFinal_ex(context.get(), digest.data(), &length) != 1) return false;
  size = total;
  return true;
}

bool SignerCertificateOf(std::string_view pkcs7, std::string& certificateDer, std::string& error) {
  const auto* cursor = reinterpret_cast<const unsigned char*>(pkcs7.data());
  Pkcs7 signedData(d2i_PKCS7(nullptr, &cursor, static_cast<long>(pkcs7.size())));
  if (!signedData || !PKCS7_type_is_signed(signedData.get())) {
    error = "the signature is not PKCS#7 SignedData (" + OpenSslError() + ")";
    return false;
  }
  // Authenticode has exactly one signer; a nested signature sits in its unsigned attributes.
  CertificateList signers(PKCS7_get0_signers(signedData.get(), nullptr, 0));
  if (!signers || sk_X509_num(signers.get()) < 1) {
    error = "the signature carries no certificate of its signer (" + OpenSslError() + ")";
    return false;
  }
  unsigned char* der = nullptr;
  const int length = i2d_X509(sk_X509_value(signers.get(), 0), &der);
  if (length <= 0) {
    error = "cannot encode the signer's certificate";
    return false;
  }
  certificateDer.assign(reinterpret_cast<char*>(der), static_cast<size_t>(length));
  OPENSSL_free(der);
  return true;
}

bool OpenSslVerifier::HashSha256(std::string_view bytes, Sha256Digest& digest) {
  unsigned int length = 0;
  return EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr) == 1;
}

bool OpenSslVerifier::Verify(const EcP256Point& key, const Sha256Digest& digest,
                             const EcdsaP256Signature& signature) {
  std::string info(reinterpret_cast<const char*>(kP256InfoHeader), sizeof kP256InfoHeader);
  info.append(reinterpret_cast<const char*>(key.data()), key.size());
  const auto* cursor = reinterpret_cast<const unsigned char*>(info.data());
  PrivateKey publicKey(d2i_PUBKEY(nullptr, &cursor, static_cast<long>(info.size())));
  Signature pair(ECDSA_SIG_new());
  if (!publicKey || !pair) return false;
  BIGNUM* r = BN_bin2bn(signature.data(), 32, nullptr);
  BIGNUM* s = BN_bin2bn(signature.data() + 32, 32, nullptr);
  if (!r || !s || ECDSA_SIG_set0(pair.get(), r, s) != 1) {
    BN_free(r);
    BN_free(s);
    return false;
  }
  unsigned char* der = nullptr;
  const int derLength = i2d_ECDSA_SIG(pair.get(), &der);
  KeyContext context(EVP_PKEY_CTX_new(publicKey.get(), nullptr));
  const bool verified = derLength > 0 && context && EVP_PKEY_verify_init(context.get()) == 1 &&
                        EVP_PKEY_verify(context.get(), der, static_cast<size_t>(derLength),
                                        digest.data(), digest.size()) == 1;
  OPENSSL_free(der);
  ERR_clear_error();
  return verified;
}

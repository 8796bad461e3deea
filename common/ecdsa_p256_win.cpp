#include "common/ecdsa_p256_win.h"

#include <windows.h>
// After windows.h, which defines the types it uses.
#include <bcrypt.h>

#include <cstring>

#include "common/unique_handle_win.h"

bool VerifyEcdsaP256(const EcP256Point& key, const Sha256Digest& digest,
                     const EcdsaP256Signature& signature) {
  BCRYPT_ALG_HANDLE opened = nullptr;
  if (::BCryptOpenAlgorithmProvider(&opened, BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0) != 0)
    return false;
  UniqueBCryptAlgorithm algorithm(opened);

  // BCRYPT_ECCPUBLIC_BLOB: the header, then X and Y.
  unsigned char blob[sizeof(BCRYPT_ECCKEY_BLOB) + 64];
  BCRYPT_ECCKEY_BLOB header = {BCRYPT_ECDSA_PUBLIC_P256_MAGIC, 32};
  std::memcpy(blob, &header, sizeof header);
  std::memcpy(blob + sizeof header, key.data(), key.size());
  BCRYPT_KEY_HANDLE imported = nullptr;
  if (::BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, &imported, blob,
                            sizeof blob, 0) != 0)
    return false;
  UniqueBCryptKey publicKey(imported);

  return ::BCryptVerifySignature(publicKey.get(), nullptr, const_cast<PUCHAR>(digest.data()),
                                 static_cast<ULONG>(digest.size()),
                                 const_cast<PUCHAR>(signature.data()),
                                 static_cast<ULONG>(signature.size()), 0) == 0;
}

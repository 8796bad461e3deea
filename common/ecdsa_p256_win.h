// ECDSA P-256 verification through the system's cryptography provider (BCrypt): a public
// key's point, a SHA-256 digest and a signature in r||s form. Any thread.
#pragma once

#include "common/ecdsa_p256_encoding.h"
#include "common/hex_digest.h"

// True only when the provider verified the signature over the digest with the key. A point
// the provider refuses as a key (not on the curve) gives false like a wrong signature.
bool VerifyEcdsaP256(const EcP256Point& key, const Sha256Digest& digest,
                     const EcdsaP256Signature& signature);

// Whether a downloaded version file may replace the local copy when the launcher INI names
// vendor keys: signed by one of them, ISSUED present and not below the local copy's, and a
// ZULAUNCHER_VERSION in what was signed. The same decision serves the launcher (BCrypt) and
// the vendor's tool (OpenSSL); each brings its own hash and signature check. Portable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/ecdsa_p256_encoding.h"
#include "common/hex_digest.h"

enum class VersionFileVerdict {
  Accepted,
  MalformedPublicKey,  // the key list itself is unusable: every refresh fails
  NoSignature,         // no [SIGNATURE] section in form, or something after it
  MalformedSignature,  // the signature value is not base64 of a DER ECDSA P-256 signature
  // No listed key verifies it. ECDSA cannot tell a changed file or signature from a
  // signature by a key that is not listed: the three look the same.
  NotSignedByListedKey,
  NoIssued,       // ISSUED missing or not a decimal number
  OlderIssued,    // ISSUED below the local copy's
  NoDataVersion,  // the signed part has no ZULAUNCHER_VERSION
  Count
};

// The cryptography a caller brings.
class SignatureVerifier {
 public:
  virtual ~SignatureVerifier() = default;
  virtual bool HashSha256(std::string_view bytes, Sha256Digest& digest) = 0;
  virtual bool Verify(const EcP256Point& key, const Sha256Digest& digest,
                      const EcdsaP256Signature& signature) = 0;
};

struct VersionFileCheck {
  VersionFileVerdict verdict = VersionFileVerdict::NoSignature;
  size_t keyIndex = 0;  // which listed key signed it (0-based), when accepted
  size_t keyCount = 0;
  uint64_t issued = 0;       // the download's ISSUED, when it has one
  uint64_t localIssued = 0;  // the local copy's ISSUED, when it has one
  bool hasLocalIssued = false;
};

// `localCopy` is the file the download would replace (empty when there is none); a local
// copy without a readable ISSUED sets no lower bound.
VersionFileCheck CheckSignedVersionFile(std::string_view download, const std::string& publicKeys,
                                        std::string_view localCopy, SignatureVerifier& verifier);

// The reason as the log and the vendor's tool state it, e.g. "no signature".
std::string DescribeVersionFileCheck(const VersionFileCheck& check);

// Whether a version file may be used when the launcher INI names vendor keys: signed by one of
// them, ISSUED present and not below the local copy's nor the highest ever accepted for its
// address, not past a signed EXPIRES, and a ZULAUNCHER_VERSION in what was signed. The same
// decision judges a download before it replaces the local copy and the local copy at every
// use, in the launcher (BCrypt) and in the vendor's tool (OpenSSL); each brings its own hash
// and signature check. Portable.
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
  NoIssued,         // ISSUED missing or not a decimal number
  OlderIssued,      // ISSUED below the local copy's
  NoDataVersion,    // the signed part has no ZULAUNCHER_VERSION
  BelowFloor,       // ISSUED below the highest accepted before for this address
  NoExpires,        // EXPIRES present but not a decimal number
  Expired,          // the time now is past EXPIRES
  OtherFeed,        // FEED_ID of the signed part missing or not the one the launcher INI names
  MalformedFeedId,  // the launcher INI's FEED_ID is empty: no file can match it
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

// What bounds a file beyond its signature. The floor is kept outside the local copy, so it
// holds when the copy is missing, unreadable or locked; EXPIRES is read against `now`. A
// launcher INI that names FEED_ID takes only files signed for that feed: one key may sign
// several version files (staging, another product), and none may stand in for another.
struct VersionFileBounds {
  bool hasFloor = false;
  uint64_t floor = 0;      // the highest ISSUED accepted before
  int64_t now = 0;         // seconds since 1970
  bool hasFeedId = false;  // the launcher INI names FEED_ID (even an empty one)
  std::string feedId;
};

struct VersionFileCheck {
  VersionFileVerdict verdict = VersionFileVerdict::NoSignature;
  size_t keyIndex = 0;  // which listed key signed it (0-based), when accepted
  size_t keyCount = 0;
  uint64_t issued = 0;       // the download's ISSUED, when it has one
  uint64_t localIssued = 0;  // the local copy's ISSUED, when it has one
  bool hasLocalIssued = false;
  uint64_t floor = 0;  // the floor it was held to, when there is one
  uint64_t expires = 0;
  bool hasExpires = false;  // EXPIRES in the signed part
  std::string feedId;       // FEED_ID of the signed part, when the launcher INI names one
  bool hasFeedId = false;
  std::string expectedFeedId;
};

// `localCopy` is the file the download would replace (empty when there is none); its ISSUED
// bounds the download only when one of the keys signed it (for the same feed): an unsigned or
// edited copy, or one without ISSUED, sets no lower bound. A file is usable up to and including
// the second of its EXPIRES; without EXPIRES it does not expire.
VersionFileCheck CheckSignedVersionFile(std::string_view download, const std::string& publicKeys,
                                        std::string_view localCopy, const VersionFileBounds& bounds,
                                        SignatureVerifier& verifier);

// The local copy at the moment of use: the same decision, held to the floor and to EXPIRES.
VersionFileCheck CheckLocalVersionFile(std::string_view copy, const std::string& publicKeys,
                                       const VersionFileBounds& bounds,
                                       SignatureVerifier& verifier);

// GENERAL/EXPIRES of the signed part: absent (true, `present` false), a decimal number like
// ISSUED (true), or malformed (false).
bool ReadExpires(std::string_view signedBytes, uint64_t& expires, bool& present);

// GENERAL/FEED_ID of the signed part: true with its value when present.
bool ReadFeedId(std::string_view signedBytes, std::string& feedId);

// The reason as the log and the vendor's tool state it, e.g. "no signature".
std::string DescribeVersionFileCheck(const VersionFileCheck& check);

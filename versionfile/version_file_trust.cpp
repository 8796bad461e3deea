#include "versionfile/version_file_trust.h"

#include <vector>

#include "common/base64.h"
#include "ini/ini_document.h"
#include "versionfile/signed_version_file.h"

namespace {

const char* const kVerdictTexts[] = {
    "signed by key ",
    "malformed PUBLIC_KEY in the launcher INI",
    "no signature",
    "bad signature: not a base64 DER ECDSA P-256 signature",
    "bad signature or unknown key: no key of PUBLIC_KEY verifies it",
    "no ISSUED in GENERAL (or not a decimal number)",
    "older ISSUED than the local copy's: ",
    "no ZULAUNCHER_VERSION in the signed part",
    "ISSUED below the highest accepted for this address: ",
    "EXPIRES in GENERAL is not a decimal number",
    "expired: EXPIRES ",
    "feed FEED_ID ",
    "malformed FEED_ID in the launcher INI",
};
static_assert(sizeof kVerdictTexts / sizeof kVerdictTexts[0] ==
                  static_cast<size_t>(VersionFileVerdict::Count),
              "one text per verdict");

bool HasDataVersion(std::string_view signedBytes) {
  IniDocument document;
  document.LoadBuffer(signedBytes.data(), signedBytes.size());
  return !document.GetValue("GENERAL", "ZULAUNCHER_VERSION", "").empty();
}

// Accepted, with the signed part and the index of the key that signed it, when one of `keys`
// signed `file`; otherwise why not.
VersionFileVerdict VerifySignature(std::string_view file, const std::vector<EcP256Point>& keys,
                                   SignatureVerifier& verifier, std::string_view& signedBytes,
                                   size_t& keyIndex) {
  std::string signatureText;
  if (!SplitSignedVersionFile(file, signedBytes, signatureText))
    return VersionFileVerdict::NoSignature;
  std::string der;
  EcdsaP256Signature signature;
  if (!DecodeBase64(signatureText, der) || !ParseEcdsaP256Signature(der, signature))
    return VersionFileVerdict::MalformedSignature;
  Sha256Digest digest;
  if (!verifier.HashSha256(signedBytes, digest)) return VersionFileVerdict::NotSignedByListedKey;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (verifier.Verify(keys[i], digest, signature)) {
      keyIndex = i;
      return VersionFileVerdict::Accepted;
    }
  }
  return VersionFileVerdict::NotSignedByListedKey;
}

// Whether the signed part is for the feed the launcher INI names (any feed when it names none).
bool IsForFeed(std::string_view signedBytes, const VersionFileBounds& bounds) {
  if (!bounds.hasFeedId) return true;
  std::string feedId;
  return ReadFeedId(signedBytes, feedId) && feedId == bounds.feedId;
}

// The ISSUED of the local copy bounds a download only when one of the keys signed the copy
// for this feed: anyone who can write the copy could otherwise claim the highest ISSUED there
// is and hold off every genuine file. Any other copy sets no bound; the recorded floor holds.
bool ReadVerifiedIssued(std::string_view copy, const std::vector<EcP256Point>& keys,
                        const VersionFileBounds& bounds, SignatureVerifier& verifier,
                        uint64_t& issued) {
  std::string_view signedBytes;
  size_t keyIndex = 0;
  return !copy.empty() &&
         VerifySignature(copy, keys, verifier, signedBytes, keyIndex) ==
             VersionFileVerdict::Accepted &&
         IsForFeed(signedBytes, bounds) && ReadIssued(signedBytes, issued);
}

}  // namespace

bool ReadFeedId(std::string_view signedBytes, std::string& feedId) {
  IniDocument document;
  document.LoadBuffer(signedBytes.data(), signedBytes.size());
  // A value never holds a line feed, so this default cannot be mistaken for one.
  feedId = document.GetValue("GENERAL", "FEED_ID", "\n");
  if (feedId != "\n") return true;
  feedId.clear();
  return false;
}

bool ReadExpires(std::string_view signedBytes, uint64_t& expires, bool& present) {
  IniDocument document;
  document.LoadBuffer(signedBytes.data(), signedBytes.size());
  // A value never holds a line feed, so this default cannot be mistaken for one.
  present = document.GetValue("GENERAL", "EXPIRES", "\n") != "\n";
  if (!present) return true;
  // The same form as ISSUED: one to twenty digits that fit 64 bits.
  const std::string text = "[GENERAL]\nISSUED=" + document.GetValue("GENERAL", "EXPIRES", "");
  return ReadIssued(text, expires);
}

VersionFileCheck CheckLocalVersionFile(std::string_view copy, const std::string& publicKeys,
                                       const VersionFileBounds& bounds,
                                       SignatureVerifier& verifier) {
  // The copy is its own local copy: only the floor and EXPIRES bound it.
  return CheckSignedVersionFile(copy, publicKeys, std::string_view(), bounds, verifier);
}

VersionFileCheck CheckSignedVersionFile(std::string_view download, const std::string& publicKeys,
                                        std::string_view localCopy, const VersionFileBounds& bounds,
                                        SignatureVerifier& verifier) {
  VersionFileCheck check;
  std::vector<EcP256Point> keys;
  if (!ParsePublicKeyList(publicKeys, keys)) {
    check.verdict = VersionFileVerdict::MalformedPublicKey;
    return check;
  }
  check.keyCount = keys.size();
  if (bounds.hasFeedId && bounds.feedId.empty()) {
    check.verdict = VersionFileVerdict::MalformedFeedId;
    return check;
  }

  std::string_view signedBytes;
  check.verdict = VerifySignature(download, keys, verifier, signedBytes, check.keyIndex);
  if (check.verdict != VersionFileVerdict::Accepted) return check;
  // Before anything is compared with the floor: a file of another feed says nothing of this
  // feed's releases.
  if (bounds.hasFeedId) {
    check.expectedFeedId = bounds.feedId;
    check.hasFeedId = ReadFeedId(signedBytes, check.feedId);
    if (!IsForFeed(signedBytes, bounds)) {
      check.verdict = VersionFileVerdict::OtherFeed;
      return check;
    }
  }

  // Only what was signed counts, so ISSUED is read from the signed part alone.
  if (!ReadIssued(signedBytes, check.issued)) {
    check.verdict = VersionFileVerdict::NoIssued;
    return check;
  }
  check.hasLocalIssued = ReadVerifiedIssued(localCopy, keys, bounds, verifier, check.localIssued);
  if (check.hasLocalIssued && check.issued < check.localIssued) {
    check.verdict = VersionFileVerdict::OlderIssued;
    return check;
  }
  check.floor = bounds.floor;
  if (bounds.hasFloor && check.issued < bounds.floor) {
    check.verdict = VersionFileVerdict::BelowFloor;
    return check;
  }
  if (!ReadExpires(signedBytes, check.expires, check.hasExpires)) {
    check.verdict = VersionFileVerdict::NoExpires;
    return check;
  }
  // A clock before 1970 is taken as 1970: it can only make a file look newer than it is.
  const uint64_t now = bounds.now < 0 ? 0 : static_cast<uint64_t>(bounds.now);
  if (check.hasExpires && now > check.expires) {
    check.verdict = VersionFileVerdict::Expired;
    return check;
  }
  check.verdict = HasDataVersion(signedBytes) ? VersionFileVerdict::Accepted
                                              : VersionFileVerdict::NoDataVersion;
  return check;
}

std::string DescribeVersionFileCheck(const VersionFileCheck& check) {
  std::string text = kVerdictTexts[static_cast<size_t>(check.verdict)];
  if (check.verdict == VersionFileVerdict::Accepted) {
    text += std::to_string(check.keyIndex + 1) + " of " + std::to_string(check.keyCount) +
            ", ISSUED " + std::to_string(check.issued);
  } else if (check.verdict == VersionFileVerdict::OlderIssued) {
    text += std::to_string(check.issued) + " < " + std::to_string(check.localIssued);
  } else if (check.verdict == VersionFileVerdict::BelowFloor) {
    text += std::to_string(check.issued) + " < " + std::to_string(check.floor);
  } else if (check.verdict == VersionFileVerdict::Expired) {
    text += std::to_string(check.expires);
  } else if (check.verdict == VersionFileVerdict::OtherFeed) {
    text += (check.hasFeedId ? check.feedId : std::string("missing")) + ", expected " +
            check.expectedFeedId;
  }
  return text;
}

// zupublish: the vendor's side of signed version files.
//   zupublish keygen KEY.pem                        new P-256 key; prints the PUBLIC_KEY= line
//   zupublish stamp VERSION.ini PROGRAMID INSTALLER  writes DOWN_SIZE and DOWN_SHA256
//   zupublish sign VERSION.ini KEY.pem [--valid-days N] [--feed-id NAME]
//                                                    sets ISSUED, EXPIRES (FEED_ID), (re)signs
//   zupublish verify VERSION.ini PUBLIC_KEY [LOCAL]  checks as the launcher would, now
//   zupublish signer INSTALLER                       prints the INSTALLER_SIGNER= line
//   zupublish rollout VERSION.ini SECTION SHARE      sets ROLLOUT (0 to 100) in one step
//   zupublish bucket INSTALLID PROGRAMID VERSION     an install's bucket for a version (5.2)
// Exit codes: 0 done, 1 refused or failed, 2 wrong usage.
#include <climits>
#include <cstdio>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "common/base64.h"
#include "common/hex_digest.h"
#include "ini/ini_text_edit.h"
#include "tools/zupublish/atomic_file.h"
#include "tools/zupublish/openssl_crypto.h"
#include "tools/zupublish/pe_signature.h"
#include "tools/zupublish/version_text.h"
#include "versionfile/rollout_share.h"
#include "versionfile/signed_version_file.h"
#include "versionfile/version_file_trust.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;
// How long a signed file stays usable unless the vendor says otherwise: long enough that a
// missed re-signing is noticed before launchers stop, short enough that a mirror cannot hold
// users on an old release for more than a season.
constexpr uint64_t kDefaultValidDays = 90;
constexpr uint64_t kMaxValidDays = 3650;

const char kUsageText[] =
    "usage:\n"
    "  zupublish keygen KEY.pem\n"
    "  zupublish stamp VERSION.ini PROGRAMID INSTALLER\n"
    "  zupublish sign VERSION.ini KEY.pem [--valid-days N]   (default 90; 0: no EXPIRES)\n"
    "                 [--feed-id NAME]   (FEED_ID in [GENERAL], as the launcher INI names it)\n"
    "  zupublish verify VERSION.ini PUBLIC_KEY [LOCAL_COPY.ini]\n"
    "  zupublish signer INSTALLER.exe\n"
    "  zupublish rollout VERSION.ini SECTION SHARE\n"
    "  zupublish bucket INSTALLID PROGRAMID VERSION[.MINORVERSION]\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "zupublish: %s\n", message.c_str());
  return kFailed;
}

bool ReadVersionText(const std::string& path, VersionText& version, std::string& error) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes, error)) return false;
  if (!DecodeVersionText(bytes, version)) {
    error = path + ": UTF-16LE text that is not well-formed";
    return false;
  }
  return true;
}

int Keygen(const std::string& keyPath) {
  std::string pem, publicKey, error;
  if (!GenerateP256Key(pem, publicKey, error) || !CreateNewPrivateFile(keyPath, pem, error))
    return Fail(error);
  std::fprintf(stderr, "zupublish: wrote %s; keep it secret. For ZuLauncher.ini [GENERAL]:\n",
               keyPath.c_str());
  std::printf("PUBLIC_KEY=%s\n", publicKey.c_str());
  return 0;
}

// Sets keys of one section of a version file, every other byte kept, in one atomic replace.
bool EditVersionFile(const std::string& versionPath, const std::string& section,
                     const std::vector<std::pair<std::string, std::string>>& values,
                     std::string& error) {
  VersionText version;
  if (!ReadVersionText(versionPath, version, error)) return false;
  std::string text = version.text;
  for (const auto& [key, value] : values) {
    if (!SetIniValue(text, section, key, value)) {
      error = versionPath + ": no section [" + section + "]";
      return false;
    }
  }
  if (!ReplaceFileAtomically(versionPath, EncodeVersionText(version, text, true), error))
    return false;
  size_t header = 0;
  if (FindSignatureHeader(text, header))
    std::fprintf(stderr, "zupublish: %s was signed; sign it again\n", versionPath.c_str());
  return true;
}

int Stamp(const std::string& versionPath, const std::string& programId,
          const std::string& installerPath) {
  Sha256Digest digest;
  uint64_t size = 0;
  std::string error;
  if (!HashFile(installerPath, digest, size, error) ||
      !EditVersionFile(
          versionPath, programId,
          {{"DOWN_SIZE", std::to_string(size)}, {"DOWN_SHA256", FormatSha256Hex(digest)}}, error))
    return Fail(error);
  std::printf("[%s] DOWN_SIZE=%llu DOWN_SHA256=%s\n", programId.c_str(),
              static_cast<unsigned long long>(size), FormatSha256Hex(digest).c_str());
  return 0;
}

// --valid-days: 0 to kMaxValidDays, decimal digits only.
bool ParseValidDays(const std::string& text, uint64_t& days) {
  if (text.empty() || text.size() > 4) return false;
  uint64_t value = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return false;
    value = value * 10 + static_cast<uint64_t>(digit - '0');
  }
  if (value > kMaxValidDays) return false;
  days = value;
  return true;
}

VersionFileBounds Now() {
  VersionFileBounds bounds;
  bounds.now = static_cast<int64_t>(std::time(nullptr));
  return bounds;
}

// A feed's name as the launcher INI's FEED_ID holds it: printable, without blanks at either
// end (the INI reader trims them), so that what is signed is what the launcher compares.
bool IsUsableFeedId(const std::string& name) {
  if (name.empty() || name.front() == ' ' || name.back() == ' ') return false;
  for (unsigned char c : name) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return true;
}

int Sign(const std::string& versionPath, const std::string& keyPath, uint64_t validDays,
         const std::string& feedId) {
  VersionText version;
  std::string pem, error;
  PrivateKey key;
  if (!ReadVersionText(versionPath, version, error) || !ReadWholeFile(keyPath, pem, error))
    return Fail(error);
  if (!LoadP256PrivateKey(pem, key, error)) return Fail(keyPath + ": " + error);

  // The old signature goes, but nothing a vendor wrote after it is dropped silently.
  std::string text = version.text;
  size_t header = 0;
  if (FindSignatureHeader(text, header)) {
    std::string_view signedPart;
    std::string oldSignature;
    if (!SplitSignedVersionFile(text, signedPart, oldSignature))
      return Fail(versionPath + ": something other than one signature line follows [SIGNATURE]");
    text.resize(header);
  }

  // ISSUED never goes back, even when this machine's clock is behind the last signer's.
  uint64_t issued = static_cast<uint64_t>(std::time(nullptr));
  uint64_t previous = 0;
  if (ReadIssued(text, previous) && previous > issued) issued = previous;
  if (!SetIniValue(text, "GENERAL", "ISSUED", std::to_string(issued)))
    return Fail(versionPath + ": no section [GENERAL]");
  // Counted from the signing, not from ISSUED, which may lie ahead of this clock.
  const uint64_t expires = static_cast<uint64_t>(std::time(nullptr)) + validDays * 24 * 60 * 60;
  uint64_t oldExpires = 0;
  bool hadExpires = false;
  ReadExpires(text, oldExpires, hadExpires);
  if (validDays == 0 && hadExpires)
    return Fail(versionPath + ": --valid-days 0 but the file has EXPIRES; remove that line first");
  if (validDays != 0 && !SetIniValue(text, "GENERAL", "EXPIRES", std::to_string(expires)))
    return Fail(versionPath + ": no section [GENERAL]");
  if (!feedId.empty() && !SetIniValue(text, "GENERAL", "FEED_ID", feedId))
    return Fail(versionPath + ": no section [GENERAL]");
  const std::string ending = LineEndingOf(text);
  if (!text.empty() && text.back() != '\n') text += ending;

  const std::string signedBytes = EncodeVersionText(version, text, true);
  std::string signature, publicKey;
  if (!SignSha256(key, signedBytes, signature) || !PublicKeyBase64Of(key, publicKey))
    return Fail("cannot sign with " + keyPath);
  const std::string file =
      signedBytes +
      EncodeVersionText(
          version, "[SIGNATURE]" + ending + "ECDSA_P256_SHA256=" + EncodeBase64(signature) + ending,
          false);

  // What is written must pass the launcher's own check (for its feed, when it names one).
  OpenSslVerifier verifier;
  VersionFileBounds bounds = Now();
  bounds.hasFeedId = ReadFeedId(signedBytes, bounds.feedId);
  const VersionFileCheck check = CheckSignedVersionFile(file, publicKey, "", bounds, verifier);
  if (check.verdict != VersionFileVerdict::Accepted)
    return Fail(versionPath + ": the launcher would refuse it: " + DescribeVersionFileCheck(check));
  if (!ReplaceFileAtomically(versionPath, file, error)) return Fail(error);
  std::printf("signed %s: ISSUED=%llu", versionPath.c_str(),
              static_cast<unsigned long long>(issued));
  if (bounds.hasFeedId) std::printf(" FEED_ID=%s", bounds.feedId.c_str());
  if (validDays != 0)
    std::printf(" EXPIRES=%llu (in %llu days)", static_cast<unsigned long long>(expires),
                static_cast<unsigned long long>(validDays));
  std::printf("\n");
  return 0;
}

int Verify(const std::string& versionPath, std::string publicKeys, const std::string& localPath) {
  // The line keygen prints works as it stands.
  if (publicKeys.rfind("PUBLIC_KEY=", 0) == 0) publicKeys.erase(0, 11);
  std::string file, local, error;
  if (!ReadWholeFile(versionPath, file, error)) return Fail(error);
  if (!localPath.empty() && !ReadWholeFile(localPath, local, error)) return Fail(error);
  OpenSslVerifier verifier;
  const VersionFileCheck check = CheckSignedVersionFile(file, publicKeys, local, Now(), verifier);
  const std::string reason = DescribeVersionFileCheck(check);
  if (check.verdict != VersionFileVerdict::Accepted)
    return Fail(versionPath + ": refused: " + reason);
  std::printf("%s: accepted: %s, %s\n", versionPath.c_str(), reason.c_str(),
              check.hasExpires ? ("EXPIRES " + std::to_string(check.expires)).c_str()
                               : "no EXPIRES (never expires)");
  return 0;
}

// The digest the launcher compares with INSTALLER_SIGNER: SHA-256 of the signer's certificate.
int Signer(const std::string& installerPath) {
  std::string file, certificate, error;
  std::string_view pkcs7;
  if (!ReadWholeFile(installerPath, file, error)) return Fail(error);
  // A Windows Installer package keeps its signature in a stream of its compound file, which
  // this tool does not read; the certificate itself gives the same digest.
  static constexpr char kCompoundFileMagic[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
  if (file.compare(0, 8, kCompoundFileMagic, 8) == 0)
    return Fail(installerPath +
                ": a Windows Installer package: zupublish reads the signatures of programs (.exe) "
                "only; take the digest from the signing certificate: openssl x509 -in "
                "vendor.crt -outform DER | sha256sum");
  if (!FindPeSignature(file, pkcs7, error) || !SignerCertificateOf(pkcs7, certificate, error))
    return Fail(installerPath + ": " + error);
  Sha256Digest digest{};
  OpenSslVerifier hasher;
  if (!hasher.HashSha256(certificate, digest)) return Fail("cannot hash the signer's certificate");
  std::printf("INSTALLER_SIGNER=%s\n", FormatSha256Hex(digest).c_str());
  return 0;
}

int Rollout(const std::string& versionPath, const std::string& section, const std::string& share) {
  // The launcher takes an empty value for "everyone"; the tool wants the number said.
  if (share.empty() || !ParseRolloutShare(share))
    return Fail("the share is a whole number 0 to 100, not '" + share + "'");
  std::string error;
  if (!EditVersionFile(versionPath, section, {{"ROLLOUT", share}}, error)) return Fail(error);
  std::printf("[%s] ROLLOUT=%s\n", section.c_str(), share.c_str());
  return 0;
}

// A whole number in decimal digits alone that fits the launcher's signed 32-bit versions.
bool ParseVersionNumber(const std::string& text, int& number) {
  if (text.empty()) return false;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > INT_MAX) return false;
  }
  number = static_cast<int>(value);
  return true;
}

int Bucket(const std::string& installId, const std::string& programId, const std::string& version) {
  if (!IsInstallIdShape(installId))
    return Fail("an InstallId is 32 lower-case hex digits, not '" + installId + "'");
  const size_t dot = version.find('.');
  int major = 0, minor = 0;
  if (!ParseVersionNumber(version.substr(0, dot), major) ||
      (dot != std::string::npos && !ParseVersionNumber(version.substr(dot + 1), minor)))
    return Fail("a version is VERSION or VERSION.MINORVERSION in whole numbers, not '" + version +
                "'");
  const int bucket = RolloutBucket(installId, programId, major, minor);
  std::printf("%d\n", bucket);
  std::fprintf(stderr,
               "zupublish: [%s] %d.%d is offered to this install when ROLLOUT is %d or more\n",
               programId.c_str(), major, minor, bucket + 1);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  if (command == "keygen" && argc == 3) return Keygen(argv[2]);
  if (command == "stamp" && argc == 5) return Stamp(argv[2], argv[3], argv[4]);
  if (command == "sign" && argc >= 4 && argc % 2 == 0) {
    uint64_t days = kDefaultValidDays;
    std::string feedId;
    bool daysGiven = false;
    for (int i = 4; i + 1 < argc; i += 2) {
      const std::string option = argv[i];
      if (option == "--valid-days" && !daysGiven) {
        daysGiven = true;
        if (!ParseValidDays(argv[i + 1], days)) {
          std::fprintf(stderr, "zupublish: --valid-days takes a number of days from 0 to %llu\n",
                       static_cast<unsigned long long>(kMaxValidDays));
          return kUsage;
        }
      } else if (option == "--feed-id" && feedId.empty()) {
        feedId = argv[i + 1];
        if (!IsUsableFeedId(feedId)) {
          std::fprintf(stderr,
                       "zupublish: --feed-id takes a printable name without blanks at its ends\n");
          return kUsage;
        }
      } else {
        std::fputs(kUsageText, stderr);
        return kUsage;
      }
    }
    return Sign(argv[2], argv[3], days, feedId);
  }
  if (command == "verify" && (argc == 4 || argc == 5))
    return Verify(argv[2], argv[3], argc == 5 ? argv[4] : "");
  if (command == "signer" && argc == 3) return Signer(argv[2]);
  if (command == "rollout" && argc == 5) return Rollout(argv[2], argv[3], argv[4]);
  if (command == "bucket" && argc == 5) return Bucket(argv[2], argv[3], argv[4]);
  std::fputs(kUsageText, stderr);
  return kUsage;
}

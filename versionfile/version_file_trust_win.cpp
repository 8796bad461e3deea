#include "versionfile/version_file_trust_win.h"

#include <windows.h>

#include <ctime>

#include "common/ecdsa_p256_win.h"
#include "common/sha256_win.h"
#include "common/unique_handle_win.h"
#include "env/log.h"
#include "ini/ini_document.h"
#include "versionfile/signed_version_file.h"
#include "versionfile/version_file_records_win.h"

namespace {

// The whole file, or false when it is missing, unreadable or larger than any version file the
// refresh accepts (kIniMaxFileBytes). Others may read it meanwhile, nobody may write it.
bool ReadWholeFile(const std::string& path, std::string& bytes) {
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size) ||
      size.QuadPart > static_cast<LONGLONG>(kIniMaxFileBytes))
    return false;
  std::string content(static_cast<size_t>(size.QuadPart), '\0');
  DWORD read = 0;
  if (!content.empty() &&
      (!::ReadFile(file.get(), &content[0], static_cast<DWORD>(content.size()), &read, nullptr) ||
       read != content.size()))
    return false;
  bytes = std::move(content);
  return true;
}

class BCryptVerifier : public SignatureVerifier {
 public:
  bool HashSha256(std::string_view bytes, Sha256Digest& digest) override {
    return HashBytesSha256(bytes, digest);
  }
  bool Verify(const EcP256Point& key, const Sha256Digest& digest,
              const EcdsaP256Signature& signature) override {
    return VerifyEcdsaP256(key, digest, signature);
  }
};

VersionFileBounds BoundsFor(const VersionFileOrigin& origin) {
  VersionFileBounds bounds;
  bounds.hasFloor = ReadHighestIssued(RecordsOf(origin), bounds.floor);
  bounds.now = static_cast<int64_t>(std::time(nullptr));
  bounds.hasFeedId = origin.hasFeedId;
  bounds.feedId = origin.feedId;
  return bounds;
}

}  // namespace

VersionFileOrigin OriginOf(const IniDocument& launcherIni, const std::string& url,
                           const std::string& localCopy) {
  VersionFileOrigin origin;
  origin.hasFeedId = FindFeedIdSetting(launcherIni, origin.feedId);
  origin.url = url;
  origin.localCopy = localCopy;
  return origin;
}

VersionFileRecords RecordsOf(const VersionFileOrigin& origin) {
  VersionFileRecords records;
  // An empty FEED_ID refuses every file, so nothing is ever recorded under it.
  if (origin.hasFeedId) records.feedId = origin.feedId;
  records.url = origin.url;
  records.localCopy = origin.localCopy;
  return records;
}

VersionFileCheck JudgeDownloadedVersionFile(const std::string& keys, std::string_view download,
                                            const VersionFileOrigin& origin) {
  std::string local;
  ReadWholeFile(origin.localCopy, local);  // no local copy: the recorded floor still holds
  BCryptVerifier verifier;
  return CheckSignedVersionFile(download, keys, local, BoundsFor(origin), verifier);
}

bool LoadVerifiedLocalCopy(const std::string& keys, const VersionFileOrigin& origin,
                           std::string& signedPart) {
  std::string copy;
  if (!ReadWholeFile(origin.localCopy, copy)) {
    LogLine("local version file not used: missing, unreadable or too large");
    return false;
  }
  BCryptVerifier verifier;
  const VersionFileCheck check = CheckLocalVersionFile(copy, keys, BoundsFor(origin), verifier);
  if (check.verdict != VersionFileVerdict::Accepted) {
    LogLine("local version file not used: %s", DescribeVersionFileCheck(check).c_str());
    return false;
  }
  std::string_view signedBytes;
  std::string signature;
  SplitSignedVersionFile(copy, signedBytes, signature);  // succeeded inside the check
  signedPart.assign(signedBytes.data(), signedBytes.size());
  return true;
}

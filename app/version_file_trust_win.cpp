#include "app/version_file_trust_win.h"

#include <windows.h>

#include "app/signed_version_file.h"
#include "app/version_file_trust.h"
#include "common/ecdsa_p256_win.h"
#include "common/sha256_win.h"
#include "common/unique_handle_win.h"
#include "env/log.h"
#include "ini/ini_document.h"

namespace {

// Far above any real version file; keeps a hostile download from costing all memory.
constexpr DWORD kMaxVersionFileBytes = 16u << 20;

// The whole file, or false when it is missing, unreadable or too large.
bool ReadWholeFile(const std::string& path, std::string& bytes) {
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return false;
  LARGE_INTEGER size;
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > kMaxVersionFileBytes) return false;
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

}  // namespace

bool AcceptDownloadedVersionFile(const IniDocument& launcherIni, const std::string& download,
                                 const std::string& localCopy) {
  std::string keys;
  if (!FindPublicKeySetting(launcherIni, keys)) return true;
  std::string downloaded, local;
  if (!ReadWholeFile(download, downloaded)) {
    LogLine("version file refused: the download cannot be read");
    return false;
  }
  ReadWholeFile(localCopy, local);  // no local copy: no lower bound for ISSUED
  BCryptVerifier verifier;
  const VersionFileCheck check = CheckSignedVersionFile(downloaded, keys, local, verifier);
  const std::string reason = DescribeVersionFileCheck(check);
  if (check.verdict != VersionFileVerdict::Accepted) {
    LogLine("version file refused: %s", reason.c_str());
    return false;
  }
  LogLine("version file accepted: %s", reason.c_str());
  return true;
}

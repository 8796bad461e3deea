#include "installer/installer_check_win.h"

#include "common/format.h"
#include "common/sha256_win.h"
#include "installer/installer_signature_win.h"

bool CheckInstallerFile(HANDLE file, const std::string& path,
                        const InstallerExpectation& expectation, std::string& failure) {
  LARGE_INTEGER start{};
  if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN)) {
    failure = Format("installer check failed: cannot read the file (error %lu)",
                     static_cast<unsigned long>(::GetLastError()));
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file, &size)) {
    failure = Format("installer check failed: cannot read the file's size (error %lu)",
                     static_cast<unsigned long>(::GetLastError()));
    return false;
  }
  failure = CheckInstallerSize(expectation, size.QuadPart);
  if (!failure.empty()) return false;
  if (!expectation.sha256.empty()) {
    Sha256Digest digest{};
    if (!HashFileSha256(file, digest)) {
      failure = Format("installer check failed: SHA-256: cannot read the file (error %lu)",
                       static_cast<unsigned long>(::GetLastError()));
      return false;
    }
    failure = CheckInstallerDigest(expectation, digest);
    if (!failure.empty()) return false;
  }
  if (expectation.signer) {
    InstallerSignature signature;
    VerifyInstallerSignature(file, path, signature);
    failure = CheckInstallerSigner(*expectation.signer, signature);
    if (!failure.empty()) return false;
  }
  return true;
}

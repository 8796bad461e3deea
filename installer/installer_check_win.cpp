#include "installer/installer_check_win.h"

#include <windows.h>

#include "common/format.h"
#include "common/sha256_win.h"
#include "installer/installer_signature_win.h"

bool OpenCheckedInstaller(const std::string& path, const InstallerExpectation& expectation,
                          UniqueFileHandle& held, std::string& failure) {
  held.reset();
  // Readers only: the installer's own start opens it for reading and executing, which this
  // share mode admits, while every open for writing or deleting fails with a sharing violation.
  UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    failure = Format("installer check failed: cannot open the file for reading alone (error %lu)",
                     static_cast<unsigned long>(::GetLastError()));
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) {
    failure = Format("installer check failed: cannot read the file's size (error %lu)",
                     static_cast<unsigned long>(::GetLastError()));
    return false;
  }
  failure = CheckInstallerSize(expectation, size.QuadPart);
  if (!failure.empty()) return false;
  if (!expectation.sha256.empty()) {
    Sha256Digest digest{};
    if (!HashFileSha256(file.get(), digest)) {
      failure = Format("installer check failed: SHA-256: cannot read the file (error %lu)",
                       static_cast<unsigned long>(::GetLastError()));
      return false;
    }
    failure = CheckInstallerDigest(expectation, digest);
    if (!failure.empty()) return false;
  }
  if (expectation.signer) {
    InstallerSignature signature;
    VerifyInstallerSignature(file.get(), path, signature);
    failure = CheckInstallerSigner(*expectation.signer, signature);
    if (!failure.empty()) return false;
  }
  held = std::move(file);
  return true;
}

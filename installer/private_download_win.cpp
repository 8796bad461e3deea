#include "installer/private_download_win.h"

#include <new>

#include "common/crypto_random_win.h"
#include "installer/private_folder_win.h"

namespace {

// A name taken meanwhile by someone else is tried again with new random bytes; more than a few
// collisions of 128 random bits mean the random source or the directory is broken.
constexpr int kFolderAttempts = 4;

// "ZuSetup-" and 32 hexadecimal digits from 128 bits of the system's cryptographic random
// generator; false when the generator fails.
bool RandomFolderName(std::string& name) {
  static const char kDigits[] = "0123456789abcdef";
  name = "ZuSetup-";
  for (int word = 0; word < 4; ++word) {
    unsigned number = 0;
    if (!CryptoRandomNumber(number)) return false;
    for (int shift = 28; shift >= 0; shift -= 4) name += kDigits[(number >> shift) & 0x0F];
  }
  return true;
}

// The read-only attribute refuses a deletion, and clearing it would let writers in again. So
// both go through one handle that shares nothing: nobody opens the file meanwhile. When that
// handle cannot be had (the system may hold the ended installer's image a moment longer), the
// attribute is cleared and the file deleted by name.
void DeleteReadOnlyFile(const std::string& path) {
  UniqueFileHandle file(::CreateFileA(path.c_str(), DELETE | FILE_WRITE_ATTRIBUTES, 0, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (file) {
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    if (::SetFileInformationByHandle(file.get(), FileBasicInfo, &basic, sizeof basic) &&
        ::SetFileInformationByHandle(file.get(), FileDispositionInfo, &disposition,
                                     sizeof disposition))
      return;  // gone when the handle closes
  }
  file.reset();
  ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(path.c_str());
}

}  // namespace

PrivateDownload::PrivateDownload(std::string folder, std::string path)
    : m_folder(std::move(folder)), m_path(std::move(path)) {}

std::shared_ptr<PrivateDownload> PrivateDownload::Create(const std::string& parentDir,
                                                         const std::string& fileName) {
  if (parentDir.empty()) return nullptr;
  PrivateFolderSecurity security;
  if (!security.Build()) return nullptr;
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    std::string name;
    if (!RandomFolderName(name)) return nullptr;
    const std::string folder = parentDir + name;
    // CreateDirectory fails on an existing folder: what we get is ours alone, and it takes
    // nothing of the temporary directory's permissions.
    if (!::CreateDirectoryA(folder.c_str(), security.Attributes())) {
      if (::GetLastError() == ERROR_ALREADY_EXISTS) continue;
      return nullptr;
    }
    std::shared_ptr<PrivateDownload> download(
        new (std::nothrow) PrivateDownload(folder, folder + "\\" + fileName));
    if (!download) {
      ::RemoveDirectoryA(folder.c_str());
      return nullptr;
    }
    // Held from here on, and checked to be the folder we made (not a junction put in its
    // place between its creation and now); the destructor removes the folder otherwise.
    download->m_folderHandle = HoldPrivateFolder(folder);
    if (!download->m_folderHandle) return nullptr;
    // New, and shared with readers only: nobody else opens it for writing while we hold it.
    download->m_held.reset(::CreateFileA(download->m_path.c_str(),
                                         GENERIC_READ | GENERIC_WRITE | WRITE_DAC, FILE_SHARE_READ,
                                         nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!download->m_held) return nullptr;
    if (!LiesIn(download->m_held.get(), download->m_folderHandle.get(), fileName)) return nullptr;
    HANDLE duplicate = INVALID_HANDLE_VALUE;
    if (!::DuplicateHandle(::GetCurrentProcess(), download->m_held.get(), ::GetCurrentProcess(),
                           &duplicate, 0, FALSE, DUPLICATE_SAME_ACCESS))
      return nullptr;
    download->file.reset(duplicate);
    return download;
  }
  return nullptr;
}

bool PrivateDownload::HoldForRun(unsigned long& error) {
  // A handle that writes must go before the installer can start, and a handle that shuts
  // writers out cannot be opened while one that writes is open. So: the file made read-only
  // for every later open; a reading handle that admits writers, taken through the open file
  // (no second lookup of the path); the writing handle closed; then the handle that shuts them
  // out again. In between, the file's DACL and attribute refuse every open for writing; and
  // should one have been made anyway (by someone whom neither binds), the last open fails and
  // nothing runs.
  if (!MakeReadOnly(m_held.get())) {
    error = ::GetLastError();
    m_held.reset();
    return false;
  }
  UniqueFileHandle bridge(
      ::ReOpenFile(m_held.get(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, 0));
  if (!bridge) {
    error = ::GetLastError();
    m_held.reset();
    return false;
  }
  m_held.reset();
  m_held.reset(::ReOpenFile(bridge.get(), GENERIC_READ, FILE_SHARE_READ, 0));
  if (!m_held) {
    error = ::GetLastError();
    return false;
  }
  return true;
}

PrivateDownload::~PrivateDownload() {
  file.reset();
  m_held.reset();
  DeleteReadOnlyFile(m_path);
  m_folderHandle.reset();
  ::RemoveDirectoryA(m_folder.c_str());
}

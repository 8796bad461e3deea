#include "installer/private_folder_win.h"

#include <aclapi.h>
#include <sddl.h>

#include <vector>

#include "common/text.h"

namespace {

// The token's user as an SDDL SID text, and whether the token is elevated.
bool ReadProcessUser(std::string& sid, bool& elevated) {
  HANDLE opened = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &opened)) return false;
  UniqueKernelHandle token(opened);
  DWORD size = 0;
  ::GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
  if (size == 0) return false;
  std::vector<unsigned char> buffer(size);
  if (!::GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return false;
  char* text = nullptr;
  if (!::ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text))
    return false;
  UniqueLocalMemory owned(text);
  sid = text;
  TOKEN_ELEVATION elevation{};
  elevated =
      ::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size) &&
      elevation.TokenIsElevated != 0;
  return true;
}

// The final path of an open file or folder, as the system resolves it (junctions followed).
bool FinalPath(HANDLE handle, std::string& path) {
  char buffer[MAX_PATH * 4];
  const DWORD length = ::GetFinalPathNameByHandleA(handle, buffer, sizeof buffer, 0);
  if (length == 0 || length >= sizeof buffer) return false;
  path.assign(buffer, length);
  return true;
}

}  // namespace

bool PrivateFolderSecurity::Build() {
  std::string user;
  bool elevated = false;
  if (!ReadProcessUser(user, elevated)) return false;
  // P: protected, nothing inherited from the parent; OICI: files and folders made in it
  // inherit the entries. NW: no process of lower integrity writes into it.
  std::string sddl = "D:P(A;OICI;FA;;;" + user + ")(A;OICI;FA;;;SY)";
  if (elevated) sddl += "S:(ML;OICI;NW;;;HI)";
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                              &descriptor, nullptr))
    return false;
  m_descriptor.reset(descriptor);
  m_attributes.nLength = sizeof m_attributes;
  m_attributes.lpSecurityDescriptor = descriptor;
  m_attributes.bInheritHandle = FALSE;
  return true;
}

bool MakeReadOnly(HANDLE file) {
  // 0x1201a9: FILE_GENERIC_READ | FILE_GENERIC_EXECUTE | FILE_WRITE_ATTRIBUTES. Changing
  // attributes is what lets the launcher clear the read-only attribute before it deletes the
  // file; it gives no way to write its bytes. BA: the administrators; S-1-3-4: OWNER RIGHTS.
  DWORD volumeFlags = 0;
  const bool keepsAcls = !::GetVolumeInformationByHandleW(file, nullptr, 0, nullptr, nullptr,
                                                          &volumeFlags, nullptr, 0) ||
                         (volumeFlags & FILE_PERSISTENT_ACLS);
  if (keepsAcls) {
    std::string user;
    bool elevated = false;
    if (!ReadProcessUser(user, elevated)) return false;
    const std::string sddl = "D:P(A;;0x1201a9;;;" + user + ")(A;;0x1201a9;;;SY)" +
                             "(A;;0x1201a9;;;BA)(A;;0x1201a9;;;S-1-3-4)";
    PSECURITY_DESCRIPTOR made = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1,
                                                                &made, nullptr))
      return false;
    UniqueLocalMemory descriptor(made);
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    if (!::GetSecurityDescriptorDacl(made, &present, &dacl, &defaulted)) return false;
    const DWORD set = ::SetSecurityInfo(
        file, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
        nullptr, nullptr, dacl, nullptr);
    if (set != ERROR_SUCCESS) {
      ::SetLastError(set);
      return false;
    }
  }
  FILE_BASIC_INFO basic{};  // times of zero stay as they are
  basic.FileAttributes = FILE_ATTRIBUTE_READONLY;
  return ::SetFileInformationByHandle(file, FileBasicInfo, &basic, sizeof basic) != FALSE;
}

UniqueFileHandle HoldPrivateFolder(const std::string& path) {
  // Without FILE_SHARE_DELETE: nobody renames or removes it while it is held. The reparse
  // point itself is opened, not what it points to, so a junction shows as one.
  UniqueFileHandle folder(::CreateFileA(
      path.c_str(), FILE_LIST_DIRECTORY | READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!folder) return folder;
  BY_HANDLE_FILE_INFORMATION information{};
  if (!::GetFileInformationByHandle(folder.get(), &information) ||
      !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
      (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
    return UniqueFileHandle();
  return folder;
}

bool LiesIn(HANDLE file, HANDLE folder, const std::string& fileName) {
  std::string filePath, folderPath;
  return FinalPath(file, filePath) && FinalPath(folder, folderPath) &&
         EqualsNoCase(filePath, folderPath + "\\" + fileName);
}

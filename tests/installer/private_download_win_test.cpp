// The installer's private folder as the system reports it: a protected DACL of two entries
// (this user and SYSTEM), none inherited from the temporary directory; the file in it,
// read-only to every open but the download's own handles; both gone when the download is let
// go.
#include "installer/private_download_win.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include <string>

#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "tests/support/private_download_folders_win.h"

namespace {

// The DACL of `path` as the system reports it, and whether it is protected; null when it cannot
// be read. `descriptor` owns the memory the DACL lies in.
PACL ReadDacl(const std::string& path, UniqueLocalMemory& descriptor, bool& isProtected) {
  PSECURITY_DESCRIPTOR read = nullptr;
  PACL dacl = nullptr;
  if (::GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                              nullptr, &dacl, nullptr, &read) != ERROR_SUCCESS)
    return nullptr;
  descriptor.reset(read);
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  isProtected =
      ::GetSecurityDescriptorControl(read, &control, &revision) && (control & SE_DACL_PROTECTED);
  return dacl;
}

// Whether the file system keeps the security descriptor a folder is made with: Windows does;
// Wine keeps one only when it is built to store them in extended attributes (Debian's Wine 8
// is not).
bool KeepsProtectedDacls() {
  const std::string probe = GetTempDir() + "ZuDaclProbe";
  ::RemoveDirectoryA(probe.c_str());
  PSECURITY_DESCRIPTOR made = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;SY)(A;;FA;;;WD)",
                                                              SDDL_REVISION_1, &made, nullptr))
    return false;
  UniqueLocalMemory ownedMade(made);
  SECURITY_ATTRIBUTES attributes{sizeof attributes, made, FALSE};
  if (!::CreateDirectoryA(probe.c_str(), &attributes)) return false;
  UniqueLocalMemory descriptor;
  bool isProtected = false;
  const bool kept = ReadDacl(probe, descriptor, isProtected) && isProtected;
  ::RemoveDirectoryA(probe.c_str());
  return kept;
}

std::string FolderOf(const std::string& path) {
  return path.substr(0, path.rfind('\\'));
}

TEST(PrivateDownload, TheFolderHasAProtectedDaclOfThisUserAndSystemOnly) {
  std::string folder, path;
  {
    const std::shared_ptr<PrivateDownload> download =
        PrivateDownload::Create(GetTempDir(), "ZuLauncherTempSetup.exe");
    ASSERT_TRUE(download);
    path = download->Path();
    folder = FolderOf(path);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str()));
    // The folder is held: it can be neither removed nor renamed meanwhile.
    EXPECT_FALSE(::MoveFileA(folder.c_str(), (folder + "-moved").c_str()));
    EXPECT_FALSE(::RemoveDirectoryA(folder.c_str()));
    if (!KeepsProtectedDacls())
      GTEST_SKIP() << "this file system keeps no security descriptors (Wine without extended "
                      "attributes): the DACL cannot be read back here";

    UniqueLocalMemory descriptor;
    bool isProtected = false;
    const PACL dacl = ReadDacl(folder, descriptor, isProtected);
    ASSERT_TRUE(dacl);
    EXPECT_TRUE(isProtected);
    EXPECT_EQ(2u, dacl->AceCount);
    char* sddl = nullptr;
    ASSERT_TRUE(::ConvertSecurityDescriptorToStringSecurityDescriptorA(
        descriptor.get(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &sddl, nullptr));
    UniqueLocalMemory ownedText(sddl);
    const std::string text = sddl;
    EXPECT_NE(std::string::npos, text.find(";;;SY)")) << text;
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
      ACE_HEADER* ace = nullptr;
      ASSERT_TRUE(::GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
      EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, ace->AceType) << text;
      EXPECT_FALSE(ace->AceFlags & INHERITED_ACE) << text;
    }
  }
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(path.c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(folder.c_str()));
}

bool OpensForWriting(const std::string& path) {
  return UniqueFileHandle(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
             .get() != INVALID_HANDLE_VALUE;
}

// The worker writes through its handle while nobody else can open the file for writing; once
// it has let go, the file is read-only and the run's handle reads, admits the installer's own
// start and still shuts writers out; while the worker still writes, there is no such handle.
TEST(PrivateDownload, TheFileIsReadOnlyToEveryOpenButItsOwnHandles) {
  for (const bool workerLetGo : {true, false}) {
    SCOPED_TRACE(workerLetGo ? "the worker has let go" : "the worker still writes");
    const std::shared_ptr<PrivateDownload> download =
        PrivateDownload::Create(GetTempDir(), "ZuLauncherTempSetup.exe");
    ASSERT_TRUE(download);
    const std::string path = download->Path();
    DWORD written = 0;
    EXPECT_TRUE(::WriteFile(download->file.get(), "MZ", 2, &written, nullptr));
    EXPECT_FALSE(OpensForWriting(path));
    if (workerLetGo) download->file.reset();
    unsigned long error = 0;
    ASSERT_EQ(workerLetGo, download->HoldForRun(error));
    if (!workerLetGo) {
      EXPECT_EQ(static_cast<unsigned long>(ERROR_SHARING_VIOLATION), error);
      continue;
    }
    EXPECT_TRUE(::GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
    char read[3] = {};
    DWORD got = 0;
    ::SetFilePointer(download->File(), 0, nullptr, FILE_BEGIN);
    EXPECT_TRUE(::ReadFile(download->File(), read, 2, &got, nullptr));
    EXPECT_STREQ("MZ", read);
    EXPECT_TRUE(UniqueFileHandle(::CreateFileA(path.c_str(), GENERIC_READ | FILE_EXECUTE,
                                               FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)))
        << "as the installer's start opens it";
    EXPECT_FALSE(OpensForWriting(path));
    if (!KeepsProtectedDacls()) continue;  // Wine without extended attributes
    UniqueLocalMemory descriptor;
    bool isProtected = false;
    const PACL dacl = ReadDacl(path, descriptor, isProtected);
    ASSERT_TRUE(dacl);
    EXPECT_TRUE(isProtected);
    EXPECT_EQ(4u, dacl->AceCount) << "this user, SYSTEM, the administrators, the owner";
    for (DWORD i = 0; i < dacl->AceCount; ++i) {
      ACCESS_ALLOWED_ACE* ace = nullptr;
      ASSERT_TRUE(::GetAce(dacl, i, reinterpret_cast<void**>(&ace)));
      EXPECT_EQ(0u, ace->Mask & (FILE_WRITE_DATA | FILE_APPEND_DATA | WRITE_DAC | WRITE_OWNER));
    }
  }
  EXPECT_TRUE(private_download::NoneLeft());
}

}  // namespace

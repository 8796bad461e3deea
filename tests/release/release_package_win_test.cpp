// The release as a vendor unpacks it (the zip, unpacked afresh by the test release_unpack):
// its zuhost starts its launcher, which reads its sample INI (the example URL replaced),
// refreshes the version file and starts a current program; and the launcher carries its
// version resource.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "tests/app/launcher_fixture_win.h"
#include "tests/support/process_runner_win.h"
#include "tests/support/scratch_win.h"

namespace {

// The unpacked folder as a Windows path with a trailing backslash; empty when not given.
std::string ReleaseDir() {
  std::string unixPath = test_http::Environment("ZU_RELEASE_DIR");
  if (unixPath.empty()) return std::string();
  std::string path = "Z:" + unixPath + "/";
  for (char& ch : path) {
    if (ch == '/') ch = '\\';
  }
  return path;
}

TEST(ReleasePackage, ServesARunRequestFromTheUnpackedFolder) {
  ASSERT_TRUE(test_http::Running());
  const std::string release = ReleaseDir();
  ASSERT_FALSE(release.empty()) << "needs ZU_RELEASE_DIR (ctest sets it; release_unpack fills it)";
  e2e::LauncherCase test("Release");
  test.InstallProgram(5, 0);
  e2e::WriteServedFile(test.name, "version.ini",
                       e2e::LauncherCase::VersionFile(test.ProgramKeys(5, 0)));

  std::string ini = ReadWholeFile(release + "ZuLauncher.ini");
  const std::string example = "VERSION_FILE_URL=https://updates.example.com/zu/version.ini";
  const size_t at = ini.find(example);
  ASSERT_NE(std::string::npos, at) << "the sample INI names the example URL";
  ini.replace(at, example.size(), "VERSION_FILE_URL=" + e2e::ServedUrl(test.name, "version.ini"));
  LauncherWorkspace::WriteFileAt(release + "ZuLauncher.ini", ini);

  const std::string output = test.workspace.PathOf("zuhost.out");
  EXPECT_EQ(0, RunAndWait("\"" + release +
                              "zuhost.exe\" \"<ZULAUNCHER_PARAM Command='run' ProgramID='PROG'/>\"",
                          release, output));
  const std::string printed = ReadWholeFile(output);
  EXPECT_NE(std::string::npos, printed.find("posted: 0 ")) << printed;
  EXPECT_NE(std::string::npos, printed.find("exit: 0")) << printed;
  EXPECT_NE(std::string::npos, ReadWholeFile(release + "_ZuVersion_temp_.ini").find("LASTUPDATETIME="))
      << "the version file was refreshed beside the launcher";
  for (int attempt = 0; attempt < 40 && !fake_installer::FileExists(test.ProgramRecord());
       ++attempt)
    ::Sleep(50);
  EXPECT_TRUE(fake_installer::FileExists(test.ProgramRecord())) << "the program was started";
}

TEST(ReleasePackage, TheLauncherCarriesItsVersion) {
  const std::string release = ReleaseDir();
  ASSERT_FALSE(release.empty()) << "needs ZU_RELEASE_DIR (ctest sets it; release_unpack fills it)";
  const std::string exe = release + "ZuLauncher.exe";
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeA(exe.c_str(), &ignored);
  ASSERT_GT(size, 0u) << "no version resource";
  std::vector<char> block(size);
  ASSERT_TRUE(::GetFileVersionInfoA(exe.c_str(), 0, size, block.data()));

  struct Case {
    const char* name;
    const char* value;
  };
  const Case cases[] = {
      {"ProductName", "ZuLauncher"},
      {"FileVersion", ZU_PROJECT_VERSION},
      {"ProductVersion", ZU_PROJECT_VERSION},
      {"FileDescription", "ZuLauncher: launcher and updater of desktop programs"},
      {"OriginalFilename", "ZuLauncher.exe"},
  };
  for (const Case& c : cases) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904B0\\") + c.name;
    ASSERT_TRUE(::VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value),
                                 &length))
        << c.name;
    EXPECT_STREQ(c.value, value) << c.name;
  }
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  char numeric[32];
  wsprintfA(numeric, "%u.%u.%u", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
            HIWORD(fixed->dwFileVersionLS));
  EXPECT_STREQ(ZU_PROJECT_VERSION, numeric);
}

}  // namespace

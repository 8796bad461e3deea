// INI profile access against real files of the Wine prefix.
#include "env/ini_profile_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>

#include "env/directories_win.h"
#include "tests/support/scratch_win.h"

namespace {

TEST(IniResolvePath, RelativeNamesGoIntoTheModuleDirectory) {
  const std::string moduleDir = GetModuleDir();
  const struct {
    const char* shows;
    const char* path;
    std::string expected;
  } cases[] = {
      {"drive-qualified", "C:\\data\\program.ini", "C:\\data\\program.ini"},
      {"drive-qualified, other drive", "Z:\\tmp\\program.ini", "Z:\\tmp\\program.ini"},
      {"network", "\\\\server\\share\\program.ini", "\\\\server\\share\\program.ini"},
      {"bare", "_ZuVersion_temp_.ini", moduleDir + "_ZuVersion_temp_.ini"},
      {"nested relative", "config\\program.ini", moduleDir + "config\\program.ini"},
      {"single backslash", "\\program.ini", moduleDir + "\\program.ini"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.expected, ResolveIniPath(c.path)) << c.shows;
}

class IniProfile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_scratch.created()); }
  std::string IniPath() const { return m_scratch / "program.ini"; }

  ScratchDirectory m_scratch;
};

TEST_F(IniProfile, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ("fallback", ReadIniString("GENERAL", "VERSION", IniPath(), "fallback"))
      << "missing file";
  EXPECT_EQ(-7, ReadIniInt("GENERAL", "VERSION", -7, IniPath())) << "missing file";
  ASSERT_TRUE(WriteIniString("GENERAL", "VERSION", "12", IniPath()));
  EXPECT_EQ("fallback", ReadIniString("OTHER", "VERSION", IniPath(), "fallback"))
      << "missing section";
  EXPECT_EQ("fallback", ReadIniString("GENERAL", "MINORVERSION", IniPath(), "fallback"))
      << "missing key";
  EXPECT_EQ(0, ReadIniInt("GENERAL", "MINORVERSION", 0, IniPath())) << "missing key";
  EXPECT_EQ("", ReadIniString("GENERAL", "MINORVERSION", IniPath(), "")) << "empty default";
}

TEST_F(IniProfile, WritesCreateFileSectionAndKeyAndReadBack) {
  ASSERT_FALSE(FileExists(IniPath()));
  EXPECT_TRUE(WriteIniString("GENERAL", "EXE_NAME", "program.exe", IniPath()));
  EXPECT_TRUE(FileExists(IniPath()));
  EXPECT_TRUE(
      WriteIniString("ProgramA", "PATH_REG", "HKEY_CURRENT_USER\\Software\\A\\Dir", IniPath()));
  EXPECT_TRUE(WriteIniString("GENERAL", "EXE_NAME", "renamed.exe", IniPath())) << "overwrite";
  EXPECT_EQ("renamed.exe", ReadIniString("GENERAL", "EXE_NAME", IniPath(), ""));
  EXPECT_EQ("HKEY_CURRENT_USER\\Software\\A\\Dir",
            ReadIniString("ProgramA", "PATH_REG", IniPath(), ""));
}

TEST_F(IniProfile, SectionAndKeyNamesIgnoreLetterCase) {
  ASSERT_TRUE(WriteIniString("GENERAL", "VERSION_FILE_URL", "http://127.0.0.1/v.ini", IniPath()));
  EXPECT_EQ("http://127.0.0.1/v.ini", ReadIniString("general", "version_file_url", IniPath(), ""));
  ASSERT_TRUE(WriteIniInt("General", "Version", 5, IniPath()));
  EXPECT_EQ(5, ReadIniInt("GENERAL", "VERSION", 0, IniPath()));
}

TEST_F(IniProfile, NegativeIntegersKeepTheirMinusSign) {
  const int values[] = {-1, -12345, INT_MIN, 0, 2147483647};
  for (int value : values) {
    ASSERT_TRUE(WriteIniInt("GENERAL", "LASTUPDATETIME", value, IniPath())) << value;
    EXPECT_EQ(std::to_string(value), ReadIniString("GENERAL", "LASTUPDATETIME", IniPath(), ""));
    EXPECT_EQ(value, ReadIniInt("GENERAL", "LASTUPDATETIME", 99, IniPath())) << value;
  }
  ASSERT_TRUE(WriteIniInt("GENERAL", "VERSION", -42, IniPath()));
  EXPECT_NE(std::string::npos, ReadWholeFile(IniPath()).find("VERSION=-42"))
      << "the text on disk carries the minus sign";
}

TEST_F(IniProfile, LongValuesAreCutAt9998Characters) {
  std::string longValue;
  for (int i = 0; longValue.size() < 12000; ++i) longValue += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(WriteIniString("GENERAL", "LONG", longValue, IniPath()));
  std::string read = ReadIniString("GENERAL", "LONG", IniPath(), "");
  EXPECT_EQ(9998u, read.size());
  EXPECT_EQ(longValue.substr(0, 9998), read);

  const std::string fits(9998, 'x');
  ASSERT_TRUE(WriteIniString("GENERAL", "FITS", fits, IniPath()));
  EXPECT_EQ(fits, ReadIniString("GENERAL", "FITS", IniPath(), "")) << "exactly 9998: whole";
}

TEST(IniBareName, ResolvesIntoTheModuleDirectoryWhileTheCurrentDirectoryIsElsewhere) {
  ScratchDirectory elsewhere;
  ASSERT_TRUE(elsewhere.created());
  const std::string name = UniqueScratchName("zu_env_bare") + ".ini";
  const std::string inModuleDir = GetModuleDir() + name;
  {
    CurrentDirectoryGuard restore;
    ASSERT_TRUE(::SetCurrentDirectoryA(elsewhere.path().c_str()));
    ASSERT_NE(GetModuleDir(), GetCurrentDir() + "\\");

    EXPECT_TRUE(WriteIniInt("GENERAL", "VERSION", 3, name));
    EXPECT_EQ(3, ReadIniInt("GENERAL", "VERSION", 0, name));
    EXPECT_TRUE(FileExists(inModuleDir));
    EXPECT_FALSE(FileExists(elsewhere / name)) << "nothing lands in the current directory";
  }
  ::DeleteFileA(inModuleDir.c_str());
}

}  // namespace

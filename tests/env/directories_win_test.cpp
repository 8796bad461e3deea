// Module, current and temporary directories and the existence tests, on the real file system.
#include "env/directories_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/support/scratch_win.h"

namespace {

TEST(ModuleDirectory, SameTextEveryTimeWithOneTrailingBackslash) {
  const std::string first = GetModuleDir();
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ('\\', first.back());
  EXPECT_NE('\\', first[first.size() - 2]);
  EXPECT_EQ(first, GetModuleDir());
  EXPECT_TRUE(DirExists(first));
  char program[MAX_PATH];
  DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
  EXPECT_EQ(first + "win_env_tests.exe", std::string(program, length));
}

TEST(ModuleDirectory, StaysPutWhenTheCurrentDirectoryMoves) {
  ScratchDirectory elsewhere;
  ASSERT_TRUE(elsewhere.created());
  const std::string before = GetModuleDir();
  CurrentDirectoryGuard restore;
  ASSERT_TRUE(::SetCurrentDirectoryA(elsewhere.path().c_str()));
  EXPECT_EQ(before, GetModuleDir());
}

TEST(CurrentDirectory, AsTheSystemReportsIt) {
  ScratchDirectory scratch;
  ASSERT_TRUE(scratch.created());
  CurrentDirectoryGuard restore;
  ASSERT_TRUE(::SetCurrentDirectoryA((scratch.path() + "\\").c_str()));
  EXPECT_EQ(scratch.path(), GetCurrentDir()) << "no trailing backslash";
  ASSERT_TRUE(::SetCurrentDirectoryA("C:\\"));
  EXPECT_EQ("C:\\", GetCurrentDir()) << "a drive root keeps its backslash";
}

TEST(TempDirectory, EndsInABackslashAndExists) {
  const std::string temp = GetTempDir();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ('\\', temp.back());
  EXPECT_TRUE(DirExists(temp));
}

TEST(ExistenceTests, FilesAndDirectoriesAreTellApart) {
  ScratchDirectory scratch;
  ASSERT_TRUE(scratch.created());
  const std::string file = scratch / "file.txt";
  UniqueFileHandle created(::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(created);
  created.reset();
  const std::string hidden = scratch / "hidden.txt";
  ASSERT_TRUE(
      ::CloseHandle(::CreateFileA(hidden.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY, nullptr)));
  const struct {
    const char* shows;
    std::string path;
    bool isDirectory;
    bool isFile;
  } cases[] = {
      {"plain file", file, false, true},
      {"hidden read-only file", hidden, false, true},
      {"directory", scratch.path(), true, false},
      {"directory with trailing backslash", scratch.path() + "\\", true, false},
      {"missing name", scratch / "missing", false, false},
      {"name under a missing directory", scratch / "missing\\file.txt", false, false},
      {"empty path", "", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.isDirectory, DirExists(c.path)) << c.shows;
    EXPECT_EQ(c.isFile, FileExists(c.path)) << c.shows;
  }
}

}  // namespace

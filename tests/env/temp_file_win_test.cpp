// MakeTempFileName on the real file system. A fixed clock makes the candidate names
// predictable: attempt n gives "t" + two digits of n + "12345.tmp".
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <string>

#include "env/directories_win.h"
#include "tests/support/scratch_win.h"

namespace {

constexpr unsigned kFixedTick = 0x12345;

bool IsLowerHex(char ch) {
  return std::isdigit(static_cast<unsigned char>(ch)) || (ch >= 'a' && ch <= 'f');
}

// "t" + digits + hex digits + ".tmp" after `base`.
bool HasShape(const std::string& name, const std::string& base, size_t digits, size_t hexDigits) {
  if (name.compare(0, base.size(), base) != 0) return false;
  std::string rest = name.substr(base.size());
  if (rest.size() != 1 + digits + hexDigits + 4 || rest[0] != 't') return false;
  for (size_t i = 1; i <= digits; ++i)
    if (!std::isdigit(static_cast<unsigned char>(rest[i]))) return false;
  for (size_t i = 1 + digits; i < 1 + digits + hexDigits; ++i)
    if (!IsLowerHex(rest[i])) return false;
  return rest.compare(rest.size() - 4, 4, ".tmp") == 0;
}

class TempFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_scratch.created()); }
  std::string Make(const std::string& directory) {
    return MakeTempFileNameWithClock(directory, [this] {
      ++m_clockReads;
      return kFixedTick;
    });
  }
  std::string Candidate(int attempt) const {
    char name[32];
    wsprintfA(name, "t%02d12345.tmp", attempt);
    return m_scratch / name;
  }

  ScratchDirectory m_scratch;
  int m_clockReads = 0;
};

TEST_F(TempFile, FirstFreeCandidateIsCreatedEmpty) {
  const std::string name = Make(m_scratch.path());
  EXPECT_EQ(Candidate(0), name);
  EXPECT_TRUE(FileExists(name));
  EXPECT_EQ("", ReadWholeFile(name));
  EXPECT_EQ(1, m_clockReads);
}

TEST_F(TempFile, ExistingFileOfTheFirstNameIsSkippedAndKept) {
  ASSERT_TRUE(WriteWholeFile(Candidate(0), "someone else's data"));
  const std::string name = Make(m_scratch.path());
  EXPECT_EQ(Candidate(1), name);
  EXPECT_TRUE(FileExists(name));
  EXPECT_EQ("someone else's data", ReadWholeFile(Candidate(0))) << "not replaced";
  EXPECT_EQ(2, m_clockReads) << "the clock is read anew for every attempt";
}

TEST_F(TempFile, DirectoryOfTheFirstNameIsSkippedThroughAFailedCreation) {
  ASSERT_TRUE(::CreateDirectoryA(Candidate(0).c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(Candidate(1).c_str(), nullptr));
  const std::string name = Make(m_scratch.path());
  EXPECT_EQ(Candidate(2), name);
  EXPECT_TRUE(FileExists(name));
  EXPECT_TRUE(DirExists(Candidate(0))) << "the directory stays";
  EXPECT_EQ(3, m_clockReads);
}

TEST_F(TempFile, GivenDirectoryWithOrWithoutTrailingBackslash) {
  EXPECT_EQ(Candidate(0), Make(m_scratch.path()));
  EXPECT_EQ(Candidate(1), Make(m_scratch.path() + "\\")) << "no second backslash";
}

TEST_F(TempFile, MissingOrNoDirectoryGivesTheSystemTemporaryDirectory) {
  for (const std::string& directory : {m_scratch / "missing", std::string()}) {
    const std::string name = MakeTempFileName(directory);
    EXPECT_TRUE(HasShape(name, GetTempDir(), 2, 5)) << name;
    EXPECT_TRUE(FileExists(name)) << name;
    ::DeleteFileA(name.c_str());
  }
  std::string file = m_scratch / "plain.txt";
  ASSERT_TRUE(WriteWholeFile(file, "x"));
  const std::string name = MakeTempFileName(file);
  EXPECT_TRUE(HasShape(name, GetTempDir(), 2, 5)) << "a file is not a directory: " << name;
  ::DeleteFileA(name.c_str());
}

TEST_F(TempFile, NamesByTheRealClockHaveTheCandidateShape) {
  const std::string name = MakeTempFileName(m_scratch.path());
  EXPECT_TRUE(HasShape(name, m_scratch.path() + "\\", 2, 5)) << name;
  EXPECT_TRUE(FileExists(name));
}

TEST_F(TempFile, BaseTooLongForItsNamesIsPassedOver) {
  // Names must fit 260 characters with their zero: a base of 247 characters leaves room for
  // the 12 of a candidate, one of 248 does not.
  const std::string prefix = m_scratch.path() + "\\";
  ASSERT_LT(prefix.size(), 200u);
  const std::string fits = prefix + std::string(246 - prefix.size(), 'f');
  const std::string tooLong = prefix + std::string(247 - prefix.size(), 'l');
  ASSERT_TRUE(::CreateDirectoryA(fits.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(tooLong.c_str(), nullptr));
  ASSERT_TRUE(DirExists(tooLong));

  const std::string inFits = Make(fits);
  EXPECT_EQ(fits + "\\t0012345.tmp", inFits);
  EXPECT_EQ(259u, inFits.size());
  EXPECT_TRUE(FileExists(inFits));

  const std::string instead = Make(tooLong);
  EXPECT_EQ(GetTempDir() + "t0012345.tmp", instead) << "the system temporary directory instead";
  ::DeleteFileA(instead.c_str());
}

TEST_F(TempFile, AfterHundredFailedAttemptsTheLastResortIsNamedButNotCreated) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    ASSERT_TRUE(::CreateDirectoryA(Candidate(attempt).c_str(), nullptr)) << attempt;
  }
  const bool hadTemp = DirExists("c:\\temp");
  const std::string name = Make(m_scratch.path());
  EXPECT_EQ(100, m_clockReads);
  EXPECT_TRUE(HasShape(name, "c:\\temp\\", 0, 6)) << name;
  const std::string number = name.substr(9, 6);
  EXPECT_LE(std::stoul(number, nullptr, 16), 32767ul) << "a runtime pseudo-random number";
  EXPECT_FALSE(FileExists(name)) << "not created";
  EXPECT_TRUE(DirExists("c:\\temp")) << "the directory is made";
  if (!hadTemp) ::RemoveDirectoryA("c:\\temp");
}

class TempFileCp932 : public TempFile {};

TEST_F(TempFileCp932, DirectoryEndingInATrailByteBackslashGetsItsSeparator) {
  ASSERT_EQ(932u, ::GetACP()) << "run with LC_ALL=ja_JP.UTF-8";
  // "\x95\x5c" is one character whose trail byte equals a backslash.
  const std::string directory = m_scratch / "\x95\x5c";
  if (!::CreateDirectoryA(directory.c_str(), nullptr)) {
    // Wine stores file names through the Unix locale; without a generated ja_JP.UTF-8
    // locale (LOCPATH) it cannot store any non-ASCII name.
    GTEST_SKIP() << "this Wine cannot create non-ASCII file names (error " << ::GetLastError()
                 << "); set LOCPATH to a directory holding a generated ja_JP.UTF-8 locale";
  }
  const std::string name = Make(directory);
  EXPECT_EQ(directory + "\\t0012345.tmp", name);
  EXPECT_TRUE(FileExists(name));
}

}  // namespace

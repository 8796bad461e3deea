// MakeTempFileName on the real file system. A fixed number makes the candidate names
// predictable: attempt n gives "t" + two digits of n + "12345.tmp".
#include <gtest/gtest.h>
#include <windows.h>

#include <cctype>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "env/directories_win.h"
#include "tests/support/scratch_win.h"

namespace {

constexpr unsigned kFixedNumber = 0x12345;

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
    return MakeTempFileNameWith(directory, [this](unsigned& number) {
      ++m_numbersDrawn;
      number = kFixedNumber;
      return true;
    });
  }
  std::string Candidate(int attempt) const {
    char name[32];
    wsprintfA(name, "t%02d12345.tmp", attempt);
    return m_scratch / name;
  }

  ScratchDirectory m_scratch;
  int m_numbersDrawn = 0;
};

TEST_F(TempFile, FirstFreeCandidateIsCreatedEmpty) {
  const std::string name = Make(m_scratch.path());
  EXPECT_EQ(Candidate(0), name);
  EXPECT_TRUE(FileExists(name));
  EXPECT_EQ("", ReadWholeFile(name));
  EXPECT_EQ(1, m_numbersDrawn);
}

TEST_F(TempFile, ExistingFileOfTheFirstNameIsSkippedAndKept) {
  ASSERT_TRUE(WriteWholeFile(Candidate(0), "someone else's data"));
  const std::string name = Make(m_scratch.path());
  EXPECT_EQ(Candidate(1), name);
  EXPECT_TRUE(FileExists(name));
  EXPECT_EQ("someone else's data", ReadWholeFile(Candidate(0))) << "not replaced";
  EXPECT_EQ(2, m_numbersDrawn) << "a fresh number for every attempt";
}

TEST_F(TempFile, DirectoryOfTheFirstNameIsSkippedThroughAFailedCreation) {
  ASSERT_TRUE(::CreateDirectoryA(Candidate(0).c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryA(Candidate(1).c_str(), nullptr));
  const std::string name = Make(m_scratch.path());
  EXPECT_EQ(Candidate(2), name);
  EXPECT_TRUE(FileExists(name));
  EXPECT_TRUE(DirExists(Candidate(0))) << "the directory stays";
  EXPECT_EQ(3, m_numbersDrawn);
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

TEST_F(TempFile, NamesByTheRandomGeneratorHaveTheCandidateShape) {
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

// When the folder asked for cannot hold a file, the user's temporary folder is tried the same
// way, and then nothing: no folder that other users may write (c:\temp, c:\) is ever used.
TEST_F(TempFile, AfterHundredFailedAttemptsOnlyTheUsersTemporaryFolderIsTried) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    ASSERT_TRUE(::CreateDirectoryA(Candidate(attempt).c_str(), nullptr)) << attempt;
  }
  const bool hadTemp = DirExists("c:\\temp");
  const std::string inTemp = GetTempDir() + "t0012345.tmp";
  ASSERT_FALSE(FileExists(inTemp)) << "left over from an earlier run";

  EXPECT_EQ(inTemp, Make(m_scratch.path()));
  EXPECT_EQ(101, m_numbersDrawn);
  EXPECT_TRUE(FileExists(inTemp)) << "created";

  // Block the user's temporary folder's candidates too: no name at all, and nothing made
  // anywhere else.
  std::vector<std::string> blocked;
  for (int attempt = 1; attempt < 100; ++attempt) {
    char name[32];
    wsprintfA(name, "t%02d12345.tmp", attempt);
    blocked.push_back(GetTempDir() + name);
    ASSERT_TRUE(::CreateDirectoryA(blocked.back().c_str(), nullptr)) << blocked.back();
  }
  EXPECT_EQ("", Make(m_scratch.path()));
  EXPECT_EQ(101 + 200, m_numbersDrawn);
  EXPECT_EQ(hadTemp, DirExists("c:\\temp")) << "c:\\temp neither created nor used";
  EXPECT_FALSE(FileExists("c:\\t0012345.tmp"));
  for (const std::string& directory : blocked) ::RemoveDirectoryA(directory.c_str());
  ::DeleteFileA(inTemp.c_str());
}

TEST_F(TempFile, WithoutRandomNumbersNoNameIsGiven) {
  EXPECT_EQ("", MakeTempFileNameWith(m_scratch.path(), [](unsigned&) { return false; }));
}

TEST_F(TempFile, TwoThreadsNeverGetTheSameName) {
  constexpr int kNamesPerThread = 1000;
  std::vector<std::string> names[2];
  auto ask = [this](std::vector<std::string>& into) {
    for (int i = 0; i < kNamesPerThread; ++i) into.push_back(MakeTempFileName(m_scratch.path()));
  };
  std::thread first(ask, std::ref(names[0]));
  std::thread second(ask, std::ref(names[1]));
  first.join();
  second.join();

  std::set<std::string> distinct;
  for (const auto& thread : names) {
    for (const std::string& name : thread) {
      EXPECT_TRUE(FileExists(name)) << name;
      EXPECT_TRUE(distinct.insert(name).second) << "given twice: " << name;
    }
  }
  EXPECT_EQ(2u * kNamesPerThread, distinct.size());
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

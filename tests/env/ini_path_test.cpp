// The anchoring rule of INI file names, against a fixed module directory.
#include "env/ini_path.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/code_page_scope.h"

namespace {

const std::string kModuleDir = "C:\\Program Files\\Zu\\";

struct IniPathCase {
  const char* shows;
  const char* path;
  std::string expected;
};

TEST(ResolveIniPathAt, AnchorsOnlyRelativeNames) {
  const IniPathCase cases[] = {
      {"drive-qualified path as given", "D:\\data\\program.ini", "D:\\data\\program.ini"},
      {"drive-relative path has a colon too", "d:program.ini", "d:program.ini"},
      {"a colon anywhere keeps the path", "sub\\odd:name.ini", "sub\\odd:name.ini"},
      {"network path as given", "\\\\server\\share\\program.ini", "\\\\server\\share\\program.ini"},
      {"bare file name", "ZuLauncher.ini", kModuleDir + "ZuLauncher.ini"},
      {"nested relative path", "config\\user\\program.ini",
       kModuleDir + "config\\user\\program.ini"},
      {"parent-relative path", "..\\program.ini", kModuleDir + "..\\program.ini"},
      {"single leading backslash gives two at the seam", "\\program.ini",
       kModuleDir + "\\program.ini"},
      {"one backslash alone", "\\", kModuleDir + "\\"},
      {"empty name", "", kModuleDir},
  };
  for (const IniPathCase& c : cases) {
    EXPECT_EQ(c.expected, ResolveIniPathAt(c.path, kModuleDir)) << c.shows;
  }
}

TEST(ResolveIniPathAtCp932, DoubleByteNamesAreAnchoredLikeOthers) {
  CodePageScope scope(932);
  // "\x95\x5c" is one character whose trail byte equals a backslash: after a backslash it
  // must not be taken for a second one.
  const std::string name = "\\\x95\x5c.ini";
  EXPECT_EQ(kModuleDir + name, ResolveIniPathAt(name, kModuleDir));
  const std::string doubleByteFirst = "\x95\x5c\\program.ini";
  EXPECT_EQ(kModuleDir + doubleByteFirst, ResolveIniPathAt(doubleByteFirst, kModuleDir));
}

}  // namespace

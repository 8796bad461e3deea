// Where this user's own copy of a file beside the launcher lies, and which errors send it
// there.
#include "env/user_copy.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/code_page_scope.h"

namespace {

const char kCopy[] = "C:\\Program Files\\Vendor\\_ZuVersion_temp_.ini";

TEST(UserCopyRelativePath, OneFolderPerFileNamedAfterItsFullPath) {
  const std::string own = UserCopyRelativePath(kCopy);
  ASSERT_EQ(0u, own.find("ZuLauncher\\VersionFiles\\")) << own;
  const std::string folder = own.substr(24, 32);
  EXPECT_EQ(std::string::npos, folder.find_first_not_of("0123456789abcdef")) << own;
  EXPECT_EQ("ZuLauncher\\VersionFiles\\" + folder + "\\_ZuVersion_temp_.ini", own);

  CodePageScope scope(932);
  const struct {
    const char* shows;
    std::string path;
    bool same;
  } cases[] = {
      {"other letter case", "c:\\program files\\VENDOR\\_zuversion_temp_.ini", true},
      {"forward slashes", "C:/Program Files/Vendor/_ZuVersion_temp_.ini", true},
      {"another launcher's folder", "C:\\Program Files\\Other\\_ZuVersion_temp_.ini", false},
      {"another name in the same folder", "C:\\Program Files\\Vendor\\versions.ini", false},
      {"a trail byte is no letter: 0x83 0x61 is not 0x83 0x41",
       "C:\\\x83\x61\\_ZuVersion_temp_.ini", false},
  };
  const std::string trailUpper = UserCopyRelativePath("C:\\\x83\x41\\_ZuVersion_temp_.ini");
  for (const auto& c : cases) {
    const std::string other = UserCopyRelativePath(c.path);
    const std::string reference = c.path.find('\x83') != std::string::npos ? trailUpper : own;
    EXPECT_EQ(c.same, other.substr(0, 56) == reference.substr(0, 56)) << c.shows << ": " << other;
  }
  EXPECT_EQ("", UserCopyRelativePath("C:\\Program Files\\Vendor\\")) << "no file named";
  EXPECT_EQ("", UserCopyRelativePath(""));
}

TEST(IsWriteRefusal, OnlyAUserWhoMayNotWriteThere) {
  const struct {
    unsigned long error;
    bool refusal;
  } cases[] = {
      {5, true},     // access denied: Program Files for a standard user
      {19, true},    // write-protected medium
      {65, true},    // a network share that refuses
      {32, false},   // sharing violation: a file in use
      {33, false},   // lock violation
      {3, false},    // path not found
      {112, false},  // disk full
      {0, false},
  };
  for (const auto& c : cases) EXPECT_EQ(c.refusal, IsWriteRefusal(c.error)) << c.error;
}

}  // namespace

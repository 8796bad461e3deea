// The install lock's name: one per program and install path, letter case aside, never the id.
#include "app/install_lock_name.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallLockName, OneLockPerProgramAndPathNeverTheRawId) {
  const std::string base = InstallLockName("MYAPP", "HKEY_CURRENT_USER\\Software\\My\\Dir");
  const std::string prefix = "Local\\ZuLauncher-Install-";
  ASSERT_EQ(prefix.size() + 32, base.size());
  EXPECT_EQ(prefix, base.substr(0, prefix.size()));
  EXPECT_EQ(std::string::npos, base.substr(prefix.size()).find_first_not_of("0123456789abcdef"));
  struct Row {
    const char* programId;
    const char* pathRegistry;
    bool same;
  } rows[] = {
      {"myapp", "hkey_current_user\\software\\my\\dir", true},
      {"MYAPP", "HKEY_CURRENT_USER\\Software\\My\\Other", false},
      {"OTHER", "HKEY_CURRENT_USER\\Software\\My\\Dir", false},
      {"MYAPP\\..", "HKEY_CURRENT_USER\\Software\\My\\Dir", false},
      {"MYAPPH", "KEY_CURRENT_USER\\Software\\My\\Dir", false},  // the boundary counts
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.programId) + " | " + row.pathRegistry);
    const std::string name = InstallLockName(row.programId, row.pathRegistry);
    EXPECT_EQ(row.same, name == base);
    EXPECT_EQ(std::string::npos, name.find(row.programId));
    EXPECT_EQ(std::string::npos, name.find('\\', prefix.size())) << "one backslash, after Local";
  }
}

}  // namespace

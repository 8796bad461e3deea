// The installer arguments chosen from SilentInstall and AutoInstall.
#include "app/installer_arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseInstallerArguments, SilentWinsOverAutoWhichWinsOverNone) {
  struct Row {
    int silentInstall, autoInstall;
    const char* expected;
  } rows[] = {
      {0, 0, ""}, {1, 0, "/S"}, {0, 1, "/A"}, {1, 1, "/S"}, {-3, 0, "/S"}, {0, 7, "/A"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.expected, ChooseInstallerArguments(row.silentInstall, row.autoInstall))
        << row.silentInstall << "," << row.autoInstall;
  }
}

}  // namespace

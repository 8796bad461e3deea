// The installer arguments chosen from SilentInstall and AutoInstall, for each installer kind.
#include "app/installer_arguments.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseInstallerArguments, SilentWinsOverAutoWhichWinsOverNone) {
  struct Row {
    int silentInstall, autoInstall;
    const char* program;
    const char* package;
  } rows[] = {
      {0, 0, "", ""},      {1, 0, "/S", "/qn"},  {0, 1, "/A", "/passive"},
      {1, 1, "/S", "/qn"}, {-3, 0, "/S", "/qn"}, {0, 7, "/A", "/passive"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::to_string(row.silentInstall) + "," + std::to_string(row.autoInstall));
    EXPECT_EQ(row.program,
              ChooseInstallerArguments(InstallerKind::Program, row.silentInstall, row.autoInstall));
    EXPECT_EQ(row.package,
              ChooseInstallerArguments(InstallerKind::Package, row.silentInstall, row.autoInstall));
  }
}

}  // namespace

// Which kind of installer a program section names: INSTALLER_TYPE, else DOWN_URL's path.
#include "installer/installer_kind.h"

#include <gtest/gtest.h>

namespace {

TEST(ChooseInstallerKind, TypeDecidesElseThePathOfTheAddress) {
  constexpr InstallerKind P = InstallerKind::Program, M = InstallerKind::Package;
  struct Row {
    const char* type;
    const char* url;
    bool known;
    InstallerKind kind;
  } rows[] = {
      {"", "https://example.com/setup.exe", true, P},
      {"", "https://example.com/setup.msi", true, M},
      {"", "https://example.com/dl/Setup.MSI", true, M},
      {"", "https://example.com/setup.msi?token=1", true, M},
      {"", "https://example.com/setup.msi#part", true, M},
      {"", "https://example.com/get?file=setup.msi", true, P},  // only the path counts
      {"", "https://setup.msi", true, P},                       // a host, no path
      {"", "https://example.com/setup.msix", true, P},
      {"", "https://example.com/msi", true, P},
      {"msi", "https://example.com/get?id=7", true, M},
      {"MSI", "https://example.com/setup.exe", true, M},
      {"exe", "https://example.com/setup.exe", false, P},
      {"nsis", "https://example.com/setup.msi", false, P},
      {" msi", "https://example.com/setup.msi", false, P},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.type) + " | " + row.url);
    InstallerKind kind = P;
    EXPECT_EQ(row.known, ChooseInstallerKind(row.type, row.url, kind));
    if (row.known) {
      EXPECT_EQ(row.kind, kind);
    }
  }
}

TEST(InstallerFileName, EachKindItsOwnExtension) {
  EXPECT_STREQ("ZuLauncherTempSetup.exe", InstallerFileName(InstallerKind::Program));
  EXPECT_STREQ("ZuLauncherTempSetup.msi", InstallerFileName(InstallerKind::Package));
}

}  // namespace

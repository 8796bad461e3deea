// The vendor's settings beside the launcher hold whatever INI a request names, and a network
// path is never read as the launcher INI.
#include "app/held_vendor_settings.h"

#include <gtest/gtest.h>

#include <string>

#include "ini/ini_document.h"

namespace {

TEST(HeldVendorSettings, TheIniBesideTheLauncherCannotBeOverruled) {
  const struct {
    const char* beside;
    const char* named;
    const char* key;
    const char* expected;  // "\n" when absent
  } rows[] = {
      {"", "[GENERAL]\nPUBLIC_KEY=B\n", "PUBLIC_KEY", "B"},
      {"[GENERAL]\nPUBLIC_KEY=A\n", "[GENERAL]\nVERSION_FILE_URL=x\n", "PUBLIC_KEY", "A"},
      {"[GENERAL]\nPUBLIC_KEY=A\n", "", "PUBLIC_KEY", "A"},
      {"[GENERAL]\nPUBLIC_KEY=A\n", "[GENERAL]\nPUBLIC_KEY=B\n", "PUBLIC_KEY", "A,B"},
      {"[GENERAL]\nPUBLIC_KEY=A\n", "[GENERAL]\nPUBLIC_KEY=A\n", "PUBLIC_KEY", "A"},
      // An empty key beside the launcher is malformed and stays so: every check still fails.
      {"[GENERAL]\nPUBLIC_KEY=\n", "[GENERAL]\nPUBLIC_KEY=B\n", "PUBLIC_KEY", ",B"},
      {"[GENERAL]\nINSTALLER_SIGNER=S\n", "[GENERAL]\n", "INSTALLER_SIGNER", "S"},
      {"[GENERAL]\nINSTALLER_SIGNER=S\n", "[general]\ninstaller_signer=T\n", "INSTALLER_SIGNER",
       "S,T"},
      {"[GENERAL]\nFEED_ID=prod\n", "[GENERAL]\nFEED_ID=staging\n", "FEED_ID", "prod"},
      {"", "[GENERAL]\nFEED_ID=staging\n", "FEED_ID", "staging"},
      {"[OTHER]\nPUBLIC_KEY=A\n", "", "PUBLIC_KEY", "\n"},
  };
  for (const auto& row : rows) {
    IniDocument beside, named;
    beside.LoadBuffer(row.beside, std::string(row.beside).size());
    named.LoadBuffer(row.named, std::string(row.named).size());
    HoldVendorSettings(beside, named);
    EXPECT_EQ(row.expected, named.GetValue("GENERAL", row.key, "\n"))
        << row.beside << " | " << row.named;
  }
}

TEST(HeldVendorSettings, ANetworkPathIsNoLauncherIni) {
  const struct {
    const char* name;
    bool local;
  } rows[] = {
      {"ZuLauncher.ini", true},
      {"sub\\other.ini", true},
      {"C:\\cfg\\a.ini", true},
      {"\\cfg\\a.ini", true},
      {"\\\\server\\share\\a.ini", false},
      {"//server/share/a.ini", false},
      {"\\/server\\a.ini", false},
      {"\\\\?\\UNC\\s\\a.ini", false},
  };
  for (const auto& row : rows) EXPECT_EQ(row.local, IsLocalIniFileName(row.name)) << row.name;
}

}  // namespace

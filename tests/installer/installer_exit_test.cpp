// The installer exit codes' meanings for the log, and which answer is waited out.
#include "installer/installer_exit.h"

#include <gtest/gtest.h>

namespace {

TEST(DescribeInstallerExit, EachKindItsOwnTable) {
  constexpr InstallerKind P = InstallerKind::Program, M = InstallerKind::Package;
  struct Row {
    InstallerKind kind;
    uint32_t code;
    const char* line;
    bool busy;
  } rows[] = {
      {M, 0, "installer exit 0: success", false},
      {M, 1602, "installer exit 1602: cancelled by the user", false},
      {M, 1603, "installer exit 1603: a fatal error during installation", false},
      {M, 1618, "installer exit 1618: another installation is in progress", true},
      {M, 1641, "installer exit 1641: success, the installer has started a restart", false},
      {M, 3010, "installer exit 3010: success, a restart is required", false},
      {M, 1, "installer exit 1", false},
      {P, 0, "installer exit 0: success", false},
      {P, 1, "installer exit 1: cancelled by the user", false},
      {P, 2, "installer exit 2: aborted by the installer", false},
      {P, 1618, "installer exit 1618", false},  // only msiexec's 1618 means "busy"
      {P, 3010, "installer exit 3010", false},
      {P, 0xC0000005u, "installer exit 3221225477", false},  // a crash, printed unsigned
  };
  for (const Row& row : rows) {
    EXPECT_EQ(row.line, DescribeInstallerExit(row.kind, row.code));
    EXPECT_EQ(row.busy, IsInstallerBusy(row.kind, row.code)) << row.line;
  }
}

}  // namespace

// What DOWN_SIZE means beyond the cases the Windows install tests show: the byte counts that are
// read, the transfer's limit and the progress total a malformed one gives.
#include "installer/installer_check.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallerCheck, DownSizeAsFileSizeTransferLimitAndProgressTotal) {
  struct Row {
    const char* downSize;
    int64_t fileSize;
    bool matches;
    int64_t limit, expected;
  };
  const Row rows[] = {
      {"", 12345, true, -1, -1},            // no DOWN_SIZE: nothing checked or capped
      {"0001000", 1000, true, 1000, 1000},  // leading zeros are still a byte count
      {"999999999999999999", 999999999999999999, true, 999999999999999999,
       999999999999999999},                      // 18 digits
      {"1000000000000000000", 0, false, 0, -1},  // 19 digits are not read: nothing may be stored
      {"-1000", 1000, false, 0, -1},             // a sign is not a digit
      {"4k", 4096, false, 0, -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.downSize);
    const InstallerExpectation expectation{row.downSize, "", std::nullopt};
    EXPECT_EQ(row.matches, CheckInstallerSize(expectation, row.fileSize).empty());
    EXPECT_EQ(row.limit, InstallerSizeLimit(expectation));
    EXPECT_EQ(row.expected, InstallerExpectedSize(expectation));
  }
}

}  // namespace

#include "installer/installer_exit.h"

#include "common/format.h"

namespace {

struct ExitMeaning {
  uint32_t code;
  const char* meaning;
};

// Windows Installer's codes that an installation reaches in practice.
constexpr ExitMeaning kPackageExits[] = {
    {0, "success"},
    {1602, "cancelled by the user"},
    {1603, "a fatal error during installation"},
    {1618, "another installation is in progress"},
    {1641, "success, the installer has started a restart"},
    {3010, "success, a restart is required"},
};

// NSIS-style installers.
constexpr ExitMeaning kProgramExits[] = {
    {0, "success"},
    {1, "cancelled by the user"},
    {2, "aborted by the installer"},
};

constexpr uint32_t kPackageBusy = 1618;

template <size_t N>
const char* MeaningIn(const ExitMeaning (&table)[N], uint32_t code) {
  for (const ExitMeaning& row : table) {
    if (row.code == code) return row.meaning;
  }
  return nullptr;
}

}  // namespace

std::string DescribeInstallerExit(InstallerKind kind, uint32_t exitCode) {
  const char* meaning = kind == InstallerKind::Package ? MeaningIn(kPackageExits, exitCode)
                                                       : MeaningIn(kProgramExits, exitCode);
  if (!meaning) return Format("installer exit %u", static_cast<unsigned>(exitCode));
  return Format("installer exit %u: %s", static_cast<unsigned>(exitCode), meaning);
}

bool IsInstallerBusy(InstallerKind kind, uint32_t exitCode) {
  return kind == InstallerKind::Package && exitCode == kPackageBusy;
}

std::vector<uint32_t> DefaultInstallerBusyPauses() {
  return {5000, 10000, 20000, 40000};
}

#include "app/install_id.h"

#include <array>
#include <cstdint>

#include "common/format.h"

namespace {

constexpr size_t kIdBytes = 16;

}  // namespace

bool ObtainInstallId(LauncherSystem& system, std::string& id, std::string& why) {
  std::string stored;
  const bool found = system.ReadInstallId(stored);
  if (found && IsInstallIdShape(stored)) {
    id = stored;
    return true;
  }
  std::array<uint8_t, kIdBytes> bytes{};
  if (!system.CryptoRandom(bytes.data(), bytes.size())) {
    why = "no cryptographic random numbers";
    return false;
  }
  static const char kDigits[] = "0123456789abcdef";
  std::string made;
  for (uint8_t byte : bytes) {
    made += kDigits[byte >> 4];
    made += kDigits[byte & 0x0F];
  }
  if (!system.WriteInstallId(made)) {
    why = "InstallId could not be stored";
    return false;
  }
  system.Log(found ? Format("InstallId '%s' is not 32 lower-case hex digits: replaced by %s",
                            stored.c_str(), made.c_str())
                   : Format("InstallId made: %s", made.c_str()));
  id = made;
  return true;
}

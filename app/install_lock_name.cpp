#include "app/install_lock_name.h"

#include "common/hex_digest.h"
#include "common/sha256.h"

namespace {

// ASCII letters are folded byte by byte. A trail byte of a double-byte character that looks
// like a letter is folded too; that only ever makes two names share one lock, which costs a
// wait, never a second installation at once.
std::string FoldAscii(const std::string& text) {
  std::string folded = text;
  for (char& c : folded) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return folded;
}

}  // namespace

std::string InstallLockName(const std::string& programId, const std::string& pathRegistry) {
  // A NUL between the two keeps ("AB", "C") and ("A", "BC") apart.
  std::string key = FoldAscii(programId);
  key += '\0';
  key += FoldAscii(pathRegistry);
  return "Local\\ZuLauncher-Install-" + FormatSha256Hex(Sha256Of(key)).substr(0, 32);
}

#include "env/user_copy.h"

#include <algorithm>
#include <string_view>

#include "common/codepage.h"
#include "common/sha256.h"
#include "common/text.h"

namespace {

// The system's error numbers (winerror.h), so that this decision is tested natively.
constexpr unsigned long kAccessDenied = 5;
constexpr unsigned long kWriteProtect = 19;
constexpr unsigned long kNetworkAccessDenied = 65;

constexpr size_t kFolderNameDigits = 32;

std::string FoldForName(const std::string& path) {
  std::string folded = path;
  for (size_t at = 0; at < folded.size(); ++at) {
    const unsigned char byte = static_cast<unsigned char>(folded[at]);
    if (IsLeadByte(byte) && at + 1 < folded.size()) {
      ++at;  // the trail byte is part of the character, not a letter of its own
    } else if (byte == '/') {
      folded[at] = '\\';
    } else if (byte >= 'a' && byte <= 'z') {
      folded[at] = static_cast<char>(byte - 'a' + 'A');
    }
  }
  return folded;
}

}  // namespace

std::string FolderOfPath(const std::string& path) {
  const size_t backslash = ReverseFindChar(path, '\\');
  const size_t slash = ReverseFindChar(path, '/');
  const size_t last = backslash == std::string::npos ? slash
                      : slash == std::string::npos   ? backslash
                                                     : std::max(backslash, slash);
  return last == std::string::npos ? std::string() : path.substr(0, last + 1);
}

std::string UserCopyRelativePath(const std::string& fullPath) {
  const std::string name = fullPath.substr(FolderOfPath(fullPath).size());
  if (name.empty()) return std::string();
  const std::string digits = FormatSha256Hex(Sha256Of(FoldForName(fullPath)));
  return "ZuLauncher\\VersionFiles\\" + digits.substr(0, kFolderNameDigits) + "\\" + name;
}

bool IsWriteRefusal(unsigned long systemError) {
  return systemError == kAccessDenied || systemError == kWriteProtect ||
         systemError == kNetworkAccessDenied;
}

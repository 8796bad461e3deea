// MakeTempFileName and CreateTempFile: the base directories and the numbered attempts.
#include <windows.h>

#include <vector>

#include "common/crypto_random_win.h"
#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "env/temp_name.h"

namespace {

// The folder asked for, then the user's own temporary folder; nothing else. A folder every
// user may write (c:\temp, c:\) would let another user read or swap a file we then use by
// name, so when neither of these can hold a file the caller's operation fails instead.
std::vector<std::string> ChooseBases(const std::string& directory) {
  std::vector<std::string> bases;
  // A base too long for the names formed on it is passed over like a missing one.
  if (!directory.empty() && DirExists(directory)) {
    const std::string base = WithTrailingBackslash(directory);
    if (TempCandidateFits(base)) bases.push_back(base);
  }
  const std::string temp = GetTempDir();
  if (!temp.empty() && TempCandidateFits(temp) && (bases.empty() || bases[0] != temp))
    bases.push_back(temp);
  return bases;
}

// Creates `name` only when nothing of that name exists: another process asking for a name at
// the same moment can never be handed the same file. Nobody else may write it, delete it or
// rename it while the handle is open; the holder may rename it (DELETE access).
UniqueFileHandle CreateNewFile(const std::string& name) {
  return UniqueFileHandle(::CreateFileA(name.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ,
                                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

UniqueFileHandle CreateTempFileWith(const std::string& directory,
                                    const std::function<bool(unsigned&)>& nextNumber,
                                    std::string& name) {
  unsigned number = 0;
  for (const std::string& base : ChooseBases(directory)) {
    for (int attempt = 0; attempt < kTempNameAttempts && nextNumber(number); ++attempt) {
      // A file or a directory of that name makes the creation fail: the next number is tried.
      const std::string candidate = FormatTempCandidate(base, attempt, number);
      UniqueFileHandle file = CreateNewFile(candidate);
      if (file) {
        name = candidate;
        return file;
      }
    }
  }
  name.clear();
  return UniqueFileHandle();
}

UniqueFileHandle CreateTempFile(const std::string& directory, std::string& name) {
  return CreateTempFileWith(directory, CryptoRandomNumber, name);
}

std::string MakeTempFileNameWith(const std::string& directory,
                                 const std::function<bool(unsigned&)>& nextNumber) {
  std::string name;
  CreateTempFileWith(directory, nextNumber, name);  // closed at once; the empty file stays
  return name;
}

std::string MakeTempFileName(const std::string& directory) {
  return MakeTempFileNameWith(directory, CryptoRandomNumber);
}

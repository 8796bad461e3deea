#include "env/temp_name.h"

#include "common/format.h"
#include "common/text.h"

std::string WithTrailingBackslash(const std::string& directory) {
  if (!directory.empty() && ReverseFindChar(directory, '\\') == directory.size() - 1) {
    return directory;
  }
  return directory + '\\';
}

bool TempCandidateFits(const std::string& base) {
  return base.size() + kTempCandidateLength < kTempNameBufferSize;
}

std::string FormatTempCandidate(const std::string& base, int attempt, unsigned number) {
  // The modulus is 0xFFFFF, not 0x100000: the five hex digits never show 0xFFFFF itself.
  return Format("%st%02d%05x.tmp", base.c_str(), attempt, number % 0xFFFFFu);
}

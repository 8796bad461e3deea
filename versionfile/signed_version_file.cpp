#include "versionfile/signed_version_file.h"

#include "common/base64.h"
#include "common/text.h"
#include "ini/ini_document.h"

namespace {

const char kSignatureSection[] = "SIGNATURE";
const char kSignatureKey[] = "ECDSA_P256_SHA256";

// Walks a version file's lines in its own units: bytes, or UTF-16LE units after an FF FE
// mark. A line holds its units as narrow text (a UTF-16 unit above 0x7F becomes '?', which
// is never blank and never part of the names looked for) with carriage returns dropped, as
// the INI reader drops them.
class UnitLines {
 public:
  explicit UnitLines(std::string_view file) : m_file(file) {
    if (file.size() >= 2 && static_cast<uint8_t>(file[0]) == 0xFF &&
        static_cast<uint8_t>(file[1]) == 0xFE) {
      m_unitSize = 2;
      m_position = 2;
    }
  }

  // False at the end of the file. `start` is the byte offset where the line begins;
  // `stopped` tells that a NUL unit or half a unit ended it instead of a line feed or the end.
  bool Next(size_t& start, std::string& line, bool& stopped) {
    if (m_position >= m_file.size()) return false;
    start = m_position;
    line.clear();
    stopped = false;
    while (m_position < m_file.size()) {
      if (m_file.size() - m_position < m_unitSize) {
        stopped = true;
        m_position = m_file.size();
        break;
      }
      unsigned unit = static_cast<uint8_t>(m_file[m_position]);
      if (m_unitSize == 2)
        unit |= static_cast<unsigned>(static_cast<uint8_t>(m_file[m_position + 1])) << 8;
      m_position += m_unitSize;
      if (unit == '\n') break;
      if (unit == 0) {
        stopped = true;
        m_position = m_file.size();
        break;
      }
      if (unit == '\r') continue;
      line += m_unitSize == 2 && unit > 0x7F ? '?' : static_cast<char>(unit);
    }
    return true;
  }

 private:
  std::string_view m_file;
  size_t m_unitSize = 1;
  size_t m_position = 0;
};

// "[SIGNATURE]" as the INI reader sees a section header: trimmed, name trimmed, any case.
bool IsSignatureHeader(const std::string& line) {
  const std::string trimmed = Trim(line);
  if (trimmed.size() < 2 || trimmed.front() != '[' || trimmed.back() != ']') return false;
  return EqualsNoCase(Trim(trimmed.substr(1, trimmed.size() - 2)), kSignatureSection);
}

bool ReadSignatureLine(const std::string& line, std::string& value) {
  const size_t equals = line.find('=');
  if (equals == std::string::npos) return false;
  if (!EqualsNoCase(Trim(line.substr(0, equals)), kSignatureKey)) return false;
  value = Trim(line.substr(equals + 1));
  return true;
}

}  // namespace

bool SplitSignedVersionFile(std::string_view file, std::string_view& signedBytes,
                            std::string& signatureText) {
  enum class Seeking { Header, Signature, End } seeking = Seeking::Header;
  UnitLines lines(file);
  size_t start = 0;
  size_t signedEnd = 0;
  bool stopped = false;
  std::string line, value;
  while (lines.Next(start, line, stopped)) {
    // A NUL ends the text for the INI reader; after the header it is more than a blank.
    if (stopped && seeking != Seeking::Header) return false;
    switch (seeking) {
      case Seeking::Header:
        if (stopped) return false;
        if (IsSignatureHeader(line)) {
          signedEnd = start;
          seeking = Seeking::Signature;
        }
        break;
      case Seeking::Signature:
        if (Trim(line).empty()) break;
        if (!ReadSignatureLine(line, value)) return false;
        seeking = Seeking::End;
        break;
      case Seeking::End:
        if (!Trim(line).empty()) return false;
        break;
    }
  }
  if (seeking != Seeking::End) return false;
  signedBytes = file.substr(0, signedEnd);
  signatureText = value;
  return true;
}

bool FindSignatureHeader(std::string_view file, size_t& offset) {
  UnitLines lines(file);
  size_t start = 0;
  bool stopped = false;
  std::string line;
  while (lines.Next(start, line, stopped) && !stopped) {
    if (IsSignatureHeader(line)) {
      offset = start;
      return true;
    }
  }
  return false;
}

bool ReadIssued(std::string_view file, uint64_t& issued) {
  IniDocument document;
  document.LoadBuffer(file.data(), file.size());
  // A value never holds a line feed, so this default cannot be mistaken for one.
  const std::string text = document.GetValue("GENERAL", "ISSUED", "\n");
  if (text.empty() || text.size() > 20) return false;
  uint64_t value = 0;
  for (char digit : text) {
    if (digit < '0' || digit > '9') return false;
    const uint64_t next = value * 10 + static_cast<uint64_t>(digit - '0');
    if (value > UINT64_MAX / 10 || next < value * 10) return false;
    value = next;
  }
  issued = value;
  return true;
}

bool FindPublicKeySetting(const IniDocument& launcherIni, std::string& value) {
  const std::string found = launcherIni.GetValue("GENERAL", "PUBLIC_KEY", "\n");
  if (found == "\n") return false;
  value = found;
  return true;
}

bool FindFeedIdSetting(const IniDocument& launcherIni, std::string& value) {
  const std::string found = launcherIni.GetValue("GENERAL", "FEED_ID", "\n");
  if (found == "\n") return false;
  value = found;
  return true;
}

bool ParsePublicKeyList(const std::string& text, std::vector<EcP256Point>& keys) {
  std::vector<EcP256Point> parsed;
  for (const std::string& item : SplitCommaList(text)) {
    std::string der;
    EcP256Point point;
    if (item.empty() || !DecodeBase64(item, der) || !ParseP256PublicKeyInfo(der, point))
      return false;
    parsed.push_back(point);
  }
  keys = std::move(parsed);
  return true;
}

#include "tools/zupublish/pe_signature.h"

#include <cstdint>

namespace {

constexpr uint16_t kPe32Magic = 0x10B;
constexpr uint16_t kPe32PlusMagic = 0x20B;
constexpr uint32_t kSecurityDirectory = 4;
constexpr uint16_t kPkcsSignedData = 2;     // WIN_CERT_TYPE_PKCS_SIGNED_DATA
constexpr uint32_t kCertificateHeader = 8;  // dwLength, wRevision, wCertificateType

// Little-endian fields read only after the caller has checked they lie inside the file.
uint16_t Read16(std::string_view bytes, uint64_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1])
                                                                     << 8);
}
uint32_t Read32(std::string_view bytes, uint64_t at) {
  return static_cast<uint32_t>(Read16(bytes, at)) | static_cast<uint32_t>(Read16(bytes, at + 2))
                                                        << 16;
}

bool Fails(std::string& error, const char* why) {
  error = why;
  return false;
}

}  // namespace

bool FindPeSignature(std::string_view file, std::string_view& pkcs7, std::string& error) {
  // Offsets are 64-bit: a 32-bit field added to another can pass 4 GiB.
  const uint64_t size = file.size();
  if (size < 0x40 || file.substr(0, 2) != "MZ") return Fails(error, "not a PE file (no MZ header)");
  const uint64_t pe = Read32(file, 0x3C);
  if (pe + 24 > size || file.substr(pe, 4) != std::string_view("PE\0\0", 4))
    return Fails(error, "not a PE file (no PE header)");
  const uint64_t optionalSize = Read16(file, pe + 20);
  const uint64_t optional = pe + 24;
  if (optional + 2 > size || optionalSize < 2)
    return Fails(error, "not a PE file (no optional header)");
  uint64_t countAt = 0;
  switch (Read16(file, optional)) {
    case kPe32Magic:
      countAt = optional + 92;
      break;
    case kPe32PlusMagic:
      countAt = optional + 108;
      break;
    default:
      return Fails(error, "not a PE file (unknown optional header)");
  }
  const uint64_t entryAt = countAt + 4 + kSecurityDirectory * 8;
  if (entryAt + 8 > optional + optionalSize || entryAt + 8 > size ||
      Read32(file, countAt) <= kSecurityDirectory)
    return Fails(error, "not signed (the file has no security directory)");
  const uint64_t tableAt = Read32(file, entryAt);
  const uint64_t tableSize = Read32(file, entryAt + 4);
  if (tableAt == 0 || tableSize == 0) return Fails(error, "not signed (no certificate table)");
  if (tableAt + tableSize > size)
    return Fails(error, "the certificate table runs past the file's end");
  const uint64_t length = tableSize >= kCertificateHeader ? Read32(file, tableAt) : 0;
  if (length <= kCertificateHeader || length > tableSize)
    return Fails(error, "the certificate table's first entry is cut short");
  if (Read16(file, tableAt + 6) != kPkcsSignedData)
    return Fails(error, "the certificate table's first entry is not PKCS#7 SignedData");
  pkcs7 = file.substr(tableAt + kCertificateHeader, length - kCertificateHeader);
  return true;
}

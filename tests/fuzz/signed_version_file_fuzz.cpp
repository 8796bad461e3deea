// Feeds arbitrary bytes to every decoder of signed version files: the file splitter and the
// ISSUED reader, the key list, base64, and the two DER forms. Besides not crashing, each
// decoder must be strict: what it accepts is exactly the one encoding of what it gave back.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "common/base64.h"
#include "common/ecdsa_p256_encoding.h"
#include "versionfile/signed_version_file.h"

namespace {

const uint8_t kInfoHeader[] = {0x30, 0x59, 0x30, 0x13, 0x06, 0x07, 0x2A, 0x86, 0x48,
                               0xCE, 0x3D, 0x02, 0x01, 0x06, 0x08, 0x2A, 0x86, 0x48,
                               0xCE, 0x3D, 0x03, 0x01, 0x07, 0x03, 0x42, 0x00, 0x04};

// Minimal DER of a scalar: leading zero bytes dropped, one put back before a high bit.
std::string Integer(const uint8_t* scalar) {
  size_t skip = 0;
  while (skip < 31 && scalar[skip] == 0) ++skip;
  std::string content(reinterpret_cast<const char*>(scalar + skip), 32 - skip);
  if (static_cast<uint8_t>(content[0]) & 0x80) content.insert(0, 1, '\0');
  return std::string("\x02", 1) + static_cast<char>(content.size()) + content;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  std::string_view signedBytes;
  std::string signatureText;
  size_t header = 0;
  const bool hasHeader = FindSignatureHeader(input, header);
  if (SplitSignedVersionFile(input, signedBytes, signatureText)) {
    // The signed bytes are the file up to the header line, never beyond.
    Check(hasHeader && signedBytes.data() == input.data() && signedBytes.size() == header);
  }
  uint64_t issued = 0;
  ReadIssued(input, issued);
  std::vector<EcP256Point> keys;
  ParsePublicKeyList(std::string(input), keys);

  std::string bytes;
  if (DecodeBase64(input, bytes)) Check(EncodeBase64(bytes) == input);

  EcP256Point point;
  if (ParseP256PublicKeyInfo(input, point)) {
    Check(size == sizeof kInfoHeader + 64 &&
          std::memcmp(data, kInfoHeader, sizeof kInfoHeader) == 0 &&
          std::memcmp(data + sizeof kInfoHeader, point.data(), 64) == 0);
  }
  EcdsaP256Signature signature;
  if (ParseEcdsaP256Signature(input, signature)) {
    const std::string pair = Integer(signature.data()) + Integer(signature.data() + 32);
    Check(std::string("\x30", 1) + static_cast<char>(pair.size()) + pair == input);
  }
  return 0;
}

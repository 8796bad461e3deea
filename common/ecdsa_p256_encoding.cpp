#include "common/ecdsa_p256_encoding.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint8_t kTagInteger = 0x02;
constexpr uint8_t kTagBitString = 0x03;
constexpr uint8_t kTagObjectId = 0x06;
constexpr uint8_t kTagSequence = 0x30;

// 1.2.840.10045.2.1 and 1.2.840.10045.3.1.7, as their DER contents.
const uint8_t kIdEcPublicKey[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x02, 0x01};
const uint8_t kPrime256v1[] = {0x2A, 0x86, 0x48, 0xCE, 0x3D, 0x03, 0x01, 0x07};

const uint8_t kFieldPrime[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00,
                                 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF,
                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
const uint8_t kGroupOrder[32] = {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF,
                                 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xBC, 0xE6, 0xFA, 0xAD, 0xA7, 0x17,
                                 0x9E, 0x84, 0xF3, 0xB9, 0xCA, 0xC2, 0xFC, 0x63, 0x25, 0x51};

// Reads one element after another from a DER buffer. Lengths must use the shortest form;
// the two structures here never need more than two length bytes.
class DerReader {
 public:
  explicit DerReader(std::string_view der) : m_der(der) {}
  bool AtEnd() const { return m_position == m_der.size(); }

  bool Read(uint8_t tag, std::string_view& content) {
    if (m_der.size() - m_position < 2) return false;
    if (static_cast<uint8_t>(m_der[m_position]) != tag) return false;
    size_t length = static_cast<uint8_t>(m_der[m_position + 1]);
    size_t position = m_position + 2;
    if (length & 0x80) {
      const size_t lengthBytes = length & 0x7F;
      if (lengthBytes == 0 || lengthBytes > 2 || m_der.size() - position < lengthBytes)
        return false;
      length = 0;
      for (size_t i = 0; i < lengthBytes; ++i)
        length = length << 8 | static_cast<uint8_t>(m_der[position + i]);
      position += lengthBytes;
      // The long form only for lengths the short form cannot hold, and no leading zero byte.
      if (length < 0x80 || (lengthBytes == 2 && length < 0x100)) return false;
    }
    if (m_der.size() - position < length) return false;
    content = m_der.substr(position, length);
    m_position = position + length;
    return true;
  }

 private:
  std::string_view m_der;
  size_t m_position = 0;
};

bool Equals(std::string_view content, const uint8_t* bytes, size_t size) {
  return content.size() == size && std::memcmp(content.data(), bytes, size) == 0;
}

bool Below(const uint8_t* value, const uint8_t (&limit)[32]) {
  return std::lexicographical_compare(value, value + 32, limit, limit + 32);
}

// A positive INTEGER of at most 32 significant bytes, minimally encoded, in 1 .. n-1.
bool ReadScalar(DerReader& reader, uint8_t* out) {
  std::string_view content;
  if (!reader.Read(kTagInteger, content) || content.empty()) return false;
  const auto first = static_cast<uint8_t>(content[0]);
  if (first & 0x80) return false;  // negative
  if (first == 0) {
    // A leading zero only to keep a high bit from reading as a sign.
    if (content.size() == 1 || !(static_cast<uint8_t>(content[1]) & 0x80)) return false;
    content.remove_prefix(1);
  }
  if (content.size() > 32) return false;
  uint8_t value[32] = {};
  std::memcpy(value + 32 - content.size(), content.data(), content.size());
  const uint8_t zero[32] = {};
  if (std::memcmp(value, zero, 32) == 0 || !Below(value, kGroupOrder)) return false;
  std::memcpy(out, value, 32);
  return true;
}

}  // namespace

bool ParseP256PublicKeyInfo(std::string_view der, EcP256Point& point) {
  DerReader outer(der);
  std::string_view info, algorithm, algorithmId, curveId, key;
  if (!outer.Read(kTagSequence, info) || !outer.AtEnd()) return false;
  DerReader fields(info);
  if (!fields.Read(kTagSequence, algorithm) || !fields.Read(kTagBitString, key) || !fields.AtEnd())
    return false;
  DerReader ids(algorithm);
  if (!ids.Read(kTagObjectId, algorithmId) || !ids.Read(kTagObjectId, curveId) || !ids.AtEnd())
    return false;
  if (!Equals(algorithmId, kIdEcPublicKey, sizeof kIdEcPublicKey) ||
      !Equals(curveId, kPrime256v1, sizeof kPrime256v1))
    return false;
  // No unused bits, then the uncompressed point.
  if (key.size() != 66 || key[0] != 0 || key[1] != 4) return false;
  const auto* coordinates = reinterpret_cast<const uint8_t*>(key.data() + 2);
  if (!Below(coordinates, kFieldPrime) || !Below(coordinates + 32, kFieldPrime)) return false;
  std::memcpy(point.data(), coordinates, 64);
  return true;
}

bool ParseEcdsaP256Signature(std::string_view der, EcdsaP256Signature& signature) {
  DerReader outer(der);
  std::string_view pair;
  if (!outer.Read(kTagSequence, pair) || !outer.AtEnd()) return false;
  DerReader scalars(pair);
  EcdsaP256Signature result;
  if (!ReadScalar(scalars, result.data()) || !ReadScalar(scalars, result.data() + 32) ||
      !scalars.AtEnd())
    return false;
  signature = result;
  return true;
}

#include "common/sha256_win.h"

#include <windows.h>
#include <bcrypt.h>

#include <vector>

Sha256::Sha256() {
  BCRYPT_ALG_HANDLE algorithm = nullptr;
  if (::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0) != 0) return;
  m_algorithm = algorithm;
  BCRYPT_HASH_HANDLE hash = nullptr;
  if (::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0) != 0) return;
  m_hash = hash;
}

Sha256::~Sha256() {
  if (m_hash) ::BCryptDestroyHash(m_hash);
  if (m_algorithm) ::BCryptCloseAlgorithmProvider(m_algorithm, 0);
}

bool Sha256::Update(const void* data, size_t length) {
  if (!m_hash) return false;
  const auto* bytes = static_cast<const unsigned char*>(data);
  // BCryptHashData takes a 32-bit length: feed huge buffers in slices.
  while (length > 0) {
    const ULONG slice = length > 0x40000000u ? 0x40000000u : static_cast<ULONG>(length);
    if (::BCryptHashData(m_hash, const_cast<PUCHAR>(bytes), slice, 0) != 0) return false;
    bytes += slice;
    length -= slice;
  }
  return true;
}

bool Sha256::Finish(Sha256Digest& digest) {
  if (!m_hash) return false;
  Sha256Digest result{};
  const bool finished =
      ::BCryptFinishHash(m_hash, result.data(), static_cast<ULONG>(result.size()), 0) == 0;
  ::BCryptDestroyHash(m_hash);
  m_hash = nullptr;
  if (finished) digest = result;
  return finished;
}

bool HashFileSha256(void* fileHandle, Sha256Digest& digest) {
  Sha256 hash;
  std::vector<unsigned char> buffer(1 << 20);
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(fileHandle, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr))
      return false;
    if (read == 0) break;
    if (!hash.Update(buffer.data(), read)) return false;
  }
  return hash.Finish(digest);
}

bool HashBytesSha256(std::string_view bytes, Sha256Digest& digest) {
  Sha256 hash;
  return hash.Update(bytes.data(), bytes.size()) && hash.Finish(digest);
}

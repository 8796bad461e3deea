// SHA-256 through the system's cryptography provider (BCrypt). Fed in pieces, so a file of any
// size is hashed with a small buffer. One object per digest; any thread, not shared.
#pragma once

#include <cstddef>
#include <string_view>

#include "common/hex_digest.h"

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;

  // False when the provider could not be opened; Update and Finish then fail too.
  bool IsReady() const { return m_hash != nullptr; }
  bool Update(const void* data, size_t length);
  // Ends the digest; the object cannot be fed afterwards.
  bool Finish(Sha256Digest& digest);

 private:
  void* m_algorithm = nullptr;  // BCRYPT_ALG_HANDLE
  void* m_hash = nullptr;       // BCRYPT_HASH_HANDLE
};

// Digest of the bytes of an open file from its current position to its end, read through the
// given handle (so the caller decides who else may write meanwhile). False on a read error.
bool HashFileSha256(void* fileHandle, Sha256Digest& digest);

// Digest of a byte string held in memory.
bool HashBytesSha256(std::string_view bytes, Sha256Digest& digest);

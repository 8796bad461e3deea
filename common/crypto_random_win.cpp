#include "common/crypto_random_win.h"

#include <windows.h>
// after windows.h, whose types it needs
#include <bcrypt.h>

bool CryptoRandomNumber(unsigned& number) {
  return ::BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&number), sizeof number,
                           BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

bool CryptoRandomBytes(void* bytes, size_t count) {
  return ::BCryptGenRandom(nullptr, static_cast<PUCHAR>(bytes), static_cast<ULONG>(count),
                           BCRYPT_USE_SYSTEM_PREFERRED_RNG) == 0;
}

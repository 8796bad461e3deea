// Numbers nobody can predict or repeat: the system's cryptographic random generator.
#pragma once

#include <cstddef>

// Fills `number` with random bits; false when the generator is not available.
bool CryptoRandomNumber(unsigned& number);

// Fills `count` bytes at `bytes` with random bits; false when the generator is not available.
bool CryptoRandomBytes(void* bytes, size_t count);

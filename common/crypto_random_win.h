// Numbers nobody can predict or repeat: the system's cryptographic random generator.
#pragma once

// Fills `number` with random bits; false when the generator is not available.
bool CryptoRandomNumber(unsigned& number);

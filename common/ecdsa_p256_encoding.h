// The two DER forms a vendor's key pair produces for the curve P-256, decoded into the plain
// forms the system's cryptography provider takes: a public key in SubjectPublicKeyInfo form
// becomes its 64-byte point X||Y, an ECDSA signature (SEQUENCE of two INTEGERs) becomes its
// 64-byte r||s. Decoding is strict DER; anything else is refused. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

using EcP256Point = std::array<uint8_t, 64>;         // X then Y, big-endian, 32 bytes each
using EcdsaP256Signature = std::array<uint8_t, 64>;  // r then s, big-endian, 32 bytes each

// SEQUENCE { SEQUENCE { id-ecPublicKey, prime256v1 }, BIT STRING { 04 X Y } } and nothing
// after it. A compressed point, another curve or algorithm, coordinates not below the field
// prime, or any non-minimal length gives false and leaves `point` untouched.
bool ParseP256PublicKeyInfo(std::string_view der, EcP256Point& point);

// SEQUENCE { INTEGER r, INTEGER s } and nothing after it, each integer minimally encoded and
// in 1 .. n-1 (n the order of the curve's group). False leaves `signature` untouched.
bool ParseEcdsaP256Signature(std::string_view der, EcdsaP256Signature& signature);

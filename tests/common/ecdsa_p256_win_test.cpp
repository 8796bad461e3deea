// BCrypt's ECDSA P-256 check against a signature the openssl command line made.
#include "common/ecdsa_p256_win.h"

#include <gtest/gtest.h>

#include <string>

#include "common/sha256_win.h"
#include "tests/common/ecdsa_test_vector.h"

namespace {

using ecdsa_test_vector::FromHex;

EcP256Point PointOf(const char* infoHex) {
  EcP256Point point{};
  EXPECT_TRUE(ParseP256PublicKeyInfo(FromHex(infoHex), point));
  return point;
}

TEST(EcdsaP256, VerifiesOpensslSignaturesAndNothingElse) {
  const EcP256Point key = PointOf(ecdsa_test_vector::kPublicKeyInfoHex);
  EcdsaP256Signature signature{};
  ASSERT_TRUE(ParseEcdsaP256Signature(FromHex(ecdsa_test_vector::kSignatureHex), signature));
  EcdsaP256Signature changedS = signature;
  changedS[63] ^= 1;
  EcP256Point offCurve = key;
  offCurve[63] ^= 1;
  const struct {
    const char* why;
    EcP256Point key;
    std::string message;
    EcdsaP256Signature signature;
    bool verified;
  } rows[] = {
      {"the signed message", key, ecdsa_test_vector::kMessage, signature, true},
      {"one byte of the message changed", key, "ZuLauncher test vectoR\n", signature, false},
      {"one bit of s changed", key, ecdsa_test_vector::kMessage, changedS, false},
      {"another key", PointOf(ecdsa_test_vector::kOtherPublicKeyInfoHex),
       ecdsa_test_vector::kMessage, signature, false},
      {"a point off the curve", offCurve, ecdsa_test_vector::kMessage, signature, false},
  };
  for (const auto& row : rows) {
    Sha256Digest digest{};
    ASSERT_TRUE(HashBytesSha256(row.message, digest));
    EXPECT_EQ(row.verified, VerifyEcdsaP256(row.key, digest, row.signature)) << row.why;
  }
}

}  // namespace

#include "common/ecdsa_p256_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/ecdsa_test_vector.h"

namespace {

using ecdsa_test_vector::FromHex;

const std::string kInfo = FromHex(ecdsa_test_vector::kPublicKeyInfoHex);
const std::string kSignature = FromHex(ecdsa_test_vector::kSignatureHex);
const std::string kInfoHeader = kInfo.substr(0, 27);  // up to and including the 04 of the point
const std::string kX = kInfo.substr(27, 32);
const std::string kY = kInfo.substr(59, 32);
const std::string kR = kSignature.substr(4, 32);
const std::string kS = kSignature.substr(38, 32);
const std::string kFieldPrime =
    FromHex("ffffffff00000001000000000000000000000000ffffffffffffffffffffffff");
const std::string kGroupOrder =
    FromHex("ffffffff00000000ffffffffffffffffbce6faada7179e84f3b9cac2fc632551");

std::string Replaced(std::string text, size_t position, const std::string& bytes) {
  return text.replace(position, bytes.size(), bytes);
}

std::string Integer(const std::string& content) {
  return std::string("\x02", 1) + static_cast<char>(content.size()) + content;
}
std::string Pair(const std::string& r, const std::string& s) {
  const std::string content = r + s;
  return std::string("\x30", 1) + static_cast<char>(content.size()) + content;
}

TEST(EcdsaP256Encoding, APublicKeyInfoGivesItsPoint) {
  EcP256Point point{};
  ASSERT_TRUE(ParseP256PublicKeyInfo(kInfo, point));
  EXPECT_EQ(kX + kY, std::string(point.begin(), point.end()));
}

TEST(EcdsaP256Encoding, AnythingButAnUncompressedP256KeyIsRefused) {
  const struct {
    const char* why;
    std::string der;
  } rows[] = {
      {"empty", ""},
      {"cut short", kInfo.substr(0, kInfo.size() - 1)},
      {"a byte after it", kInfo + std::string(1, '\0')},
      {"another algorithm OID", Replaced(kInfo, 10, "\x01")},
      {"another curve OID", Replaced(kInfo, 22, "\x34")},
      {"unused bits in the bit string", Replaced(kInfo, 25, "\x01")},
      {"compressed point marker", Replaced(kInfo, 26, "\x02")},
      {"X equal to the field prime", kInfoHeader + kFieldPrime + kY},
      {"Y equal to the field prime", kInfoHeader + kX + kFieldPrime},
      {"outer length in the long form", std::string("\x30\x81\x59", 3) + kInfo.substr(2)},
      {"outer tag not a SEQUENCE", Replaced(kInfo, 0, "\x31")},
      {"length past the end", Replaced(kInfo, 1, "\x5A")},
  };
  for (const auto& row : rows) {
    EcP256Point point{};
    point.fill(0x5A);
    EXPECT_FALSE(ParseP256PublicKeyInfo(row.der, point)) << row.why;
    EXPECT_EQ(0x5A, point[0]) << row.why;
  }
}

TEST(EcdsaP256Encoding, ASignatureGivesRAndSPaddedTo32Bytes) {
  const std::string highR = "\x80" + kR.substr(1);
  const std::string shortS = kS.substr(3);  // as DER writes an s with three leading zero bytes
  const struct {
    const char* why;
    std::string der;
    std::string rs;
  } rows[] = {
      {"openssl's signature", kSignature, kR + kS},
      {"a high r behind one zero byte", Pair(Integer('\0' + highR), Integer(kS)), highR + kS},
      {"a short s", Pair(Integer(kR), Integer(shortS)), kR + std::string(3, '\0') + shortS},
      {"r = 1", Pair(Integer("\x01"), Integer(kS)), std::string(31, '\0') + "\x01" + kS},
  };
  for (const auto& row : rows) {
    EcdsaP256Signature signature{};
    ASSERT_TRUE(ParseEcdsaP256Signature(row.der, signature)) << row.why;
    EXPECT_EQ(row.rs, std::string(signature.begin(), signature.end())) << row.why;
  }
}

TEST(EcdsaP256Encoding, AnythingButStrictDerInRangeIsRefused) {
  std::string orderMinusOne = kGroupOrder;
  orderMinusOne.back() = static_cast<char>(orderMinusOne.back() - 1);
  const struct {
    const char* why;
    std::string der;
    bool accepted;
  } rows[] = {
      {"n - 1 is the largest scalar", Pair(Integer('\0' + orderMinusOne), Integer(kS)), true},
      {"r = n", Pair(Integer('\0' + kGroupOrder), Integer(kS)), false},
      {"r = 0", Pair(Integer(std::string(1, '\0')), Integer(kS)), false},
      {"negative r", Pair(Integer("\x80" + kR.substr(1)), Integer(kS)), false},
      {"needless leading zero", Pair(Integer('\0' + kR), Integer(kS)), false},
      {"33 significant bytes", Pair(Integer("\x01" + kR), Integer(kS)), false},
      {"empty integer", Pair(Integer(""), Integer(kS)), false},
      {"only one integer", Pair(Integer(kR), ""), false},
      {"a third integer", Pair(Integer(kR), Integer(kS) + Integer("\x01")), false},
      {"a byte after the sequence", kSignature + std::string(1, '\0'), false},
      {"s tagged as a bit string", Replaced(kSignature, 36, "\x03"), false},
      {"sequence longer than the bytes", Replaced(kSignature, 1, "\x45"), false},
      {"long-form length for a short sequence",
       std::string("\x30\x81\x44", 3) + kSignature.substr(2), false},
  };
  for (const auto& row : rows) {
    EcdsaP256Signature signature{};
    EXPECT_EQ(row.accepted, ParseEcdsaP256Signature(row.der, signature)) << row.why;
  }
}

}  // namespace

#include "versionfile/signed_version_file.h"

#include <gtest/gtest.h>

#include <string>

#include "ini/ini_document.h"
#include "tests/common/ecdsa_test_vector.h"

namespace {

const std::string kBody = "[GENERAL]\r\nZULAUNCHER_VERSION=1000\r\nISSUED=1700000000\r\n";
const std::string kSignatureLine = "ECDSA_P256_SHA256=MEQCIA==\r\n";

std::string Utf16(const std::string& ascii) {
  std::string units;
  for (char ch : ascii) units += std::string(1, ch) + '\0';
  return units;
}

TEST(SignedVersionFile, SplitFindsTheSignedBytesAndTheSignature) {
  const std::string mark = "\xFF\xFE";
  const struct {
    const char* why;
    std::string file;
    size_t signedLength;
  } rows[] = {
      {"CRLF lines", kBody + "[SIGNATURE]\r\n" + kSignatureLine, kBody.size()},
      {"LF lines, no line break at the end",
       "[G]\nA=1\n[SIGNATURE]\nECDSA_P256_SHA256=MEQCIA==", 8},
      {"blank lines after it, and between",
       kBody + "[SIGNATURE]\r\n\r\n" + kSignatureLine + "\r\n \t\r\n", kBody.size()},
      {"header and key in another case, blanks around",
       kBody + " [ signature ] \r\necdsa_p256_sha256 = MEQCIA==\r\n", kBody.size()},
      {"the header as the first line", "[SIGNATURE]\r\n" + kSignatureLine, 0},
      {"UTF-16LE with its mark", mark + Utf16(kBody + "[SIGNATURE]\r\n" + kSignatureLine),
       2 + 2 * kBody.size()},
  };
  for (const auto& row : rows) {
    std::string_view signedBytes;
    std::string signature;
    ASSERT_TRUE(SplitSignedVersionFile(row.file, signedBytes, signature)) << row.why;
    EXPECT_EQ(row.file.substr(0, row.signedLength), signedBytes) << row.why;
    EXPECT_EQ("MEQCIA==", signature) << row.why;
  }
}

TEST(SignedVersionFile, AnythingButOneSignatureLineAndBlanksAfterTheHeaderIsUnsigned) {
  const std::string signedFile = kBody + "[SIGNATURE]\r\n" + kSignatureLine;
  const struct {
    const char* why;
    std::string file;
  } rows[] = {
      {"no header", kBody},
      {"header without the key", kBody + "[SIGNATURE]\r\n"},
      {"a section appended", signedFile + "[PROG]\r\nDOWN_URL=http://elsewhere/\r\n"},
      {"a second signature line", signedFile + kSignatureLine},
      {"a comment after it", signedFile + "; note\r\n"},
      {"another key in the section", kBody + "[SIGNATURE]\r\nOTHER=1\r\n" + kSignatureLine},
      {"a NUL after it", signedFile + std::string(1, '\0')},
      {"a NUL before the header",
       kBody + std::string(1, '\0') + "\r\n[SIGNATURE]\r\n" + kSignatureLine},
      {"header text after the bracket", kBody + "[SIGNATURE] x\r\n" + kSignatureLine},
      {"the key's name misspelt", kBody + "[SIGNATURE]\r\nECDSA_P256=MEQCIA==\r\n"},
      {"UTF-16LE file of odd length", "\xFF\xFE" + Utf16(signedFile) + "x"},
      {"narrow header in a UTF-16LE file",
       "\xFF\xFE" + Utf16(kBody) + "[SIGNATURE]\r\n" + kSignatureLine},
  };
  for (const auto& row : rows) {
    std::string_view signedBytes;
    std::string signature = "untouched";
    EXPECT_FALSE(SplitSignedVersionFile(row.file, signedBytes, signature)) << row.why;
  }
}

TEST(SignedVersionFile, IssuedIsADecimalNumberInGeneral) {
  const struct {
    const char* why;
    std::string file;
    bool found;
    uint64_t issued;
  } rows[] = {
      {"plain", kBody, true, 1700000000},
      {"largest 64-bit value", "[GENERAL]\nISSUED=18446744073709551615\n", true, UINT64_MAX},
      {"UTF-16LE", "\xFF\xFE" + Utf16(kBody), true, 1700000000},
      {"missing", "[GENERAL]\nZULAUNCHER_VERSION=1000\n", false, 0},
      {"in another section", "[PROG]\nISSUED=5\n", false, 0},
      {"empty", "[GENERAL]\nISSUED=\n", false, 0},
      {"signed", "[GENERAL]\nISSUED=-5\n", false, 0},
      {"trailing letters", "[GENERAL]\nISSUED=5x\n", false, 0},
      {"beyond 64 bits", "[GENERAL]\nISSUED=18446744073709551616\n", false, 0},
  };
  for (const auto& row : rows) {
    uint64_t issued = 7;
    EXPECT_EQ(row.found, ReadIssued(row.file, issued)) << row.why;
    EXPECT_EQ(row.found ? row.issued : 7u, issued) << row.why;
  }
}

TEST(SignedVersionFile, PublicKeyListTakesCommaSeparatedKeys) {
  const std::string key = ecdsa_test_vector::kPublicKeyBase64;
  const struct {
    const char* why;
    std::string text;
    size_t count;  // 0: refused
  } rows[] = {
      {"one key", key, 1},
      {"two keys, blanks around the comma", key + " , " + key, 2},
      {"empty", "", 0},
      {"a trailing comma", key + ",", 0},
      {"one good, one bad", key + ",AAAA", 0},
      {"not base64", key.substr(1), 0},
      {"a PEM header left in", "-----BEGIN PUBLIC KEY-----" + key, 0},
  };
  for (const auto& row : rows) {
    std::vector<EcP256Point> keys;
    EXPECT_EQ(row.count != 0, ParsePublicKeyList(row.text, keys)) << row.why;
    EXPECT_EQ(row.count, keys.size()) << row.why;
  }
}

TEST(SignedVersionFile, PublicKeySettingIsPresentEvenWhenEmpty) {
  const struct {
    const char* why;
    std::string ini;
    bool present;
  } rows[] = {
      {"absent", "[GENERAL]\nVERSION_FILE_URL=x\n", false},
      {"in another section", "[OTHER]\nPUBLIC_KEY=x\n", false},
      {"empty value", "[GENERAL]\nPUBLIC_KEY=\n", true},
      {"a value", "[general]\npublic_key=x\n", true},
  };
  for (const auto& row : rows) {
    IniDocument ini;
    ini.LoadBuffer(row.ini.data(), row.ini.size());
    std::string value;
    EXPECT_EQ(row.present, FindPublicKeySetting(ini, value)) << row.why;
  }
}

}  // namespace

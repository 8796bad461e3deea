// A vendor's key made on the spot (OpenSSL, as the vendor's tool makes it) and the signed
// version files it writes, for the native tests of the trust decisions.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "common/base64.h"
#include "tools/zupublish/openssl_crypto.h"

namespace signing_test {

constexpr int64_t kNow = 1'800'000'000;
constexpr uint64_t kIssued = 1'799'000'000;

struct Vendor {
  Vendor() {
    std::string pem, error;
    EXPECT_TRUE(GenerateP256Key(pem, publicKey, error)) << error;
    EXPECT_TRUE(LoadP256PrivateKey(pem, key, error)) << error;
  }
  // `general` goes into [GENERAL] after ZULAUNCHER_VERSION and ISSUED.
  std::string Sign(const std::string& general, uint64_t issued = kIssued) const {
    const std::string body = Unsigned(general, issued);
    std::string der;
    EXPECT_TRUE(SignSha256(key, body, der));
    return body + "[SIGNATURE]\r\nECDSA_P256_SHA256=" + EncodeBase64(der) + "\r\n";
  }
  static std::string Unsigned(const std::string& general, uint64_t issued) {
    return "[GENERAL]\r\nZULAUNCHER_VERSION=1000\r\nISSUED=" + std::to_string(issued) + "\r\n" +
           general + "[PROG]\r\nVERSION=5\r\nDOWN_URL=http://vendor/setup.exe\r\n";
  }
  PrivateKey key;
  std::string publicKey;
};

}  // namespace signing_test

// TEST-ONLY public data: a P-256 public key, a message and its ECDSA signature, made once with
// the openssl command line (the private key was thrown away), plus a second, unrelated public
// key. Hex text of the DER forms.
#pragma once

#include <string>

namespace ecdsa_test_vector {

inline std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return bytes;
}

const char kPublicKeyInfoHex[] =
    "3059301306072a8648ce3d020106082a8648ce3d03010703420004f89c04cf09ee6890bab0c125f67f0b837a5191"
    "8d67baafc0022a9038da2d0dc3e58c28c366d9ece4b4b746e72337a1bd0fbcca7b841527c2c851f573b2e978e2";
const char kOtherPublicKeyInfoHex[] =
    "3059301306072a8648ce3d020106082a8648ce3d03010703420004e22bf08d63ab131a452a26d3e274acc13b3f65"
    "5f0c908f6452c7873c420a553ee7a00369a030b888e169fbaccd83dc44bb368c7ea2f0e5518470b3844193246b";
const char kMessage[] = "ZuLauncher test vector\n";
const char kSignatureHex[] =
    "3044022034455894dc82e9c6c1bac842670c247288db73165be8d8a64f289d7296b0364302203d2099293e3e504c"
    "a1418ca9fa82955e433aea78f2d8ab0d56b163bdf1dc9f31";
// The same key and signature as the launcher INI and a version file carry them.
const char kPublicKeyBase64[] =
    "MFkwEwYHKoZIzj0CAQYIKoZIzj0DAQcDQgAE+JwEzwnuaJC6sMEl9n8Lg3pRkY1nuq/AAiqQONotDcPljCjDZtns5LS3"
    "RucjN6G9D7zKe4QVJ8LIUfVzsul44g==";

}  // namespace ecdsa_test_vector

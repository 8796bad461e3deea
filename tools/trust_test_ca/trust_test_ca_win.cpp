// trust_test_ca CERT.der: adds the DER certificate to the current user's Root store, so that
// WinINet in this Wine prefix (and only there) trusts the loopback TLS test server. Exit code
// 0 when the certificate is in the store afterwards. No dialog appears under Wine.
#include <windows.h>
// after <windows.h>, which it needs
#include <wincrypt.h>

#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: trust_test_ca CERT.der\n");
    return 2;
  }
  std::FILE* file = std::fopen(argv[1], "rb");
  if (!file) {
    std::fprintf(stderr, "trust_test_ca: cannot read %s\n", argv[1]);
    return 1;
  }
  std::vector<BYTE> der;
  BYTE chunk[4096];
  for (size_t read; (read = std::fread(chunk, 1, sizeof(chunk), file)) > 0;)
    der.insert(der.end(), chunk, chunk + read);
  std::fclose(file);

  HCERTSTORE store =
      ::CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
  if (!store) {
    std::fprintf(stderr, "trust_test_ca: no Root store (error %lu)\n", ::GetLastError());
    return 1;
  }
  const BOOL added = ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
  const DWORD error = ::GetLastError();
  ::CertCloseStore(store, 0);
  if (!added) {
    std::fprintf(stderr, "trust_test_ca: not added (error 0x%lx)\n", error);
    return 1;
  }
  return 0;
}

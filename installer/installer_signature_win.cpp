#include "installer/installer_signature_win.h"

#include <softpub.h>
#include <wincrypt.h>
#include <wintrust.h>

#include <vector>

#include "common/sha256_win.h"

static_assert(kTrustNoSignature == static_cast<uint32_t>(TRUST_E_NOSIGNATURE));
static_assert(kTrustBadDigest == static_cast<uint32_t>(TRUST_E_BAD_DIGEST));

namespace {

// One verification of one file. A verification that kept its state must be closed with the
// same record, so the record and the state live in one owner.
class TrustVerification {
 public:
  TrustVerification(HANDLE file, const std::wstring& path) {
    m_file.cbStruct = sizeof m_file;
    m_file.pcwszFilePath = path.c_str();
    m_file.hFile = file;
    m_data.cbStruct = sizeof m_data;
    m_data.dwUIChoice = WTD_UI_NONE;
    // Revocation is checked for the whole chain, but only against what the machine has
    // cached: an offline machine must never wait on a revocation server before installing.
    m_data.fdwRevocationChecks = WTD_REVOKE_WHOLECHAIN;
    m_data.dwProvFlags = WTD_CACHE_ONLY_URL_RETRIEVAL | WTD_REVOCATION_CHECK_CHAIN_EXCLUDE_ROOT;
    m_data.dwUnionChoice = WTD_CHOICE_FILE;
    m_data.pFile = &m_file;
    // Kept open after the verification, so the signer's certificate can be read from it.
    m_data.dwStateAction = WTD_STATEACTION_VERIFY;
  }
  ~TrustVerification() {
    if (!m_verified) return;
    m_data.dwStateAction = WTD_STATEACTION_CLOSE;
    Call();
  }
  TrustVerification(const TrustVerification&) = delete;
  TrustVerification& operator=(const TrustVerification&) = delete;

  uint32_t Verify() {
    m_verified = true;
    return static_cast<uint32_t>(Call());
  }

  // The DER bytes of the certificate that signed the file; false when there is none.
  bool SignerCertificate(std::string& der) const {
    CRYPT_PROVIDER_DATA* provider = ::WTHelperProvDataFromStateData(m_data.hWVTStateData);
    if (!provider) return false;
    CRYPT_PROVIDER_SGNR* signer = ::WTHelperGetProvSignerFromChain(provider, 0, FALSE, 0);
    if (!signer || signer->csCertChain == 0 || !signer->pasCertChain) return false;
    const CERT_CONTEXT* certificate = signer->pasCertChain[0].pCert;
    if (!certificate || !certificate->pbCertEncoded) return false;
    der.assign(reinterpret_cast<const char*>(certificate->pbCertEncoded),
               certificate->cbCertEncoded);
    return true;
  }

 private:
  LONG Call() {
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    // INVALID_HANDLE_VALUE as the window: no interactive user, nothing is ever shown.
    return ::WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &m_data);
  }

  WINTRUST_FILE_INFO m_file{};
  WINTRUST_DATA m_data{};
  bool m_verified = false;
};

std::wstring WidePath(const std::string& path) {
  const int units =
      ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  if (units <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(units), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), units);
  return wide;
}

}  // namespace

void VerifyInstallerSignature(HANDLE file, const std::string& path, InstallerSignature& signature) {
  signature = InstallerSignature{};
  // The check before this one read the file to its end through the same handle.
  LARGE_INTEGER start{};
  ::SetFilePointerEx(file, start, nullptr, FILE_BEGIN);
  const std::wstring widePath = WidePath(path);
  TrustVerification verification(file, widePath);
  signature.trustResult = verification.Verify();
  if (signature.trustResult != 0) return;
  std::string der;
  Sha256Digest digest{};
  if (verification.SignerCertificate(der) && HashBytesSha256(der, digest))
    signature.signer = digest;
}

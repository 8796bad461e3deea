// The vendor's pin on the installer's code signature: GENERAL/INSTALLER_SIGNER of the launcher
// INI lists the SHA-256 digests (of the DER bytes) of the certificates that may sign
// installers, and an installer runs only when its signature verifies and its signer is one
// of them. This file reads the pin and judges what the system's verification found; the
// Windows side (installer_signature_win.h) verifies the file. Portable.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/hex_digest.h"

class IniDocument;

// The launcher INI's GENERAL/INSTALLER_SIGNER as written; nothing when the key is absent. A
// present but empty key is a pin (a malformed one), never the absence of one.
std::optional<std::string> FindInstallerSignerSetting(const IniDocument& launcherIni);

// What the system's signature verification said about one file: its result (0 when the
// signature and its chain verify; otherwise an HRESULT such as those below) and, when it
// verified, the digest of the signer's certificate (nothing when it could not be read).
struct InstallerSignature {
  uint32_t trustResult = 0;
  std::optional<Sha256Digest> signer;
};

// The verification results that get words of their own in the log line.
constexpr uint32_t kTrustNoSignature = 0x800B0100;  // TRUST_E_NOSIGNATURE
constexpr uint32_t kTrustBadDigest = 0x80096010;    // TRUST_E_BAD_DIGEST

// Empty when `signature` meets the pin `signerSetting` (INSTALLER_SIGNER as written: one or
// more 64-digit hexadecimal digests, either case, separated by commas, blanks around each);
// otherwise the log line that names why not: a malformed pin, no signature, a bad digest
// (the file changed after signing), not trusted (with the result), or a signer not pinned.
std::string CheckInstallerSigner(const std::string& signerSetting,
                                 const InstallerSignature& signature);

// The system's Authenticode verification of a downloaded installer (WinTrust, loaded from the
// system folder on first use like the other heavy DLLs), read through a handle the caller
// already holds, so the bytes verified are the bytes checked and run. Any thread; the
// verification shows no user interface.
#pragma once

#include <windows.h>

#include <string>

#include "installer/installer_signer.h"

// Verifies the signature of the open file `file` (at `path`, which names it to the system)
// and, when it verifies, reads the digest of its signer's certificate. Always fills
// `signature`; the pin is judged afterwards (CheckInstallerSigner).
void VerifyInstallerSignature(HANDLE file, const std::string& path, InstallerSignature& signature);

// What the version file says the published installer is (DOWN_SIZE, DOWN_SHA256), who the
// launcher INI says must have signed it (INSTALLER_SIGNER, judged in installer_signer.h), and
// the judgement of a downloaded file against it, with the log line that names a failed check.
// Portable; the Windows side (installer_check_win.h) opens, measures, hashes and verifies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/hex_digest.h"

struct InstallerExpectation {
  std::string size;    // DOWN_SIZE as written: decimal digits; empty = not checked
  std::string sha256;  // DOWN_SHA256 as written: 64 hex digits, either case; empty = not checked
  // INSTALLER_SIGNER of the launcher INI as written; nothing = the signature is not checked.
  std::optional<std::string> signer;
};

// DOWN_SIZE as a byte count: decimal digits only, at most 18 of them. False otherwise.
bool ParseInstallerSize(const std::string& text, int64_t& size);

// The transfer's size limit: -1 without DOWN_SIZE, the byte count with one, and 0 when
// DOWN_SIZE is malformed (no file can meet it, so nothing need be stored).
int64_t InstallerSizeLimit(const InstallerExpectation& expectation);

// The size the progress bar's full width stands for when the server announces none: the
// byte count of DOWN_SIZE, or -1 when there is no usable one.
int64_t InstallerExpectedSize(const InstallerExpectation& expectation);

// Empty when a complete file of `size` bytes meets DOWN_SIZE (or there is none); otherwise
// the log line with the expected and the received size. A malformed DOWN_SIZE never matches.
std::string CheckInstallerSize(const InstallerExpectation& expectation, int64_t size);

// The log line for a transfer stopped because the body ran past DOWN_SIZE: `offered` bytes
// were sent or announced by then.
std::string InstallerSizeExceeded(const InstallerExpectation& expectation, int64_t offered);

// Empty when `digest` matches DOWN_SHA256 (or there is none); otherwise the log line with the
// expected text and the received digest. A malformed DOWN_SHA256 (not exactly 64 hex digits)
// never matches: it is a mismatch, not a missing key.
std::string CheckInstallerDigest(const InstallerExpectation& expectation,
                                 const Sha256Digest& digest);

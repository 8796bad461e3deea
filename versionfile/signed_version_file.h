// The signed form of the version file. A vendor signs the file by appending a last section
//   [SIGNATURE]
//   ECDSA_P256_SHA256=<base64 of the DER ECDSA P-256 signature>
// over the SHA-256 of every byte before the line that opens that section; only blank lines
// may follow the signature line. GENERAL/ISSUED, a decimal number that grows from release to
// release, orders signed files so that an older one cannot be replayed. The launcher INI
// names the keys that may sign: GENERAL/PUBLIC_KEY, base64 SubjectPublicKeyInfo texts
// separated by commas. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/ecdsa_p256_encoding.h"

class IniDocument;

// Finds the line that opens [SIGNATURE] (the first one that does: at the start of the file
// or after a line feed, read as the INI reader reads lines) and the key line in that
// section. True when the file is signed in form: `signedBytes` (a view into `file`) and
// the key's value. A UTF-16LE file with its mark is read in UTF-16LE units; its signed bytes
// are still the raw bytes, mark included. False when there is no such section, the section
// holds anything but the one key, or anything but blank lines follows it (a NUL included).
bool SplitSignedVersionFile(std::string_view file, std::string_view& signedBytes,
                            std::string& signatureText);

// Where the line that opens [SIGNATURE] begins (as above), whatever follows it. False when
// no such line comes before the end of the text (its first NUL).
bool FindSignatureHeader(std::string_view file, size_t& offset);

// GENERAL/ISSUED of a version file's bytes (narrow or UTF-16LE with mark): one to twenty
// decimal digits that fit 64 bits, nothing else. False when it is missing or malformed.
bool ReadIssued(std::string_view file, uint64_t& issued);

// The launcher INI's GENERAL/PUBLIC_KEY: true when the key is present (even empty).
bool FindPublicKeySetting(const IniDocument& launcherIni, std::string& value);
// The launcher INI's GENERAL/FEED_ID, the name of the feed its signed files must be for: true
// when the key is present (even empty).
bool FindFeedIdSetting(const IniDocument& launcherIni, std::string& value);

// One or more base64 SubjectPublicKeyInfo P-256 keys separated by commas (blanks around
// each allowed). False, with `keys` untouched, when any item is empty or not such a key.
bool ParsePublicKeyList(const std::string& text, std::vector<EcP256Point>& keys);

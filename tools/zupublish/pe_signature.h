// Where a Windows program keeps its Authenticode signature: the certificate table that the
// optional header's security directory points at (a file offset, not an address in memory),
// whose first entry holds the PKCS#7 SignedData the launcher's system verification reads.
// Portable: zupublish reads installers on the vendor's Linux machine.
#pragma once

#include <string>
#include <string_view>

// The DER bytes of the first signature of the PE file `file` (a view into it). False with
// the reason in `error` when the file is no PE file, is unsigned, or its table is cut short
// or holds something other than PKCS#7 SignedData.
bool FindPeSignature(std::string_view file, std::string_view& pkcs7, std::string& error);

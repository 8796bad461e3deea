// How the XML attribute getters read numbers, without the C library's undefined behaviour on
// out-of-range values. Portable.
#pragma once

#include <string>

// Like atoi: leading whitespace (space, \t, \n, \v, \f, \r), an optional sign, decimal
// digits up to the first other byte; no digits give 0. Values beyond the int range are
// clamped to INT_MIN or INT_MAX.
int ParseIntLikeAtoi(const std::string& text);

// Like sscanf with "%u": leading whitespace, an optional sign, then at least one decimal
// digit, else false and `out` untouched. The value is taken modulo 2^32, and a "-" negates
// it modulo 2^32 ("-1" gives 4294967295).
bool ScanUnsignedLikeScanf(const std::string& text, unsigned& out);

// The path rule of the INI profile functions: a relative INI name is anchored at the
// module directory, not at the current directory. Portable; any thread.
#pragma once

#include <string>

// `path` unchanged when it contains a colon anywhere or begins with two backslashes (a
// network path); otherwise `moduleDirectory` (which ends in a backslash) followed by `path`,
// so a path beginning with one backslash gives two at the seam. Multibyte-aware.
std::string ResolveIniPathAt(const std::string& path, const std::string& moduleDirectory);

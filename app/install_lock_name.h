// The name of the lock that lets one launcher at a time install a program: per user session
// ("Local\"), derived from the program's id and the registry value path its install directory
// is read from, letter case aside (the version file's sections and registry paths ignore it).
// The id itself never appears: only a digest, so the name says nothing about what is
// installed and no id can make it malformed. Portable.
#pragma once

#include <string>

std::string InstallLockName(const std::string& programId, const std::string& pathRegistry);

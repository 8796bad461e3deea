// The staged-rollout arithmetic that the launcher and zupublish share: a section's ROLLOUT
// share, an install id's shape and an install's bucket for one offered version. The decision
// itself, with the floor and the install id's keeping, is the launcher's (app/rollout.h).
// Portable.
#pragma once

#include <optional>
#include <string>

// The share that offers a version to every install.
constexpr int kWholeRolloutShare = 100;

// The share ROLLOUT gives: 100 when the value is empty (absent); a whole number 0 to 100
// written in decimal digits alone; nothing for any other text (offered to nobody).
std::optional<int> ParseRolloutShare(const std::string& text);

// The first four bytes, big-endian, of the SHA-256 of "<installId>:<programId>:<version>.<minor>"
// (the numbers in decimal), modulo 100. The version is offered when the bucket is below the
// share.
int RolloutBucket(const std::string& installId, const std::string& programId, int version,
                  int minorVersion);

// The shape of an install id: exactly 32 characters of 0-9 a-f.
bool IsInstallIdShape(const std::string& id);

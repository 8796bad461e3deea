// Whole-file reads and writes for zupublish. A write goes to a temporary file beside the
// target and is renamed over it, so the target is either the old file or the new one, never
// half of either. Messages for the user go to `error`.
#pragma once

#include <string>

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);

// Replaces `path` (which keeps its permission bits when it exists).
bool ReplaceFileAtomically(const std::string& path, const std::string& bytes, std::string& error);

// Creates `path` with owner-only permissions; fails when it exists already (keys are never
// overwritten).
bool CreateNewPrivateFile(const std::string& path, const std::string& bytes, std::string& error);

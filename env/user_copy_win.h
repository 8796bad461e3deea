// This user's own copy of a file the launcher keeps beside itself (see env/user_copy.h): where
// it lies, its folder, and whether the folder beside the launcher refuses this user's files.
// Any thread.
#pragma once

#include <string>

// Full path of the user's own copy of the file at `path` (made full first), below his local
// application data folder (LOCALAPPDATA, else the shell's folder of that name). Empty when the
// user has none or the path names no file.
std::string UserCopyOf(const std::string& path);

// Creates the folder of `userCopy` with its missing parents; true when it exists afterwards.
bool MakeUserCopyFolder(const std::string& userCopy);

// True when a new file in `folder` is refused because this user may not write there (access
// denied, a write-protected medium). False when one can be made (the probe is gone at once)
// or fails for another reason, which the caller then meets as before.
bool FolderRefusesNewFiles(const std::string& folder);

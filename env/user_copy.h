// Where the launcher keeps a file that belongs beside it when this user may not write there
// (a per-machine install under Program Files): in a folder of the user's own, below his local
// application data, named after the file's full path so that two launchers never share one.
// Portable; the Windows side finds the folders and asks the file system.
#pragma once

#include <string>

// "ZuLauncher\VersionFiles\<32 hexadecimal digits>\<file name>", relative to the user's local
// application data folder. The digits are the first half of the SHA-256 of `fullPath` with
// '/' taken as '\' and ASCII letters in upper case (trail bytes of double-byte characters
// stay as they are), so the spellings of one path the file system treats alike give one
// folder. Empty when `fullPath` names no file (it ends in a separator or is empty).
std::string UserCopyRelativePath(const std::string& fullPath);

// The folder part of `path`, up to and including its last '\' or '/' (multibyte-aware);
// empty when it has none.
std::string FolderOfPath(const std::string& path);

// True for the system errors that say this user may not create files in a folder: access
// denied, a write-protected medium, a network share that refuses writes. False for every
// other error, a file that is locked or in use among them.
bool IsWriteRefusal(unsigned long systemError);

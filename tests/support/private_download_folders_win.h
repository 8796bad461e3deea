// The installer download's private folders ("ZuSetup-" and 32 hex digits in the temporary
// directory): tests list them to show that none is left behind. Header-only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "env/directories_win.h"
#include "tests/support/scratch_win.h"

namespace private_download {

// Full paths of the private folders present now.
inline std::vector<std::string> Folders() {
  std::vector<std::string> folders;
  WIN32_FIND_DATAA entry;
  HANDLE search = ::FindFirstFileA((GetTempDir() + "ZuSetup-*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return folders;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      folders.push_back(GetTempDir() + entry.cFileName);
    }
  } while (::FindNextFileA(search, &entry));
  ::FindClose(search);
  return folders;
}

// True once no private folder is left; the worker of a failed transfer may let go of its
// share a moment after the dialog has ended.
inline bool NoneLeft(DWORD timeoutMs = 3000) {
  const DWORD start = ::GetTickCount();
  while (!Folders().empty()) {
    if (::GetTickCount() - start > timeoutMs) return false;
    ::Sleep(20);
  }
  return true;
}

// Removes what an earlier, failed run left, with the files in it.
inline void RemoveAll() {
  for (const std::string& folder : Folders()) RemoveTree(folder);
}

}  // namespace private_download

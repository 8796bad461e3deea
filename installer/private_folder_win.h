// The security of the installer's private folder. The temporary directory's permissions come
// from the host's environment (%TEMP% may be a shared folder), so the folder takes none of
// them: a protected DACL grants full control to this user and SYSTEM alone, and what is made
// in it inherits that. When the launcher runs elevated the folder also gets a high integrity
// label, so that the same user's processes of medium integrity cannot write into it either.
// Between its creation and its use the folder could be swapped for a junction; it is
// therefore held open and checked, and the file made in it is checked to lie in it. The
// installer file itself is made read-only for everyone (MakeReadOnly).
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle_win.h"

class PrivateFolderSecurity {
 public:
  // False when this process's user (or its elevation) cannot be read.
  bool Build();
  SECURITY_ATTRIBUTES* Attributes() { return &m_attributes; }

 private:
  UniqueLocalMemory m_descriptor;
  SECURITY_ATTRIBUTES m_attributes{};
};

// Opens the folder at `path` so that it can be neither renamed nor removed while held. Empty
// when it cannot be opened, or when what lies there is not a plain directory (a junction or
// another reparse point).
UniqueFileHandle HoldPrivateFolder(const std::string& path);

// Makes the file open as `file` (with WRITE_DAC and FILE_WRITE_ATTRIBUTES) read-only for every
// open after this one: a protected DACL that lets this user, SYSTEM, the administrators (an
// installer that a standard user elevates runs as an administrator's account) and the owner
// read, execute and change attributes only (OWNER RIGHTS takes away the owner's implicit
// right to change the DACL back), and the read-only attribute. Handles already open keep their
// access. A volume that keeps no ACLs (FAT) gets the attribute alone. False when either
// cannot be set; the error is then the thread's last error.
bool MakeReadOnly(HANDLE file);

// Whether the open `file` is `fileName` directly inside the held `folder`.
bool LiesIn(HANDLE file, HANDLE folder, const std::string& fileName);

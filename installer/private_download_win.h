// The installer's private download place: a folder made for one download inside the user's
// temporary directory, with a name no other process can predict (from the system's
// cryptographic random source) and created new, never an existing one, with permissions of its
// own (private_folder_win.h) and held open; in it the file, created new.
//
// The file is never open to another writer, from its creation to the installer's exit:
// - the handle that creates it shares reading alone and stays open through the download and
//   the checks; the transfer's worker writes through a duplicate of it (HttpFileTarget::file);
// - for the run, HoldForRun makes the file read-only for every later open (MakeReadOnly in
//   private_folder_win.h: a DACL that nobody of this user can widen again, and the read-only
//   attribute), then trades the writing handle for one that reads only and still shuts
//   writers and deleters out: the installer's start cannot open an image that a writer holds.
// Shared by the installer download dialog and the transfer's worker (see
// http_file_target_win.h): whoever lets go last removes the file and the folder, so an
// abandoned worker still cleans up after itself.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "transfer/http_file_target_win.h"

class PrivateDownload : public HttpFileTarget {
 public:
  // Makes the folder in `parentDir` (ending in a backslash) and `fileName` in it, protected as
  // above, with `file` ready for the worker. Null when any of it fails; nothing is left then.
  static std::shared_ptr<PrivateDownload> Create(const std::string& parentDir,
                                                 const std::string& fileName);
  // Closes the file, deletes it and removes the folder. Failures are ignored: a folder
  // something else has written into stays.
  ~PrivateDownload() override;

  PrivateDownload(const PrivateDownload&) = delete;
  PrivateDownload& operator=(const PrivateDownload&) = delete;

  const std::string& Path() const { return m_path; }
  // The file as held: for reading it once the worker has let go (the checks read through it;
  // its position is shared with the worker's handle). Invalid after a failed HoldForRun.
  HANDLE File() const { return m_held.get(); }
  // Once the worker has let go: replaces the writing handle with a handle that only reads and
  // still shuts writers and deleters out, so that the installer can start. False, with
  // nothing held, when another handle still writes to the file (error in `error`).
  bool HoldForRun(unsigned long& error);

 private:
  PrivateDownload(std::string folder, std::string path);

  std::string m_folder;
  std::string m_path;
  UniqueFileHandle m_folderHandle;  // held: the folder can be neither renamed nor removed
  UniqueFileHandle m_held;          // the file, held from its creation to the end
};

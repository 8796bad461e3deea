// The installer's private download place: a folder made for one download inside the user's
// temporary directory, with a name no other process can predict (from the system's
// cryptographic random source) and created new, never an existing one, with permissions of its
// own (private_folder_win.h) and held open; in it the file, created new and shared with
// readers only. Shared by the installer download dialog and the
// transfer's worker as an HttpFileTarget (see http_file_target_win.h): whoever lets go last
// removes the file and the folder, so an abandoned worker still cleans up after itself.
#pragma once

#include <memory>
#include <string>

#include "transfer/http_file_target_win.h"

class PrivateDownload : public HttpFileTarget {
 public:
  // Makes the folder in `parentDir` (ending in a backslash) and `fileName` in it, opened for
  // writing. Null when either cannot be made; nothing is left behind then.
  static std::shared_ptr<PrivateDownload> Create(const std::string& parentDir,
                                                 const std::string& fileName);
  // Closes the file if nobody took it, deletes it and removes the folder. Failures are
  // ignored: a folder something else has written into stays.
  ~PrivateDownload() override;

  PrivateDownload(const PrivateDownload&) = delete;
  PrivateDownload& operator=(const PrivateDownload&) = delete;

  const std::string& Path() const { return m_path; }

 private:
  PrivateDownload(std::string folder, std::string path);

  std::string m_folder;
  std::string m_path;
  UniqueFileHandle m_folderHandle;  // held: the folder can be neither renamed nor removed
};

// Checking the downloaded installer before it starts: the file is opened for reading with
// writers and deleters shut out, its size, SHA-256 and (under INSTALLER_SIGNER) signature
// are checked through that handle, and the caller keeps the handle until the installer has
// started, so the bytes that run are the bytes that were checked. Any thread: the download
// dialog checks on a worker while its own thread keeps painting.
#pragma once

#include <string>

#include "common/unique_handle_win.h"
#include "installer/installer_check.h"

// True when the file at `path` meets `expectation`; `held` then holds the handle. False with
// the log line that names the failed check (or why the file could not be opened or read) in
// `failure`; `held` is left empty.
bool OpenCheckedInstaller(const std::string& path, const InstallerExpectation& expectation,
                          UniqueFileHandle& held, std::string& failure);

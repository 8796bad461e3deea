// Checking the downloaded installer before it starts: its size, SHA-256 and (under
// INSTALLER_SIGNER) signature are checked through the handle that has held the file since its
// creation (private_download_win.h) and holds it until the installer has ended, so the bytes
// that run are the bytes that were checked. Any thread: the download dialog checks on a
// worker while its own thread keeps painting.
#pragma once

#include <windows.h>

#include <string>

#include "installer/installer_check.h"

// True when the file open as `file` (readable; read from its start) at `path` meets
// `expectation`. False with the log line that names the failed check (or why the file could
// not be read) in `failure`.
bool CheckInstallerFile(HANDLE file, const std::string& path,
                        const InstallerExpectation& expectation, std::string& failure);

// The local copy of the server's version file: whether it is due for a refresh, and the
// refresh itself (the whole of the `update` command). User-interface thread; Windows only.
#pragma once

// True when the local copy's LASTUPDATETIME is more than three hours from now either way,
// or missing, or the request forces a check.
bool IsLocalVersionFileDue();

// Downloads the version file and puts it in place of the local copy in one atomic rename,
// then stamps it. False, with the local copy as it was, when there is no URL, the download
// fails, the body is not a version file, or the rename fails.
bool UpdateVersionFile();

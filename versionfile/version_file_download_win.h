// The version file's download, bounded: it ends within 30 seconds whatever the server does
// and accepts no more than 1,000,000 bytes (see transfer_limits.h). Synchronous, on the
// calling thread, which waits on a reader it may abandon at the deadline; no window, no
// resume. Any thread.
#pragma once

#include <string>

#include "transfer/transfer_request.h"

// The deadline, the size cap and no resume.
TransferPolicy VersionFileTransferPolicy();

// Downloads `url` into memory: `body` holds the whole body on true (read once, never from a
// file someone else could change before it is checked), and is left as it was on false. True
// when the whole body arrived with a success status within `policy`.
bool DownloadVersionFileBytes(const std::string& url, const std::string& agent, std::string& body,
                              const TransferPolicy& policy = VersionFileTransferPolicy());

// The version file's download, bounded: it ends within 30 seconds whatever the server does
// and accepts no more than 1,000,000 bytes (see transfer_limits.h). Synchronous, on the
// calling thread, which waits on a reader it may abandon at the deadline; no window, no
// resume. Any thread.
#pragma once

#include <string>

// Downloads `url` into the existing file `path` (truncated first). True when the whole body
// arrived with a success status in time and within the size cap. On false the file may hold
// a part of the body and is no longer held by anyone: the caller deletes it.
bool DownloadVersionFile(const std::string& url, const std::string& path, const std::string& agent);

// The same into memory: `body` holds the whole body on true (read once, never from a file
// someone else could change before it is checked), and is left as it was on false.
bool DownloadVersionFileBytes(const std::string& url, const std::string& agent, std::string& body);

// Opening a web request for the engine: WinINet is told not to follow redirects, and the
// engine follows them itself so that it can refuse a step from https:// down to http://
// (which WinINet takes silently), a redirect out of the web, and an eleventh hop.
// Called on the thread that runs the transfer.
#pragma once

#include <windows.h>
#include <wininet.h>

#include "common/unique_handle_win.h"

// The request for `url` or for the address its redirects lead to, with `headers` (may be
// null) sent on every hop; empty when a hop cannot be opened or a redirect is refused. A
// redirect without a Location header is handed back as it stands (its status fails it).
UniqueInternetHandle OpenWebRequest(HINTERNET session, const char* url, const char* headers,
                                    DWORD flags);

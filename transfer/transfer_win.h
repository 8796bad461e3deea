// The engine's entry points for the launcher's own callers: a typed request (URL, agent,
// headers, policy) instead of HttpGetFile's positional arguments. The transfers run, post
// their messages and are cancelled or abandoned exactly as HttpGetFile's are
// (http_get_file_win.h).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "transfer/http_file_target_win.h"
#include "transfer/transfer_request.h"

// Starts an asynchronous transfer into the caller's open file `target->file` (taken over at
// once, whatever the outcome), posting to `notifyWnd`. True once the worker runs: `id` then
// holds the transfer's id (any int, 0 included, since ids wrap). False when it could not be
// set up (a URL or agent HttpGetFile would refuse, a worker that cannot be
// started): then nothing is posted, the file handle is closed and the worker holds no share
// of `target`. The ownership of the file and of `target` is described in
// http_file_target_win.h.
bool StartTransferInto(const TransferRequest& request, std::shared_ptr<HttpFileTarget> target,
                       HWND notifyWnd, int& id);

// Runs a transfer into memory on the calling thread. True when the whole body arrived with a
// success status within the policy: `body` then holds it; otherwise `body` is left as it was.
bool TransferIntoMemory(const TransferRequest& request, std::string& body);

// The HTTP download engine: fetches one URL with WinINet into a file or a growing memory
// buffer, on the caller's thread (synchronous) or on a worker thread of its own
// (asynchronous), and tells a window about it with three registered messages.
// Any thread may call HttpGetFile and HttpGetFileCancel; a worker only posts messages.
#pragma once

#include <windows.h>

// Starts a transfer. Returns 0 when it could not be set up (URL that does not canonicalise
// into 1024 bytes or is not http:// or https://, agent of 512 or more characters, target
// file that cannot be created, worker thread that cannot be started): then nothing is posted
// and nothing remains.
// Asynchronous: 1 once the worker runs. Synchronous: the outcome, 1 success, 0 failure.
// toFile non-zero stores into filePath (created or truncated at once; no path = discard);
// zero stores into a heap buffer handed out through outBuffer, NUL-terminated, to be
// released with HttpGetFileFreeBuffer. maxBytes -1 = no limit, otherwise the transfer ends
// with success after the chunk that reaches it. A body that ends before its announced
// Content-Length is a broken connection, as are a failed read and no byte for 30 s (see
// transfer_limits.h). A broken file-mode transfer whose first answer offered byte ranges
// with a validator is resumed (Range and If-Range) up to 3 times; otherwise, or after
// that, it fails. A resume answered with the whole file (200) starts the file again from
// byte 0 and posts a new start message. Redirects are followed up to 10 hops, never from
// https:// to http:// nor out of the web; certificate errors are never ignored. The
// out-pointers are written by the worker until the completion message: keep their targets
// alive until then.
int HttpGetFile(const char* url, const char* filePath, HWND notifyWnd, int* outJobId,
                int synchronous, const char* agent, int maxBytes, int toFile, char** outBuffer,
                int* outLength, int priority, int* outContentLength, const char* headers);

// Asks transfer `jobId` (-1: every transfer) to stop after its next chunk, and waits: for
// all, until none runs (1) or about 10 s pass (0); for one, until it acknowledges (1) or
// about 1 s passes (0). Then 100 ms more, and the request is withdrawn. Blocks the caller
// and dispatches no messages.
int HttpGetFileCancel(int jobId);

// The receiver of WM_HTTPGETFILE_PROGRESS calls this as it handles one (wParam is the id): a
// transfer keeps at most one progress message waiting and posts the next, with the total
// of that moment, only once the last has been taken. Unknown ids are ignored.
void HttpGetFileProgressTaken(int jobId);

// Stops transfer `jobId` at once, wherever it is, also while the server holds a read: the
// transfer lets its request go without waiting for it, posts its completion (failure) to a
// window that may be gone, and deletes its target file once it has closed it. Waits up to
// `waitMs` for the transfer to end: 1 when it has ended (or was not running: then its file,
// if any, is the caller's to remove), 0 when it ends later on its own. Does not touch the
// cancel words.
int HttpGetFileAbandon(int jobId, DWORD waitMs);

// Releases a buffer that a memory-mode transfer handed out through outBuffer (null is fine).
void HttpGetFileFreeBuffer(char* buffer);

// Posted to the notification window; wParam is always the transfer id.
extern const UINT WM_HTTPGETFILE_START;     // lParam: Content-Length, or -1 when absent
extern const UINT WM_HTTPGETFILE_PROGRESS;  // lParam: bytes stored so far
extern const UINT WM_HTTPGETFILE_COMPLETE;  // lParam: 1 success, 0 failure or cancel

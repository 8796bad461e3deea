// Pure rules of the download engine (transfer ids, header values, when a transfer ends and
// whether a cancel request concerns it), kept apart from WinINet so they are tested
// natively. Portable.
#pragma once

#include <cstdint>

// Transfer ids run 1, 2, ..., 2147483646, then 0 and on: (previous + 1) mod 0x7FFFFFFF.
int NextTransferId(int previous);

// The Content-Length header text as a leading decimal integer (leading whitespace and a sign
// allowed, as atoi reads it); 0 when no digits lead; clamped to the int range instead of
// overflowing.
int ParseContentLength(const char* text);

// A status text counts as success when its first character is '2'.
bool IsSuccessStatus(const char* statusText);

// The stream has ended: broken when a length was announced (-1: none) and fewer bytes arrived.
bool BodyEndedShort(int64_t expectedBytes, int64_t storedBytes);

// The byte limit (-1 = none) has been reached or passed.
bool ByteLimitReached(int maxBytes, int64_t storedBytes);

// Of `read` bytes just received, how many may be stored under a size limit (-1 = none) when
// `storedBytes` are stored already: all of them, or the part up to the limit (never negative).
int64_t BytesWithinSizeLimit(int64_t sizeLimit, int64_t storedBytes, int64_t read);

// A progress total as the int the out-pointer and the message carry.
int ClampToInt(int64_t value);

enum class CancelVerdict {
  GoOn,        // no request, or one for another transfer
  StopAll,     // the request is for every transfer
  StopThis,    // the request names this transfer: acknowledge it and stop
};

// What a transfer with id `transferId` makes of the shared cancel words.
CancelVerdict JudgeCancelRequest(int cancelRequest, int cancelTarget, int transferId);

// Sending diagnostic lines to the receiver window (see env/log.h): each line is one
// WM_COPYDATA message with no sender window, dwData 0 and the zero-terminated text, cbData
// counting its bytes and the zero. User-interface thread.
#pragma once

#include <windows.h>

#include <string>

// The receiver is a top-level window of this class and title.
constexpr char kLogReceiverClassName[] = "RECV_CLASS";
constexpr char kLogReceiverTitle[] = "RECV";
// Longest wait for a receiver to take one line; a receiver that hangs costs no more.
constexpr UINT kLogSendTimeoutMilliseconds = 2000;

// Sends `text` and returns once the receiver has handled it, or after the timeout, or at
// once when the receiver does not answer messages at all. The reply is ignored.
void SendLogText(HWND receiver, const std::string& text);

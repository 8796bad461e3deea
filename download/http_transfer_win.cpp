#include <windows.h>
#include <wininet.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "download/http_get_file_job_win.h"
#include "download/http_get_file_win.h"
#include "download/transfer_rules.h"
#include "download/transfer_state_win.h"
#include "download/web_request_win.h"

namespace {

constexpr DWORD kChunkSize = 10240;
constexpr DWORD kConnectTimeoutMs = 10000;
constexpr DWORD kHeaderTextSize = 128;
// Always from the origin server: never read from or written to the cache, proxies asked
// not to answer from theirs, and no dialogs of WinINet's own.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kOpenUrlFlags == 0x84000300, "request flags");

void Notify(const HttpGetFileJob& job, UINT message, int value) {
  // Without a window nothing is posted: PostMessageA with no window would post to the
  // calling thread's own queue.
  if (job.notifyWnd) {
    ::PostMessageA(job.notifyWnd, message, static_cast<WPARAM>(job.id),
                   static_cast<LPARAM>(value));
  }
}

// A response header as text; false when the response does not carry it.
bool QueryHeaderText(HINTERNET request, DWORD query, char (&text)[kHeaderTextSize]) {
  std::memset(text, 0, sizeof(text));
  DWORD length = sizeof(text);  // the whole buffer for every query
  return ::HttpQueryInfoA(request, query, text, &length, nullptr) != FALSE;
}

// Reads the body chunk by chunk, stores it and reports every chunk. Returns the outcome.
class BodyReceiver {
 public:
  BodyReceiver(HttpGetFileJob& job, HINTERNET request, int contentLength)
      : m_job(job), m_request(request), m_contentLength(contentLength) {}

  int Receive() {
    char chunk[kChunkSize];  // on this thread's stack: file mode needs no heap per chunk
    for (;;) {
      DWORD available = 0;  // the number is not used; a failing query fails the transfer
      if (!::InternetQueryDataAvailable(m_request, &available, 0, 0)) return Fail();
      DWORD read = 0;
      if (!::InternetReadFile(m_request, chunk, kChunkSize, &read)) return Fail();

      DWORD stored = read;
      if (m_job.toFile) {
        if (m_job.file) {
          DWORD written = 0;
          if (!::WriteFile(m_job.file.get(), chunk, read, &written, nullptr)) return Fail();
          stored = written;
        }
      } else {
        if (read == 0) return EndOfStream();
        if (m_job.outBuffer && !Append(chunk, read)) return Fail();
      }

      m_total += stored;
      if (m_job.outLength) *m_job.outLength = ClampToInt(m_total);
      Notify(m_job, WM_HTTPGETFILE_PROGRESS, ClampToInt(m_total));

      // The request first, then its target: the canceller writes them in the other order.
      const int cancelRequest = g_cancelRequest.load();
      const int cancelTarget = g_cancelTarget.load();
      switch (JudgeCancelRequest(cancelRequest, cancelTarget, m_job.id)) {
        case CancelVerdict::StopAll:
          return Fail();
        case CancelVerdict::StopThis:
          g_cancelRequest.store(0);  // tells the canceller this transfer has acknowledged
          return Fail();
        case CancelVerdict::GoOn:
          break;
      }
      if (ByteLimitReached(m_job.maxBytes, m_total)) return Succeed();
      if (read == 0) return EndOfStream();
    }
  }

 private:
  // Under Wine (and with some proxies) a connection closed early ends the body as cleanly
  // as a complete one; only the announced length tells them apart.
  int EndOfStream() { return BodyEndedShort(m_contentLength, m_total) ? Fail() : Succeed(); }

  int Succeed() {
    if (m_job.outLength) *m_job.outLength = ClampToInt(m_total);
    return 1;
  }

  int Fail() {
    if (m_job.outBuffer) {
      HttpGetFileFreeBuffer(m_buffer);
      m_buffer = nullptr;
      *m_job.outBuffer = nullptr;
    }
    return 0;
  }

  // Grows the buffer to exactly the new size plus the terminating NUL.
  bool Append(const char* chunk, DWORD size) {
    const uint64_t newSize = static_cast<uint64_t>(m_total) + size + 1;
    if (newSize > SIZE_MAX) return false;
    char* grown = static_cast<char*>(std::realloc(m_buffer, static_cast<size_t>(newSize)));
    if (!grown) return false;  // the old buffer stays valid and is freed by Fail
    m_buffer = grown;
    std::memcpy(m_buffer + m_total, chunk, size);
    m_buffer[m_total + size] = '\0';
    *m_job.outBuffer = m_buffer;
    return true;
  }

  HttpGetFileJob& m_job;
  HINTERNET m_request;
  int m_contentLength;
  int64_t m_total = 0;
  char* m_buffer = nullptr;  // memory mode: the buffer handed out through outBuffer
};

// Opens the session and the URL, checks the response and receives the body. The WinINet
// handles are closed on return, request before session.
int Transfer(HttpGetFileJob& job) {
  UniqueInternetHandle session(
      ::InternetOpenA(job.agent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return 0;
  DWORD timeout = kConnectTimeoutMs;
  ::InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout,
                       sizeof(timeout));

  UniqueInternetHandle request(
      OpenWebRequest(session.get(), job.url, job.headers.get(), kOpenUrlFlags));
  if (!request) return 0;

  char text[kHeaderTextSize];
  const int contentLength = QueryHeaderText(request.get(), HTTP_QUERY_CONTENT_LENGTH, text)
                                ? ParseContentLength(text)
                                : -1;
  if (job.outContentLength) *job.outContentLength = contentLength;
  Notify(job, WM_HTTPGETFILE_START, contentLength);

  // A response without a status (a scheme without HTTP headers) goes on.
  if (QueryHeaderText(request.get(), HTTP_QUERY_STATUS_CODE, text) && !IsSuccessStatus(text)) {
    return 0;
  }
  return BodyReceiver(job, request.get(), contentLength).Receive();
}

}  // namespace

int RunHttpGetFileJob(std::unique_ptr<HttpGetFileJob> job) {
  // In synchronous mode this is the caller's thread, and its priority stays as set.
  ::SetThreadPriority(::GetCurrentThread(), job->priority);
  const int outcome = Transfer(*job);
  job->file.reset();
  Notify(*job, WM_HTTPGETFILE_COMPLETE, outcome);
  job.reset();
  RemoveRunningTransfer();
  return outcome;
}

// One request of a transfer, made and read on a reader thread of its own. Under Wine a
// WinINet read honours no time-out and closing its handles from another thread does not
// unblock it, so the transfer's own thread never reads: it waits on the reader and, at a
// stall, a deadline or an abandon request, lets it go. The reader owns its WinINet handles
// and shares this record with the transfer; it reaches the transfer (file, buffer,
// out-pointers, window) only through the AttemptSink, under the record's lock, and never
// again once it has been let go. A reader that was let go ends when its read returns, or
// with the process.
#pragma once

#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "common/critical_section_win.h"
#include "common/unique_handle_win.h"

constexpr size_t kHeaderTextSize = 128;

// What the answer's headers say; a header the answer lacks is empty text.
struct AnswerFacts {
  int contentLength = -1;  // -1 when absent
  bool hasStatus = false;  // false for a scheme without HTTP headers
  char status[kHeaderTextSize] = {};
  char contentRange[kHeaderTextSize] = {};
  std::string acceptRanges, etag, lastModified;
};

enum class ChunkOutcome {
  GoOn,     // read on
  Settled,  // the sink has settled the transfer's outcome: stop reading
  Broken,   // the body ended short of its announced length
};

// The transfer's side, called on the reader thread under the attempt's lock.
class AttemptSink {
 public:
  // The answer has come; false settles the transfer without reading the body.
  virtual bool OnAnswer(const AnswerFacts& answer) = 0;
  // `size` bytes were read (0: the stream has ended).
  virtual ChunkOutcome OnChunk(const char* data, DWORD size) = 0;

 protected:
  ~AttemptSink() = default;
};

enum class AttemptEnd {
  Running,
  NotOpened,  // no session, or the URL could not be opened: no answer
  Broken,     // a failed availability query or read, or a body short of its length
  Settled,    // the sink settled the outcome
};

struct AttemptRequest {
  std::string url;
  std::string agent;
  std::string headers;  // extra request header lines, may be empty
  int priority = 0;
};

class TransferAttempt {
 public:
  // Starts the reader; null when its thread cannot be started.
  static std::shared_ptr<TransferAttempt> Start(AttemptRequest request, AttemptSink& sink);
  TransferAttempt(const TransferAttempt&) = delete;
  TransferAttempt& operator=(const TransferAttempt&) = delete;

  // The reader thread: signalled once it has ended and is gone; End() then tells how.
  HANDLE Reader() const { return m_reader.get(); }
  AttemptEnd End();
  // Tick count of the last sign of life from the server (start, answer, a byte).
  DWORD LastActivity() const { return m_lastActivity.load(); }

  // Lets the reader go: once this returns, the sink is never called again. Gives how the
  // reader ended if it already had, else Running.
  AttemptEnd LetGo();

 private:
  TransferAttempt(AttemptRequest request, AttemptSink& sink);
  static unsigned __stdcall ReaderThread(void* argument);
  void Read();
  AttemptEnd ReadAnswer();
  void Touch() { m_lastActivity.store(::GetTickCount()); }
  // Calls the sink under the lock unless let go; false when let go.
  template <typename Call>
  bool WithSink(Call call);

  const AttemptRequest m_request;
  AttemptSink* m_sink;  // guarded by m_lock; null once let go
  CriticalSection m_lock;
  AttemptEnd m_end = AttemptEnd::Running;  // guarded by m_lock
  std::atomic<DWORD> m_lastActivity;
  UniqueKernelHandle m_reader;
};

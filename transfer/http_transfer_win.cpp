// Running a transfer: the transfer's own thread starts a reader per request, watches it for
// a stall, the deadline and an abandon request, and resumes a broken download.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "transfer/http_get_file_win.h"
#include "transfer/resume_rules.h"
#include "transfer/transfer_attempt_win.h"
#include "transfer/transfer_job_win.h"
#include "transfer/transfer_limits.h"
#include "transfer/transfer_registry_win.h"
#include "transfer/transfer_rules.h"

namespace {

void Notify(const TransferJob& job, UINT message, int value) {
  // Without a window nothing is posted: PostMessageA with no window would post to the
  // calling thread's own queue.
  if (job.notifyWnd) {
    ::PostMessageA(job.notifyWnd, message, static_cast<WPARAM>(job.id), static_cast<LPARAM>(value));
  }
}

int64_t SizeLimit(const TransferJob& job) {
  return job.request.policy.sizeLimit;
}

// The body is longer than the size limit: `offered` bytes were sent or announced. A caller's
// target is told.
void ExceedSizeLimit(const TransferJob& job, int64_t offered) {
  if (!job.target) return;
  job.target->bytesOffered.store(offered);
  job.target->sizeLimitExceeded.store(true);
}

bool CancelRequested(int id) {
  return TransferRegistry::Instance().CancelStops(id);
}

// Where the body goes, and what the transfer has come to. The reader calls OnAnswer and
// OnChunk under its attempt's lock; the transfer's thread uses the rest only once the reader
// has ended or been let go.
class TransferSink : public AttemptSink {
 public:
  explicit TransferSink(TransferJob& job) : m_job(job) {}

  bool OnAnswer(const AnswerFacts& answer) override {
    return m_resuming ? OnResumedAnswer(answer) : OnFirstAnswer(answer);
  }

  ChunkOutcome OnChunk(const char* chunk, DWORD read) override {
    if (!m_job.toFile && read == 0) return EndOfStream();
    // Not one byte past the size limit is stored.
    const DWORD storable =
        static_cast<DWORD>(BytesWithinSizeLimit(SizeLimit(m_job), m_total, read));
    DWORD stored = storable;
    if (m_job.toFile) {
      if (m_job.file) {
        DWORD written = 0;
        if (!::WriteFile(m_job.file.get(), chunk, storable, &written, nullptr)) return Settle(0);
        stored = written;
      }
    } else if (m_job.outBuffer && storable > 0 && !Append(chunk, storable)) {
      return Settle(0);
    }
    if (storable < read) {
      ExceedSizeLimit(m_job, m_total + read);
      m_total += stored;
      return Settle(0);
    }

    m_total += stored;
    if (m_job.outLength) *m_job.outLength = ClampToInt(m_total);
    ReportProgress();

    if (CancelRequested(m_job.id)) return Settle(0);
    if (ByteLimitReached(m_job.maxBytes, m_total)) return Settle(1);
    if (read == 0) return EndOfStream();
    return ChunkOutcome::GoOn;
  }

  bool Settled() const { return m_settled; }
  int Outcome() const { return m_outcome; }

  // A broken connection may be resumed: a file is being written and the first answer
  // offered byte ranges with a validator.
  bool CanResume() const {
    return m_job.toFile && m_job.file && !m_validator.empty() && m_answered;
  }
  // The next answer is to a request for the rest of the file.
  std::string ResumeHeaders() {
    m_resuming = true;
    return ResumeRequestHeaders(m_job.request.headers.c_str(), m_total, m_validator);
  }

  // Settles a failure from the transfer's own thread (the reader has ended or been let go).
  int Fail() {
    Settle(0);
    return 0;
  }

  // The last progress message before the completion carries the final count: when the
  // last one posted did not, wait (briefly) until the receiver has taken it and post it.
  void ReportFinalCount() {
    if (!m_job.notifyWnd || !m_progressReported || m_lastPosted == m_total) return;
    // A receiver that never takes its messages gets the final count after the wait anyway.
    if (!m_job.control.WaitForProgressSlot(kFinalProgressWaitMs) && m_job.control.Abandoned()) {
      return;
    }
    m_job.control.ClaimProgressSlot();
    PostProgress();
  }

 private:
  bool OnFirstAnswer(const AnswerFacts& answer) {
    m_answered = true;
    if (m_job.outContentLength) *m_job.outContentLength = answer.contentLength;
    Notify(m_job, WM_HTTPGETFILE_START, answer.contentLength);
    // A response without a status (a scheme without HTTP headers) goes on.
    if (answer.hasStatus && !IsSuccessStatus(answer.status)) return Refuse();
    return Accept(answer);
  }

  bool OnResumedAnswer(const AnswerFacts& answer) {
    switch (JudgeResumedAnswer(answer.hasStatus ? answer.status : nullptr, answer.contentRange,
                               m_total)) {
      case ResumedAnswer::Continue:
        m_expectedEnd = ExpectedEndAfterResume(m_total, answer.contentLength, answer.contentRange);
        return true;
      case ResumedAnswer::Restart:
        if (!StartFileAgain()) return Refuse();
        Notify(m_job, WM_HTTPGETFILE_START, answer.contentLength);
        return Accept(answer);
      case ResumedAnswer::Refuse:
        break;
    }
    return Refuse();
  }

  // The answer that the file is (again) read from byte 0 of.
  bool Accept(const AnswerFacts& answer) {
    // An announced body beyond the size limit is refused before a byte of it is read.
    const int64_t sizeLimit = SizeLimit(m_job);
    if (sizeLimit >= 0 && answer.contentLength > sizeLimit) {
      ExceedSizeLimit(m_job, answer.contentLength);
      return Refuse();
    }
    m_expectedEnd = answer.contentLength;
    m_validator = ResumeValidator(answer.acceptRanges, answer.etag, answer.lastModified);
    return true;
  }

  bool Refuse() {
    Settle(0);
    return false;
  }

  bool StartFileAgain() {
    LARGE_INTEGER start = {};
    if (!::SetFilePointerEx(m_job.file.get(), start, nullptr, FILE_BEGIN) ||
        !::SetEndOfFile(m_job.file.get())) {
      return false;
    }
    m_total = 0;
    m_lastPosted = -1;  // the bar shows the new start at the next chunk
    if (m_job.outLength) *m_job.outLength = 0;
    return true;
  }

  // Under Wine (and with some proxies) a connection closed early ends the body as cleanly
  // as a complete one; only the announced length tells them apart.
  ChunkOutcome EndOfStream() {
    return BodyEndedShort(m_expectedEnd, m_total) ? ChunkOutcome::Broken : Settle(1);
  }

  // At most one progress message waits in the receiver's queue, and they come no faster
  // than the display can use them; the next carries the total of its own moment.
  void ReportProgress() {
    m_progressReported = true;
    if (!m_job.notifyWnd) return;
    if (m_lastPosted >= 0 && ::GetTickCount() - m_lastPostTick < kProgressPostIntervalMs) return;
    if (m_job.control.ClaimProgressSlot()) PostProgress();
  }

  void PostProgress() {
    m_lastPosted = m_total;
    m_lastPostTick = ::GetTickCount();
    if (!::PostMessageA(m_job.notifyWnd, WM_HTTPGETFILE_PROGRESS, static_cast<WPARAM>(m_job.id),
                        static_cast<LPARAM>(ClampToInt(m_total)))) {
      m_job.control.ReleaseProgressSlot();  // the window is gone: nothing waits
    }
  }

  ChunkOutcome Settle(int outcome) {
    if (!m_settled) {
      m_settled = true;
      m_outcome = outcome;
      if (outcome) {
        if (m_job.outLength) *m_job.outLength = ClampToInt(m_total);
      } else if (m_job.outBuffer) {
        HttpGetFileFreeBuffer(m_buffer);
        m_buffer = nullptr;
        *m_job.outBuffer = nullptr;
      }
    }
    return ChunkOutcome::Settled;
  }

  // Grows the buffer to exactly the new size plus the terminating NUL.
  bool Append(const char* chunk, DWORD size) {
    const uint64_t newSize = static_cast<uint64_t>(m_total) + size + 1;
    if (newSize > SIZE_MAX) return false;
    char* grown = static_cast<char*>(std::realloc(m_buffer, static_cast<size_t>(newSize)));
    if (!grown) return false;  // the old buffer stays valid and is freed by Settle
    m_buffer = grown;
    std::memcpy(m_buffer + m_total, chunk, size);
    m_buffer[m_total + size] = '\0';
    *m_job.outBuffer = m_buffer;
    return true;
  }

  TransferJob& m_job;
  int64_t m_total = 0;
  int64_t m_expectedEnd = -1;  // where the body must end, -1 when unknown
  std::string m_validator;     // for If-Range; empty when the answer offered no resume
  bool m_answered = false;
  bool m_resuming = false;
  bool m_settled = false;
  int m_outcome = 0;
  bool m_progressReported = false;
  int64_t m_lastPosted = -1;
  DWORD m_lastPostTick = 0;
  char* m_buffer = nullptr;  // memory mode: the buffer handed out through outBuffer
};

enum class Watched { Ended, Stalled, TimedOut, Abandoned };

// Waits for the reader to end; lets it go at a stall, at the deadline or when the transfer
// is abandoned. The transfer's thread never blocks on the server.
Watched Watch(TransferAttempt& attempt, TransferJob& job, DWORD started) {
  const DWORD stallLimitMs = job.request.policy.stallLimitMs;
  const DWORD deadlineMs = job.request.policy.deadlineMs;
  const HANDLE events[] = {attempt.Reader(), job.control.AbandonEvent()};
  for (;;) {
    const DWORD now = ::GetTickCount();
    const DWORD quiet = now - attempt.LastActivity();
    DWORD wait = quiet >= stallLimitMs ? 0 : stallLimitMs - quiet;
    Watched verdict = Watched::Stalled;
    if (deadlineMs) {
      const DWORD elapsed = now - started;
      const DWORD left = elapsed >= deadlineMs ? 0 : deadlineMs - elapsed;
      if (left <= wait) {
        wait = left;
        verdict = Watched::TimedOut;
      }
    }
    const DWORD signalled = ::WaitForMultipleObjects(2, events, FALSE, wait);
    if (signalled == WAIT_OBJECT_0) return Watched::Ended;
    if (signalled == WAIT_OBJECT_0 + 1) return Watched::Abandoned;
    if (signalled != WAIT_TIMEOUT) return Watched::Abandoned;  // cannot wait: give up
    // The reader may have shown life meanwhile: only a full quiet period is a stall.
    if (verdict == Watched::Stalled && ::GetTickCount() - attempt.LastActivity() < stallLimitMs) {
      continue;
    }
    return verdict;
  }
}

// The pause before a resume; false when the transfer is abandoned or cancelled meanwhile.
bool PauseBeforeResume(TransferJob& job, DWORD pauseMs) {
  if (::WaitForSingleObject(job.control.AbandonEvent(), pauseMs) != WAIT_TIMEOUT) return false;
  return !CancelRequested(job.id);
}

// Runs the requests of a transfer until its outcome is settled: the first, then a resume of a
// broken connection for each pause of the policy.
int RunRequests(TransferJob& job, TransferSink& sink) {
  const std::vector<uint32_t>& pauses = job.request.policy.resumePausesMs;
  const DWORD started = ::GetTickCount();
  AttemptRequest request{job.request.url, job.request.agent, job.request.headers,
                         job.request.priority};
  for (size_t resumes = 0;; ++resumes) {
    std::shared_ptr<TransferAttempt> attempt = TransferAttempt::Start(request, sink);
    if (!attempt) return sink.Fail();
    const Watched watched = Watch(*attempt, job, started);
    const AttemptEnd end = watched == Watched::Ended ? attempt->End() : attempt->LetGo();
    if (sink.Settled()) return sink.Outcome();
    const bool broken = end == AttemptEnd::Broken || watched == Watched::Stalled ||
                        (end == AttemptEnd::NotOpened && resumes > 0);
    if (!broken || !sink.CanResume() || resumes == pauses.size() ||
        !PauseBeforeResume(job, pauses[resumes])) {
      return sink.Fail();
    }
    request.headers = sink.ResumeHeaders();
  }
}

}  // namespace

int RunTransferJob(std::unique_ptr<TransferJob> job) {
  // In synchronous mode this is the caller's thread, and its priority stays as set.
  ::SetThreadPriority(::GetCurrentThread(), job->request.priority);
  TransferSink sink(*job);
  int outcome = RunRequests(*job, sink);
  if (job->control.Abandoned()) {
    outcome = 0;
  } else {
    sink.ReportFinalCount();
  }
  job->file.reset();
  // An abandoned transfer's file is nobody's but ours: it goes once we let go of it.
  if (job->control.Abandoned() && !job->path.empty()) ::DeleteFileA(job->path.c_str());
  Notify(*job, WM_HTTPGETFILE_COMPLETE, outcome);
  TransferRegistry& registry = TransferRegistry::Instance();
  registry.Unregister(job->id);
  job.reset();
  registry.Uncount();
  return outcome;
}

#include "transfer/transfer_attempt_win.h"

#include <process.h>
#include <wininet.h>

#include <cstring>
#include <new>

#include "transfer/transfer_rules.h"
#include "transfer/web_request_win.h"

namespace {

constexpr DWORD kChunkSize = 10240;
constexpr DWORD kConnectTimeoutMs = 10000;
// Always from the origin server: never read from or written to the cache, proxies asked
// not to answer from theirs, and no dialogs of WinINet's own.
constexpr DWORD kOpenUrlFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_NO_UI | INTERNET_FLAG_PRAGMA_NOCACHE;
static_assert(kOpenUrlFlags == 0x84000300, "request flags");

// A response header as text into `text`; false when the response does not carry it.
bool QueryHeaderText(HINTERNET request, DWORD query, char (&text)[kHeaderTextSize]) {
  std::memset(text, 0, sizeof(text));
  DWORD length = sizeof(text);  // the whole buffer for every query
  return ::HttpQueryInfoA(request, query, text, &length, nullptr) != FALSE;
}

std::string HeaderText(HINTERNET request, DWORD query) {
  char text[kHeaderTextSize];
  return QueryHeaderText(request, query, text) ? std::string(text) : std::string();
}

AnswerFacts ReadFacts(HINTERNET request) {
  AnswerFacts facts;
  char text[kHeaderTextSize];
  if (QueryHeaderText(request, HTTP_QUERY_CONTENT_LENGTH, text)) {
    facts.contentLength = ParseContentLength(text);
  }
  facts.hasStatus = QueryHeaderText(request, HTTP_QUERY_STATUS_CODE, facts.status);
  QueryHeaderText(request, HTTP_QUERY_CONTENT_RANGE, facts.contentRange);
  facts.acceptRanges = HeaderText(request, HTTP_QUERY_ACCEPT_RANGES);
  facts.etag = HeaderText(request, HTTP_QUERY_ETAG);
  facts.lastModified = HeaderText(request, HTTP_QUERY_LAST_MODIFIED);
  return facts;
}

}  // namespace

TransferAttempt::TransferAttempt(AttemptRequest request, AttemptSink& sink)
    : m_request(std::move(request)), m_sink(&sink), m_lastActivity(::GetTickCount()) {}

std::shared_ptr<TransferAttempt> TransferAttempt::Start(AttemptRequest request, AttemptSink& sink) {
  std::shared_ptr<TransferAttempt> attempt(new (std::nothrow)
                                               TransferAttempt(std::move(request), sink));
  if (!attempt) return nullptr;
  // The reader holds its own reference, so the record outlives whichever side ends last.
  auto* readerReference = new (std::nothrow) std::shared_ptr<TransferAttempt>(attempt);
  if (!readerReference) return nullptr;
  // Started suspended, so that the handle is in place before the reader can drop its record.
  attempt->m_reader.reset(reinterpret_cast<HANDLE>(::_beginthreadex(
      nullptr, 0, &TransferAttempt::ReaderThread, readerReference, CREATE_SUSPENDED, nullptr)));
  if (!attempt->m_reader) {
    delete readerReference;
    return nullptr;
  }
  ::ResumeThread(attempt->m_reader.get());
  return attempt;
}

unsigned __stdcall TransferAttempt::ReaderThread(void* argument) {
  std::shared_ptr<TransferAttempt> attempt;
  attempt.swap(*static_cast<std::shared_ptr<TransferAttempt>*>(argument));
  delete static_cast<std::shared_ptr<TransferAttempt>*>(argument);
  // No exception may leave a thread entry.
  try {
    attempt->Read();
  } catch (...) {
  }
  return 0;
}

template <typename Call>
bool TransferAttempt::WithSink(Call call) {
  CriticalSectionGuard guard(m_lock);
  if (m_sink) call(*m_sink);
  return m_sink != nullptr;
}

void TransferAttempt::Read() {
  ::SetThreadPriority(::GetCurrentThread(), m_request.priority);
  const AttemptEnd end = ReadAnswer();  // the WinINet handles are closed on return
  CriticalSectionGuard guard(m_lock);
  m_end = end;
}

AttemptEnd TransferAttempt::ReadAnswer() {
  UniqueInternetHandle session(
      ::InternetOpenA(m_request.agent.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return AttemptEnd::NotOpened;
  DWORD timeout = kConnectTimeoutMs;  // stored, though Wine does not honour it
  ::InternetSetOptionA(session.get(), INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof(timeout));
  const std::string& headers = m_request.headers;
  UniqueInternetHandle request(OpenWebRequest(session.get(), m_request.url.c_str(),
                                              headers.empty() ? nullptr : headers.c_str(),
                                              kOpenUrlFlags));
  if (!request) return AttemptEnd::NotOpened;
  Touch();

  const AnswerFacts facts = ReadFacts(request.get());
  bool readBody = false;
  if (!WithSink([&](AttemptSink& sink) { readBody = sink.OnAnswer(facts); }) || !readBody) {
    return AttemptEnd::Settled;
  }

  char chunk[kChunkSize];  // on this thread's stack: file mode needs no heap per chunk
  for (;;) {
    // The number is not used: reading only what has arrived would make many small reads,
    // and each costs as much as a full one. (Wine's read waits to fill the buffer, so up to
    // one chunk before a stall is not stored, and a resume asks for it again.)
    DWORD available = 0;
    if (!::InternetQueryDataAvailable(request.get(), &available, 0, 0)) return AttemptEnd::Broken;
    DWORD read = 0;
    if (!::InternetReadFile(request.get(), chunk, kChunkSize, &read)) return AttemptEnd::Broken;
    if (read > 0) Touch();
    ChunkOutcome outcome = ChunkOutcome::Settled;
    if (!WithSink([&](AttemptSink& sink) { outcome = sink.OnChunk(chunk, read); })) {
      return AttemptEnd::Settled;
    }
    if (outcome == ChunkOutcome::Settled) return AttemptEnd::Settled;
    if (outcome == ChunkOutcome::Broken) return AttemptEnd::Broken;
  }
}

AttemptEnd TransferAttempt::End() {
  CriticalSectionGuard guard(m_lock);
  return m_end;
}

AttemptEnd TransferAttempt::LetGo() {
  CriticalSectionGuard guard(m_lock);
  m_sink = nullptr;
  return m_end;
}

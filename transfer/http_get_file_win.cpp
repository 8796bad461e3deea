#include "transfer/http_get_file_win.h"

#include <process.h>
#include <wininet.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "common/unique_handle_win.h"
#include "transfer/http_get_file_job_win.h"
#include "transfer/transfer_state_win.h"
#include "transfer/web_address.h"

// Registered once, while the process starts, in the order the engine declares them.
const UINT WM_HTTPGETFILE_START = ::RegisterWindowMessageA("WM_HTTPGETFILE_START");
const UINT WM_HTTPGETFILE_PROGRESS = ::RegisterWindowMessageA("WM_HTTPGETFILE_PROGRESS");
const UINT WM_HTTPGETFILE_COMPLETE = ::RegisterWindowMessageA("WM_HTTPGETFILE_COMPLETE");

namespace {

unsigned __stdcall TransferThread(void* argument) {
  // No exception may leave a thread entry; the transfer reports through its messages.
  try {
    RunHttpGetFileJob(std::unique_ptr<HttpGetFileJob>(static_cast<HttpGetFileJob*>(argument)));
  } catch (...) {
  }
  return 0;
}

std::unique_ptr<char[]> CopyHeaders(const char* headers, bool& ok) {
  ok = true;
  if (!headers) return nullptr;
  const size_t size = std::strlen(headers) + 1;
  std::unique_ptr<char[]> copy(new (std::nothrow) char[size]);
  if (!copy) {
    ok = false;
    return nullptr;
  }
  std::memcpy(copy.get(), headers, size);
  return copy;
}

// Commits a transfer that will run: it takes its id and is counted from here on.
void Commit(HttpGetFileJob& job, int* outJobId) {
  job.id = TakeNextTransferId();
  if (outJobId) *outJobId = job.id;
  if (job.outBuffer) *job.outBuffer = nullptr;
  if (job.outLength) *job.outLength = 0;
  AddRunningTransfer();
  RegisterTransferControl(job.id, &job.control);
}

// A transfer given up during set-up leaves nothing behind, not even the file it created.
int Abandon(std::unique_ptr<HttpGetFileJob> job, UniqueFileHandle& file, const char* path) {
  job.reset();
  if (file) {
    file.reset();
    ::DeleteFileA(path);
  }
  return 0;
}

// A record with the canonical URL and the agent; null when either is unusable (a URL that does
// not canonicalise into 1024 bytes or is no web address, an agent of 512 or more characters) or
// memory is short.
std::unique_ptr<HttpGetFileJob> NewJob(const char* url, const char* agent) {
  char canonicalUrl[kTransferUrlSize];
  DWORD urlLength = sizeof(canonicalUrl);
  if (!url || !::InternetCanonicalizeUrlA(url, canonicalUrl, &urlLength, 0)) return nullptr;
  // Only web addresses: a file: or ftp: address would otherwise be "downloaded" as well.
  if (!IsWebAddress(canonicalUrl)) return nullptr;
  if (!agent) agent = "";
  if (std::strlen(agent) >= kTransferAgentSize) return nullptr;
  std::unique_ptr<HttpGetFileJob> job(new (std::nothrow) HttpGetFileJob());
  if (!job) return nullptr;
  std::memcpy(job->url, canonicalUrl, sizeof(canonicalUrl));
  std::strcpy(job->agent, agent);
  return job;
}

// Starts the worker for `job`, which takes `file` along. False when no thread could be started:
// then `job` and `file` are still the caller's.
bool StartWorker(std::unique_ptr<HttpGetFileJob>& job, UniqueFileHandle& file, int* outJobId) {
  // The thread starts suspended so that one that cannot be started costs nothing: the id,
  // the out-pointers and the running count are committed only once it exists.
  UniqueKernelHandle thread(reinterpret_cast<HANDLE>(
      ::_beginthreadex(nullptr, 0, TransferThread, job.get(), CREATE_SUSPENDED, nullptr)));
  if (!thread) return false;
  job->file = std::move(file);
  HttpGetFileJob* running = job.release();  // the thread owns the record from here on
  Commit(*running, outJobId);
  ::ResumeThread(thread.get());
  return true;  // nobody joins the thread; closing our handle lets it end on its own
}

}  // namespace

int HttpGetFile(const char* url, const char* filePath, HWND notifyWnd, int* outJobId,
                int synchronous, const char* agent, int maxBytes, int toFile, char** outBuffer,
                int* outLength, int priority, int* outContentLength, const char* headers) {
  return HttpGetFileWithPolicy(TransferPolicy(), url, filePath, notifyWnd, outJobId, synchronous,
                               agent, maxBytes, toFile, outBuffer, outLength, priority,
                               outContentLength, headers);
}

int HttpGetFileWithPolicy(const TransferPolicy& policy, const char* url, const char* filePath,
                          HWND notifyWnd, int* outJobId, int synchronous, const char* agent,
                          int maxBytes, int toFile, char** outBuffer, int* outLength, int priority,
                          int* outContentLength, const char* headers) {
  std::unique_ptr<HttpGetFileJob> job = NewJob(url, agent);
  if (!job) return 0;

  UniqueFileHandle file;
  if (toFile && filePath) {
    file.reset(::CreateFileA(filePath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
  }

  bool headersCopied = false;
  job->headers = CopyHeaders(headers, headersCopied);
  if (!headersCopied) return Abandon(std::move(job), file, filePath);
  job->toFile = toFile;
  job->notifyWnd = notifyWnd;
  job->maxBytes = maxBytes;
  job->outBuffer = outBuffer;
  job->outLength = outLength;
  job->priority = priority;
  job->outContentLength = outContentLength;
  if (toFile && filePath) job->path = filePath;
  job->policy = policy;

  if (synchronous) {
    job->file = std::move(file);
    Commit(*job, outJobId);
    return RunHttpGetFileJob(std::move(job));
  }

  if (!StartWorker(job, file, outJobId)) return Abandon(std::move(job), file, filePath);
  return 1;
}

int HttpGetFileInto(const char* url, std::shared_ptr<HttpFileTarget> target, HWND notifyWnd,
                    int* outJobId, const char* agent) {
  if (!target) return 0;
  UniqueFileHandle file = std::move(target->file);
  std::unique_ptr<HttpGetFileJob> job = NewJob(url, agent);
  if (!job) return 0;
  job->toFile = 1;
  job->notifyWnd = notifyWnd;
  // The file goes with the last owner of `target`, an abandoned worker included.
  job->target = std::move(target);
  return StartWorker(job, file, outJobId) ? 1 : 0;
}

void HttpGetFileFreeBuffer(char* buffer) { std::free(buffer); }

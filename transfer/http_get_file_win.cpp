#include "transfer/http_get_file_win.h"

#include <cstdlib>
#include <memory>
#include <new>

#include "common/unique_handle_win.h"
#include "transfer/transfer_job_win.h"
#include "transfer/transfer_request.h"

// Registered once, while the process starts, in the order the engine declares them.
const UINT WM_HTTPGETFILE_START = ::RegisterWindowMessageA("WM_HTTPGETFILE_START");
const UINT WM_HTTPGETFILE_PROGRESS = ::RegisterWindowMessageA("WM_HTTPGETFILE_PROGRESS");
const UINT WM_HTTPGETFILE_COMPLETE = ::RegisterWindowMessageA("WM_HTTPGETFILE_COMPLETE");

namespace {

// The request HttpGetFile's arguments describe, under the default policy; null when memory
// is short.
std::unique_ptr<TransferJob> NewJob(const char* url, const char* agent, int priority,
                                    const char* headers) {
  if (!url) return nullptr;
  try {
    TransferRequest request;
    request.url = url;
    request.agent = agent ? agent : "";
    request.headers = headers ? headers : "";
    request.priority = priority;
    return NewTransferJob(request);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

}  // namespace

int HttpGetFile(const char* url, const char* filePath, HWND notifyWnd, int* outJobId,
                int synchronous, const char* agent, int maxBytes, int toFile, char** outBuffer,
                int* outLength, int priority, int* outContentLength, const char* headers) {
  std::unique_ptr<TransferJob> job = NewJob(url, agent, priority, headers);
  if (!job) return 0;
  job->notifyWnd = notifyWnd;
  job->toFile = toFile;
  job->maxBytes = maxBytes;
  job->outJobId = outJobId;
  job->outBuffer = outBuffer;
  job->outLength = outLength;
  job->outContentLength = outContentLength;

  UniqueFileHandle file;
  if (toFile && filePath) {
    try {
      job->path = filePath;
    } catch (const std::bad_alloc&) {
      return 0;
    }
    file.reset(::CreateFileA(filePath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return 0;
  }

  if (synchronous) return RunTransferHere(std::move(job), std::move(file));
  if (StartTransferWorker(job, file)) return 1;
  // A transfer given up during set-up leaves nothing behind, not even the file it created.
  file.reset();
  if (toFile && filePath) ::DeleteFileA(filePath);
  return 0;
}

void HttpGetFileFreeBuffer(char* buffer) {
  std::free(buffer);
}

#include "transfer/transfer_win.h"

#include <new>

#include "common/unique_handle_win.h"
#include "transfer/http_get_file_win.h"
#include "transfer/transfer_job_win.h"

namespace {

struct TransferBufferFree {
  void operator()(char* buffer) const { HttpGetFileFreeBuffer(buffer); }
};

}  // namespace

bool StartTransferInto(const TransferRequest& request, std::shared_ptr<HttpFileTarget> target,
                       HWND notifyWnd, int& id) {
  if (!target) return false;
  UniqueFileHandle file = std::move(target->file);
  std::unique_ptr<TransferJob> job;
  try {
    job = NewTransferJob(request);
  } catch (const std::bad_alloc&) {
  }
  if (!job) return false;
  job->toFile = 1;
  job->notifyWnd = notifyWnd;
  job->outJobId = &id;
  // The file goes with the last owner of `target`, an abandoned worker included.
  job->target = std::move(target);
  return StartTransferWorker(job, file);
}

bool TransferIntoMemory(const TransferRequest& request, std::string& body) {
  std::unique_ptr<TransferJob> job = NewTransferJob(request);
  if (!job) return false;
  char* buffer = nullptr;
  int length = 0;
  job->outBuffer = &buffer;
  job->outLength = &length;
  const int outcome = RunTransferHere(std::move(job), UniqueFileHandle());
  std::unique_ptr<char, TransferBufferFree> owned(buffer);
  if (outcome != 1 || length < 0) return false;
  body.assign(owned ? owned.get() : "", owned ? static_cast<size_t>(length) : 0);
  return true;
}

#include "transfer/transfer_job_win.h"

#include <process.h>
#include <wininet.h>

#include <new>

#include "transfer/transfer_registry_win.h"
#include "transfer/web_address.h"

namespace {

unsigned __stdcall TransferThread(void* argument) {
  // No exception may leave a thread entry; the transfer reports through its messages.
  try {
    RunTransferJob(std::unique_ptr<TransferJob>(static_cast<TransferJob*>(argument)));
  } catch (...) {
  }
  return 0;
}

// A transfer that will run takes its id and is counted from here on.
void Commit(TransferJob& job) {
  job.id = TransferRegistry::Instance().Commit(job.control);
  if (job.outJobId) *job.outJobId = job.id;
  if (job.outBuffer) *job.outBuffer = nullptr;
  if (job.outLength) *job.outLength = 0;
}

}  // namespace

std::unique_ptr<TransferJob> NewTransferJob(const TransferRequest& request) {
  char canonicalUrl[kTransferUrlSize];
  DWORD urlLength = sizeof(canonicalUrl);
  if (!::InternetCanonicalizeUrlA(request.url.c_str(), canonicalUrl, &urlLength, 0)) {
    return nullptr;
  }
  // Only web addresses: a file: or ftp: address would otherwise be "downloaded" as well.
  if (!IsWebAddress(canonicalUrl)) return nullptr;
  if (request.agent.size() >= kTransferAgentSize) return nullptr;
  std::unique_ptr<TransferJob> job(new (std::nothrow) TransferJob());
  if (!job) return nullptr;
  job->request = request;
  job->request.url = canonicalUrl;
  return job;
}

int RunTransferHere(std::unique_ptr<TransferJob> job, UniqueFileHandle file) {
  job->file = std::move(file);
  Commit(*job);
  return RunTransferJob(std::move(job));
}

bool StartTransferWorker(std::unique_ptr<TransferJob>& job, UniqueFileHandle& file) {
  // The thread starts suspended so that one that cannot be started costs nothing: the id,
  // the out-pointers and the running count are committed only once it exists.
  UniqueKernelHandle thread(reinterpret_cast<HANDLE>(
      ::_beginthreadex(nullptr, 0, TransferThread, job.get(), CREATE_SUSPENDED, nullptr)));
  if (!thread) return false;
  job->file = std::move(file);
  TransferJob* running = job.release();  // the thread owns the record from here on
  Commit(*running);
  ::ResumeThread(thread.get());
  return true;  // nobody joins the thread; closing our handle lets it end on its own
}

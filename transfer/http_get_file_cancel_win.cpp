#include <windows.h>

#include "transfer/http_get_file_win.h"
#include "transfer/transfer_registry_win.h"

namespace {

constexpr DWORD kPollIntervalMs = 100;
constexpr int kPollsForAll = 100;  // about 10 s for every transfer to end
constexpr int kPollsForOne = 10;   // about 1 s for the named transfer to acknowledge

}  // namespace

int HttpGetFileCancel(int jobId) {
  TransferRegistry& registry = TransferRegistry::Instance();
  registry.RaiseCancel(jobId);

  int result = 0;
  if (jobId == -1) {
    for (int poll = 0; poll < kPollsForAll; ++poll) {
      if (registry.RunningCount() == 0) {
        result = 1;
        break;
      }
      ::Sleep(kPollIntervalMs);
    }
  } else {
    for (int poll = 0; poll < kPollsForOne; ++poll) {
      if (!registry.CancelPending()) {  // the named transfer acknowledged
        result = 1;
        break;
      }
      ::Sleep(kPollIntervalMs);
    }
  }
  // Workers see the request only after their next chunk; this grace period lets those that
  // are between chunks notice it before it is withdrawn.
  ::Sleep(kPollIntervalMs);
  registry.WithdrawCancel();
  return result;
}

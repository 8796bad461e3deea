#include <windows.h>

#include "transfer/http_get_file_win.h"
#include "transfer/transfer_state_win.h"

namespace {

constexpr DWORD kPollIntervalMs = 100;
constexpr int kPollsForAll = 100;  // about 10 s for every transfer to end
constexpr int kPollsForOne = 10;   // about 1 s for the named transfer to acknowledge

}  // namespace

int HttpGetFileCancel(int jobId) {
  // The target is in place before the request is raised: a worker that sees the request
  // never pairs it with the target of an earlier one.
  g_cancelTarget.store(jobId);
  g_cancelRequest.store(1);

  int result = 0;
  if (jobId == -1) {
    for (int poll = 0; poll < kPollsForAll; ++poll) {
      if (g_runningCount.load() == 0) {
        result = 1;
        break;
      }
      ::Sleep(kPollIntervalMs);
    }
  } else {
    for (int poll = 0; poll < kPollsForOne; ++poll) {
      if (g_cancelRequest.load() == 0) {  // the named transfer acknowledged
        result = 1;
        break;
      }
      ::Sleep(kPollIntervalMs);
    }
  }
  // Workers see the request only after their next chunk; this grace period lets those that
  // are between chunks notice it before it is withdrawn.
  ::Sleep(kPollIntervalMs);
  g_cancelRequest.store(0);
  return result;
}

#include "transfer/transfer_control_win.h"

#include "transfer/http_get_file_win.h"
#include "transfer/transfer_registry_win.h"

namespace {

constexpr DWORD kAbandonPollMs = 10;

bool IsRunning(int id) {
  return TransferRegistry::Instance().WithControl(id, [](TransferControl&) {});
}

}  // namespace

bool TransferControl::ClaimProgressSlot() {
  return !m_progressWaiting.exchange(true);
}

void TransferControl::ReleaseProgressSlot() {
  m_progressWaiting.store(false);
  m_progressTaken.Set();
}

bool TransferControl::WaitForProgressSlot(DWORD timeoutMs) {
  const DWORD started = ::GetTickCount();
  const HANDLE events[] = {m_progressTaken.Handle(), m_abandonEvent.Handle()};
  while (m_progressWaiting.load()) {
    const DWORD elapsed = ::GetTickCount() - started;
    if (elapsed >= timeoutMs || m_abandoned.load()) return false;
    ::WaitForMultipleObjects(2, events, FALSE, timeoutMs - elapsed);
  }
  return true;
}

void TransferControl::Abandon() {
  m_abandoned.store(true);
  m_abandonEvent.Set();
}

void HttpGetFileProgressTaken(int jobId) {
  TransferRegistry::Instance().WithControl(
      jobId, [](TransferControl& control) { control.ReleaseProgressSlot(); });
}

int HttpGetFileAbandon(int jobId, DWORD waitMs) {
  if (!TransferRegistry::Instance().WithControl(
          jobId, [](TransferControl& control) { control.Abandon(); })) {
    return 1;
  }
  const DWORD started = ::GetTickCount();
  while (IsRunning(jobId)) {
    if (::GetTickCount() - started >= waitMs) return 0;
    ::Sleep(kAbandonPollMs);
  }
  return 1;
}

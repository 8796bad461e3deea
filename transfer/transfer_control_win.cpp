#include "transfer/transfer_control_win.h"

#include <map>

#include "transfer/http_get_file_win.h"
#include "transfer/transfer_state_win.h"

namespace {

// Never destroyed: a transfer that outlives a cancel may unregister while the process exits.
std::map<int, TransferControl*>& Registry() {
  static auto* registry = new std::map<int, TransferControl*>();
  return *registry;
}

// Runs `action` on the control of transfer `id` under the lock; false when none runs.
template <typename Action>
bool WithControl(int id, Action action) {
  TransferLockGuard guard(g_transferLock);
  auto found = Registry().find(id);
  if (found == Registry().end()) return false;
  action(*found->second);
  return true;
}

bool IsRegistered(int id) {
  return WithControl(id, [](TransferControl&) {});
}

constexpr DWORD kAbandonPollMs = 10;

}  // namespace

TransferControl::TransferControl()
    : m_progressTaken(::CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_abandonEvent(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

bool TransferControl::ClaimProgressSlot() {
  return !m_progressWaiting.exchange(true);
}

void TransferControl::ReleaseProgressSlot() {
  m_progressWaiting.store(false);
  ::SetEvent(m_progressTaken.get());
}

bool TransferControl::WaitForProgressSlot(DWORD timeoutMs) {
  const DWORD started = ::GetTickCount();
  const HANDLE events[] = {m_progressTaken.get(), m_abandonEvent.get()};
  while (m_progressWaiting.load()) {
    const DWORD elapsed = ::GetTickCount() - started;
    if (elapsed >= timeoutMs || m_abandoned.load()) return false;
    ::WaitForMultipleObjects(2, events, FALSE, timeoutMs - elapsed);
  }
  return true;
}

void TransferControl::Abandon() {
  m_abandoned.store(true);
  ::SetEvent(m_abandonEvent.get());
}

void RegisterTransferControl(int id, TransferControl* control) {
  TransferLockGuard guard(g_transferLock);
  Registry()[id] = control;
}

void UnregisterTransferControl(int id) {
  TransferLockGuard guard(g_transferLock);
  Registry().erase(id);
}

void HttpGetFileProgressTaken(int jobId) {
  WithControl(jobId, [](TransferControl& control) { control.ReleaseProgressSlot(); });
}

int HttpGetFileAbandon(int jobId, DWORD waitMs) {
  if (!WithControl(jobId, [](TransferControl& control) { control.Abandon(); })) return 1;
  const DWORD started = ::GetTickCount();
  while (IsRegistered(jobId)) {
    if (::GetTickCount() - started >= waitMs) return 0;
    ::Sleep(kAbandonPollMs);
  }
  return 1;
}

// The engine's process-wide state in one owner: the running count, the id counter, the cancel
// words and the controls of the running transfers. HttpGetFile commits a transfer here, its
// thread takes it off at the very end, and HttpGetFileCancel, HttpGetFileAbandon and
// HttpGetFileProgressTaken reach running transfers only through it.
#pragma once

#include <atomic>
#include <map>

#include "common/critical_section_win.h"
#include "transfer/transfer_control_win.h"

class TransferRegistry {
 public:
  // The one registry. It is never destroyed: a transfer whose cancel gave up waiting may still
  // run while the process exits, and it uses the registry to its end.
  static TransferRegistry& Instance();
  TransferRegistry(const TransferRegistry&) = delete;
  TransferRegistry& operator=(const TransferRegistry&) = delete;

  // Commits a transfer that is certain to run: takes its id, counts it and registers its
  // control, which must live until Unregister. Returns the id.
  int Commit(TransferControl& control);
  // A transfer ends in two steps: its control is unregistered, then (once the transfer has
  // let go of its record and target) it is no longer counted, its very last act.
  void Unregister(int id);
  void Uncount();
  // Transfers from their commit until Uncount; read without the lock.
  int RunningCount() const { return m_runningCount.load(); }

  // Runs `action` on the control of transfer `id` under the lock, so a control is never
  // reached after its transfer has unregistered it; false when no such transfer runs.
  template <typename Action>
  bool WithControl(int id, Action action) {
    CriticalSectionGuard guard(m_lock);
    auto found = m_controls.find(id);
    if (found == m_controls.end()) return false;
    action(*found->second);
    return true;
  }

  // The cancel words. RaiseCancel asks transfer `target` (-1: every transfer) to stop after
  // its next chunk; the transfer named alone acknowledges by clearing the request.
  void RaiseCancel(int target);
  bool CancelPending() const { return m_cancelRequest.load() != 0; }
  void WithdrawCancel() { m_cancelRequest.store(0); }
  // Called by transfer `id` after each chunk: whether a raised cancel stops it.
  bool CancelStops(int id);

 private:
  TransferRegistry() = default;
  int TakeNextId();

  CriticalSection m_lock;  // guards m_controls and the changes of m_runningCount
  std::map<int, TransferControl*> m_controls;
  std::atomic<int> m_runningCount{0};
  // The canceller sets the target first, then raises the request, so a transfer that sees
  // the request also sees its target.
  std::atomic<int> m_cancelRequest{0};
  std::atomic<int> m_cancelTarget{0};
  std::atomic<int> m_lastId{0};  // advanced only once a transfer is certain to run
};

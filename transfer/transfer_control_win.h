// What other threads may ask of a running transfer, besides the cancel words: the receiver
// of its progress messages says it has taken one (so at most one waits in its queue), and
// the owner of its window abandons it. A transfer's control is registered under its id in
// the TransferRegistry for as long as the transfer runs.
#pragma once

#include <windows.h>

#include <atomic>

#include "common/event_win.h"

class TransferControl {
 public:
  TransferControl() = default;
  TransferControl(const TransferControl&) = delete;
  TransferControl& operator=(const TransferControl&) = delete;

  // True when no progress message is waiting: the caller may post one (and must call
  // ReleaseProgressSlot if the post fails).
  bool ClaimProgressSlot();
  void ReleaseProgressSlot();
  // Waits until the waiting progress message has been taken; false after `timeoutMs` or
  // when the transfer is abandoned meanwhile.
  bool WaitForProgressSlot(DWORD timeoutMs);

  void Abandon();
  bool Abandoned() const { return m_abandoned.load(); }
  // Signalled once the transfer is abandoned: its thread waits on it with the reader.
  HANDLE AbandonEvent() const { return m_abandonEvent.Handle(); }

 private:
  std::atomic<bool> m_progressWaiting{false};
  std::atomic<bool> m_abandoned{false};
  Event m_progressTaken{EventReset::Automatic};
  Event m_abandonEvent{EventReset::Manual};
};

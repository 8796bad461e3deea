// What other threads may ask of a running transfer, besides the cancel words: the receiver
// of its progress messages says it has taken one (so at most one waits in its queue), and
// the owner of its window abandons it. A transfer registers its control under its id for as
// long as it runs; the lookups and the registration changes happen under g_transferLock, so
// a control is never reached after its transfer has unregistered it.
#pragma once

#include <windows.h>

#include <atomic>

#include "common/unique_handle_win.h"

class TransferControl {
 public:
  TransferControl();
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
  HANDLE AbandonEvent() const { return m_abandonEvent.get(); }

 private:
  std::atomic<bool> m_progressWaiting{false};
  std::atomic<bool> m_abandoned{false};
  UniqueKernelHandle m_progressTaken;  // auto-reset
  UniqueKernelHandle m_abandonEvent;   // manual-reset
};

// A transfer is registered from its commit (on the starting thread) to the very end of its
// own thread.
void RegisterTransferControl(int id, TransferControl* control);
void UnregisterTransferControl(int id);

#include "transfer/transfer_state_win.h"

#include "transfer/transfer_rules.h"

TransferLock::~TransferLock() {
  // A transfer whose cancel timed out may still run while the process exits, and its worker
  // would then enter the engine's deleted section; that one is left to the end of the
  // process. An attempt's lock goes with its attempt, which no thread uses any more.
  if (m_lifetime == LockLifetime::WithOwner || g_runningCount.load() == 0)
    ::DeleteCriticalSection(&m_section);
}

TransferLock g_transferLock(LockLifetime::UntilTransfersEnd);
std::atomic<int> g_runningCount{0};
std::atomic<int> g_cancelRequest{0};
std::atomic<int> g_cancelTarget{0};
std::atomic<int> g_nextJobId{0};

int TakeNextTransferId() {
  // Normally only one thread starts transfers, but two starting at once still get two ids.
  int previous = g_nextJobId.load();
  int next = NextTransferId(previous);
  while (!g_nextJobId.compare_exchange_weak(previous, next)) next = NextTransferId(previous);
  return next;
}

void AddRunningTransfer() {
  TransferLockGuard guard(g_transferLock);
  ++g_runningCount;
}

void RemoveRunningTransfer() {
  TransferLockGuard guard(g_transferLock);
  --g_runningCount;
}

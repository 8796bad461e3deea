// Process-wide state of the download engine: the transfer lock, the running count, the
// cancel words and the id counter. Shared by HttpGetFile, its workers and HttpGetFileCancel.
#pragma once

#include <windows.h>

#include <atomic>

// How long a lock's critical section lives.
enum class LockLifetime {
  WithOwner,         // deleted with the lock (an attempt's lock)
  UntilTransfersEnd  // the engine's lock: kept at exit while a transfer still runs
};

// Wraps one critical section.
class TransferLock {
 public:
  explicit TransferLock(LockLifetime lifetime = LockLifetime::WithOwner) : m_lifetime(lifetime) {
    ::InitializeCriticalSection(&m_section);
  }
  ~TransferLock();
  TransferLock(const TransferLock&) = delete;
  TransferLock& operator=(const TransferLock&) = delete;

  void Enter() { ::EnterCriticalSection(&m_section); }
  void Leave() { ::LeaveCriticalSection(&m_section); }

 private:
  const LockLifetime m_lifetime;
  CRITICAL_SECTION m_section;
};

class TransferLockGuard {
 public:
  explicit TransferLockGuard(TransferLock& lock) : m_lock(lock) { m_lock.Enter(); }
  ~TransferLockGuard() { m_lock.Leave(); }
  TransferLockGuard(const TransferLockGuard&) = delete;
  TransferLockGuard& operator=(const TransferLockGuard&) = delete;

 private:
  TransferLock& m_lock;
};

// Guards the changes of g_runningCount; HttpGetFileCancel reads the count without it.
// Constructed before the main routine and deleted at exit.
extern TransferLock g_transferLock;
// Transfers from the moment they are committed to run until their clean-up has ended.
extern std::atomic<int> g_runningCount;
// The cancel words: the canceller sets the target first, then raises the request, so a
// worker that sees the request also sees its target. A worker named by the target clears
// the request to acknowledge it.
extern std::atomic<int> g_cancelRequest;
extern std::atomic<int> g_cancelTarget;
// The id of the last transfer; only advanced once a transfer is certain to run.
extern std::atomic<int> g_nextJobId;

// Takes the next transfer id.
int TakeNextTransferId();
void AddRunningTransfer();
void RemoveRunningTransfer();

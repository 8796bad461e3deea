#include "transfer/transfer_registry_win.h"

#include <new>

#include "transfer/transfer_rules.h"

TransferRegistry& TransferRegistry::Instance() {
  // Constructed on first use, in storage that is never released.
  alignas(TransferRegistry) static unsigned char storage[sizeof(TransferRegistry)];
  static TransferRegistry* const registry = new (storage) TransferRegistry();
  return *registry;
}

int TransferRegistry::TakeNextId() {
  // Normally only one thread starts transfers, but two starting at once still get two ids.
  int previous = m_lastId.load();
  int next = NextTransferId(previous);
  while (!m_lastId.compare_exchange_weak(previous, next)) next = NextTransferId(previous);
  return next;
}

int TransferRegistry::Commit(TransferControl& control) {
  const int id = TakeNextId();
  CriticalSectionGuard guard(m_lock);
  ++m_runningCount;
  m_controls[id] = &control;
  return id;
}

void TransferRegistry::Unregister(int id) {
  CriticalSectionGuard guard(m_lock);
  m_controls.erase(id);
}

void TransferRegistry::Uncount() {
  CriticalSectionGuard guard(m_lock);
  --m_runningCount;
}

void TransferRegistry::RaiseCancel(int target) {
  // The target is in place before the request is raised: a transfer that sees the request
  // never pairs it with the target of an earlier one.
  m_cancelTarget.store(target);
  m_cancelRequest.store(1);
}

bool TransferRegistry::CancelStops(int id) {
  // The request first, then its target: the canceller writes them in the other order.
  const int request = m_cancelRequest.load();
  const int target = m_cancelTarget.load();
  const CancelVerdict verdict = JudgeCancelRequest(request, target, id);
  // Clearing the request tells the canceller this transfer has acknowledged.
  if (verdict == CancelVerdict::StopThis) m_cancelRequest.store(0);
  return verdict != CancelVerdict::GoOn;
}

// A critical section with one owner: initialised with it and deleted with it. An object
// that must outlive threads still running at exit lives in storage that is never destroyed.
#pragma once

#include <windows.h>

class CriticalSection {
 public:
  CriticalSection() { ::InitializeCriticalSection(&m_section); }
  ~CriticalSection() { ::DeleteCriticalSection(&m_section); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Enter() { ::EnterCriticalSection(&m_section); }
  void Leave() { ::LeaveCriticalSection(&m_section); }

 private:
  CRITICAL_SECTION m_section;
};

// Holds a critical section for the guard's scope.
class CriticalSectionGuard {
 public:
  explicit CriticalSectionGuard(CriticalSection& section) : m_section(section) {
    m_section.Enter();
  }
  ~CriticalSectionGuard() { m_section.Leave(); }
  CriticalSectionGuard(const CriticalSectionGuard&) = delete;
  CriticalSectionGuard& operator=(const CriticalSectionGuard&) = delete;

 private:
  CriticalSection& m_section;
};

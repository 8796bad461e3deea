// An unnamed event with one owner, closed with it.
#pragma once

#include <windows.h>

#include "common/unique_handle_win.h"

enum class EventReset {
  Automatic,  // a wait that sees the event signalled resets it
  Manual      // stays signalled once set
};

class Event {
 public:
  explicit Event(EventReset reset)
      : m_handle(::CreateEventA(nullptr, reset == EventReset::Manual, FALSE, nullptr)) {}

  void Set() { ::SetEvent(m_handle.get()); }
  // Null when the event could not be created: a wait on it then fails at once.
  HANDLE Handle() const { return m_handle.get(); }

 private:
  UniqueKernelHandle m_handle;
};

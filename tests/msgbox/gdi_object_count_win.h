// Test support: the number of live GDI objects of this process.
// GetGuiResources(GR_GDIOBJECTS) gives it on Windows. Wine 8 does not implement that call (it
// answers 0 with ERROR_CALL_NOT_IMPLEMENTED), but it keeps the process's GDI handles in the
// shared handle table that the PEB points to (GdiSharedHandleTable: offset 0x94 in a 32-bit
// PEB, 0xF8 in a 64-bit one), 24-byte entries on both whose Unique word (offset 12) is the handle's high word and whose
// type byte (offset 14) is 0 for a free entry. The table's layout is checked with a probe
// bitmap before it is trusted; if neither way works the count is reported as unavailable.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace gdi_count_detail {

constexpr size_t kEntrySize = 24;
constexpr size_t kEntryCount = 0x10000;
constexpr size_t kPebTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

inline const uint8_t* SharedHandleTable() {
  using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
  QueryProcess query = reinterpret_cast<QueryProcess>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof(basic),
                      nullptr) != 0) {
    return nullptr;
  }
  const uint8_t* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
  return peb ? *reinterpret_cast<const uint8_t* const*>(peb + kPebTableOffset) : nullptr;
}

inline bool EntryMatches(const uint8_t* table, HGDIOBJ handle) {
  const uintptr_t value = reinterpret_cast<uintptr_t>(handle);
  const uint8_t* entry = table + (value & 0xFFFF) * kEntrySize;
  const uint16_t unique = static_cast<uint16_t>(entry[12] | (entry[13] << 8));
  return unique == ((value >> 16) & 0xFFFF) && entry[14] != 0;
}

inline bool TableLayoutHolds(const uint8_t* table) {
  HBITMAP probe = ::CreateBitmap(1, 1, 1, 1, nullptr);
  if (!probe) return false;
  const bool liveMatches = EntryMatches(table, probe);
  const uint8_t* entry = table + (reinterpret_cast<uintptr_t>(probe) & 0xFFFF) * kEntrySize;
  ::DeleteObject(probe);
  return liveMatches && entry[14] == 0;
}

}  // namespace gdi_count_detail

// Live GDI objects of this process; false when no honest count can be had.
inline bool CountGdiObjects(long& count, const char** method = nullptr) {
  ::SetLastError(0);
  const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) {
    count = static_cast<long>(reported);
    if (method) *method = "GetGuiResources";
    return true;
  }
  const uint8_t* table = gdi_count_detail::SharedHandleTable();
  if (!table || !gdi_count_detail::TableLayoutHolds(table)) return false;
  long live = 0;
  for (size_t i = 0; i < gdi_count_detail::kEntryCount; ++i) {
    if (table[i * gdi_count_detail::kEntrySize + 14] != 0) ++live;
  }
  count = live;
  if (method) *method = "shared GDI handle table";
  return true;
}

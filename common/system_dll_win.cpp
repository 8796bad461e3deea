#include "common/system_dll_win.h"

#include <commctrl.h>
#include <delayimp.h>

#include <string>

void RestrictDllSearchToSystemFolder() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDllDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void*>(
          ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
  if (!setDefaultDllDirectories || !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
    ::SetDllDirectoryA("");
}

HMODULE LoadSystemDll(const char* name) {
  HMODULE module = ::LoadLibraryExA(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (module || ::GetLastError() != ERROR_INVALID_PARAMETER) return module;
  // A system without the search flags: name the file in the system folder in full.
  char systemDir[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryA(systemDir, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return ::LoadLibraryA((std::string(systemDir, length) + "\\" + name).c_str());
}

namespace {

// The activation context of the exe's manifest resource 2, which asks for the version 6 common
// controls; created on first use and kept for the life of the process.
HANDLE CommonControlsContext() {
  static const HANDLE context = [] {
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = ::GetModuleHandleA(nullptr);
    request.lpResourceName = MAKEINTRESOURCEA(2);  // ISOLATIONAWARE_MANIFEST_RESOURCE_ID
    return ::CreateActCtxA(&request);
  }();
  return context;
}

}  // namespace

CommonControlsScope::CommonControlsScope() {
  const HANDLE context = CommonControlsContext();
  m_active = context != INVALID_HANDLE_VALUE && ::ActivateActCtx(context, &m_cookie);
  // The user-interface thread alone opens dialogs and boxes. Inside the context, so that the
  // first call loads the version 6 DLL.
  static bool initialised = false;
  if (initialised) return;
  initialised = true;
  ::InitCommonControls();
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = 0x7FF;  // every class up to the rebar classes
  ::InitCommonControlsEx(&controls);
}

CommonControlsScope::~CommonControlsScope() {
  if (m_active) ::DeactivateActCtx(0, m_cookie);
}

namespace {

// The delay-load helper asks this hook first; a module it returns is used as the DLL.
FARPROC WINAPI LoadDelayedImport(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  return reinterpret_cast<FARPROC>(LoadSystemDll(info->szDll));
}

}  // namespace

// Linked in by name (see CMakeLists.txt) so that it wins over the runtime's empty default.
extern "C" {
PfnDliHook __pfnDliNotifyHook2 = LoadDelayedImport;
}

// A program for launcher_bench.exe's rough profile: it imports every DLL ZuLauncher.exe links
// and initialises the common controls, as the launcher's entry did before it loaded those DLLs
// on demand, then ends. Its start-to-end time, against that of the program with the quick
// road's DLLs only, is what loading them all up front would cost.
// clang-format off
#include <windows.h>  // first: the other headers need its types
#include <commctrl.h>
#include <shellapi.h>
#include <wininet.h>
// clang-format on

namespace {

// Referenced, never called: one function of each DLL the launcher imports beyond the
// runtime's, so that this program's import table names the same DLLs.
void* const volatile kImports[] = {
    reinterpret_cast<void*>(&::IsWindow),             // USER32
    reinterpret_cast<void*>(&::GetStockObject),       // GDI32
    reinterpret_cast<void*>(&::RegCloseKey),          // ADVAPI32
    reinterpret_cast<void*>(&::InternetCloseHandle),  // WININET
    reinterpret_cast<void*>(&::DragFinish),           // SHELL32
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  ::InitCommonControls();  // COMCTL32
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = 0x7FF;
  ::InitCommonControlsEx(&controls);
  for (void* import : kImports) {
    if (!import) return 1;
  }
  return 0;
}

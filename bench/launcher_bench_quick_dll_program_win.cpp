// A do-nothing program for launcher_bench.exe whose import table names only the DLLs the
// launcher's quick road needs (KERNEL32, USER32, ADVAPI32 and the runtime's msvcrt). Its
// start-to-end time is the floor Wine sets for a launcher that loads nothing else up front.
#include <windows.h>

namespace {

// Referenced, never called: one function of each DLL beyond KERNEL32 and the runtime.
void* const volatile kImports[] = {
    reinterpret_cast<void*>(&::IsWindow),     // USER32
    reinterpret_cast<void*>(&::RegCloseKey),  // ADVAPI32
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  for (void* import : kImports) {
    if (!import) return 1;
  }
  return 0;
}

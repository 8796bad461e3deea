// Download throughput of one run: the engine (synchronous into a file, or asynchronous with
// a window that takes every progress message), the launcher's install road (the installer
// download dialog itself, up to the installer's start) or a bare WinINet loop with the
// engine's 10240-byte reads (bare-query: each read preceded by an availability query).
// Prints one line of figures, with the process's peak memory, for bench/download_bench.sh
// to compare.
//   download_bench.exe engine|engine-window|install-road|bare|bare-query URL OUTPUT_PATH
// The installer modes do what the installer download dialog does before the installer starts:
// the engine with a window into a private folder in the temporary directory, capped at
// DOWN_SIZE, then the check of size and SHA-256 through the held handle (installer-unchecked:
// neither key, so only the file's size is read). The file and its folder go at the end.
//   download_bench.exe installer|installer-unchecked URL DOWN_SIZE DOWN_SHA256
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "installer/installer_check_win.h"
#include "installer/private_download_win.h"
#include "installer/setup_download_dlg_win.h"
#include "res/resource.h"
#include "transfer/http_get_file_win.h"
#include "transfer/transfer_win.h"

namespace {

const char* const kAgent = "ZuLauncherBench";

double Seconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The engine as the version-file refresh uses it: synchronous, no window.
bool RunEngine(const char* url, const char* path, long long& bytes) {
  int length = 0;
  int contentLength = 0;
  const int outcome = HttpGetFile(url, path, nullptr, nullptr, 1, kAgent, -1, 1, nullptr,
                                  &length, 0, &contentLength, nullptr);
  bytes = length;
  return outcome == 1 && length == contentLength;
}

struct WindowRun {
  int progressMessages = 0;
  int outcome = -1;
};

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<WindowRun*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
  if (run && message == WM_HTTPGETFILE_PROGRESS) {
    HttpGetFileProgressTaken(static_cast<int>(wParam));
    ++run->progressMessages;
    return 0;
  }
  if (run && message == WM_HTTPGETFILE_COMPLETE) {
    run->outcome = static_cast<int>(lParam);
    return 0;
  }
  return ::DefWindowProcA(window, message, wParam, lParam);
}

// A message-only window whose procedure counts the engine's messages.
HWND CreateBenchWindow(WindowRun& run) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = BenchWindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "ZuDownloadBench";
  ::RegisterClassA(&windowClass);
  HWND window = ::CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
  if (window) ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&run));
  return window;
}

// Handles the engine's messages until the completion has come.
void PumpUntilComplete(const WindowRun& run) {
  MSG message;
  while (run.outcome < 0 && ::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::DispatchMessageA(&message);
  }
}

// The engine as the installer download uses it: a worker thread posting to a window whose
// message loop handles every progress message.
bool RunEngineWithWindow(const char* url, const char* path, long long& bytes) {
  WindowRun run;
  HWND window = CreateBenchWindow(run);
  if (!window) return false;
  int length = 0;
  int contentLength = 0;
  if (!HttpGetFile(url, path, window, nullptr, 0, kAgent, -1, 1, nullptr, &length, 0,
                   &contentLength, nullptr)) {
    ::DestroyWindow(window);
    return false;
  }
  PumpUntilComplete(run);
  ::DestroyWindow(window);
  bytes = length;
  std::printf("progress_messages=%d ", run.progressMessages);
  return run.outcome == 1 && length == contentLength;
}

// The installer download dialog as the launcher shows it, timed from the start of its
// transfer to the completion message; it then ends instead of running the installer.
class TimedSetupDownloadDlg : public CSetupDownloadDlg {
 public:
  explicit TimedSetupDownloadDlg(const InstallerRequest& installer)
      : CSetupDownloadDlg(installer, std::nullopt) {}

  int m_progressMessages = 0;
  int m_outcome = -1;
  double m_started = 0;
  double m_ended = 0;

 protected:
  bool ProcessWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == WM_TIMER && m_started == 0) m_started = Seconds();
    if (message == WM_HTTPGETFILE_PROGRESS) ++m_progressMessages;
    if (message == WM_HTTPGETFILE_COMPLETE) {
      m_ended = Seconds();
      m_outcome = static_cast<int>(lParam);
      EndDialog(kEndFailed);
      result = 0;
      return true;
    }
    return CSetupDownloadDlg::ProcessWindowMessage(message, wParam, lParam, result);
  }
};

bool RunInstallRoad(const char* url, const char* path, long long& bytes, double& seconds) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&controls);
  InstallerRequest installer;
  installer.programName = "Bench";
  installer.downloadUrl = url;
  installer.agentName = kAgent;
  TimedSetupDownloadDlg dialog(installer);
  dialog.DoModal(::GetModuleHandleA(nullptr), IDD_SETUP_DOWNLOAD, nullptr);
  seconds = dialog.m_ended - dialog.m_started;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (::GetFileAttributesExA(dialog.SetupPath().c_str(), GetFileExInfoStandard, &data)) {
    bytes = (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  }
  std::printf("progress_messages=%d ", dialog.m_progressMessages);
  // The script checks the bytes where the other ways leave them.
  return dialog.m_outcome == 1 &&
         ::MoveFileExA(dialog.SetupPath().c_str(), path,
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
}

// The least a WinINet download can do with the same reads: read and write, nothing else
// (with `askAvailable`, each read is preceded by the availability query the engine makes).
bool RunBareLoop(const char* url, const char* path, bool askAvailable, long long& bytes) {
  bytes = 0;
  UniqueInternetHandle session(
      ::InternetOpenA(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return false;
  UniqueInternetHandle request(::InternetOpenUrlA(
      session.get(), url, nullptr, 0,
      INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
          INTERNET_FLAG_PRAGMA_NOCACHE,
      0));
  if (!request) return false;
  UniqueFileHandle file(::CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  char chunk[10240];
  for (;;) {
    DWORD available = 0;
    if (askAvailable && !::InternetQueryDataAvailable(request.get(), &available, 0, 0)) {
      return false;
    }
    DWORD read = 0;
    if (!::InternetReadFile(request.get(), chunk, sizeof(chunk), &read)) return false;
    if (read == 0) return true;
    DWORD written = 0;
    if (!::WriteFile(file.get(), chunk, read, &written, nullptr)) return false;
    bytes += written;
  }
}

bool RunBareReads(const char* url, const char* path, long long& bytes) {
  return RunBareLoop(url, path, false, bytes);
}

bool RunBareQueryAndReads(const char* url, const char* path, long long& bytes) {
  return RunBareLoop(url, path, true, bytes);
}

// The installer download and its check, timed apart; prints its own figure line.
int RunInstaller(bool checked, const char* url, const char* downSize, const char* downSha256) {
  const InstallerExpectation expectation =
      checked ? InstallerExpectation{downSize, downSha256, std::nullopt} : InstallerExpectation{};
  const double started = Seconds();
  std::shared_ptr<PrivateDownload> download =
      PrivateDownload::Create(GetTempDir(), "ZuLauncherTempSetup.exe");
  WindowRun run;
  HWND window = CreateBenchWindow(run);
  if (!download || !window) return 1;
  TransferRequest request;
  request.url = url;
  request.agent = kAgent;
  request.policy.sizeLimit = InstallerSizeLimit(expectation);
  int transferId = 0;
  if (!StartTransferInto(request, download, window, transferId)) return 1;
  PumpUntilComplete(run);
  const double downloaded = Seconds();
  std::string failure;
  const bool passed = run.outcome == 1 && CheckInstallerFile(download->File(), download->Path(),
                                                             expectation, failure);
  const double checkedAt = Seconds();
  LARGE_INTEGER size{};
  ::GetFileSizeEx(download->File(), &size);
  download.reset();
  ::DestroyWindow(window);
  const double downloadSeconds = downloaded - started, checkSeconds = checkedAt - downloaded;
  std::printf("mode=%s ok=%d bytes=%lld seconds=%.3f download_seconds=%.3f check_seconds=%.3f "
              "check_percent=%.1f%s%s\n",
              checked ? "installer" : "installer-unchecked", passed ? 1 : 0,
              static_cast<long long>(size.QuadPart), checkedAt - started, downloadSeconds,
              checkSeconds, downloadSeconds > 0 ? 100.0 * checkSeconds / downloadSeconds : 0.0,
              failure.empty() ? "" : " failure=",
              failure.c_str());
  return passed ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 5 && (std::strcmp(argv[1], "installer") == 0 ||
                    std::strcmp(argv[1], "installer-unchecked") == 0)) {
    return RunInstaller(std::strcmp(argv[1], "installer") == 0, argv[2], argv[3], argv[4]);
  }
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: download_bench engine|engine-window|install-road|bare|bare-query URL "
                 "OUTPUT\n"
                 "       download_bench installer|installer-unchecked URL DOWN_SIZE DOWN_SHA256\n");
    return 2;
  }
  const std::string mode = argv[1];
  bool (*run)(const char*, const char*, long long&) = nullptr;
  if (mode == "engine") run = RunEngine;
  if (mode == "engine-window") run = RunEngineWithWindow;
  if (mode == "bare") run = RunBareReads;
  if (mode == "bare-query") run = RunBareQueryAndReads;
  if (!run && mode != "install-road") {
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
  }

  long long bytes = 0;
  double elapsed = 0;
  bool ok = false;
  if (run) {
    const double started = Seconds();
    ok = run(argv[2], argv[3], bytes);
    elapsed = Seconds() - started;
  } else {
    ok = RunInstallRoad(argv[2], argv[3], bytes, elapsed);
  }

  // CPU time of this process (Wine's server works elsewhere): steadier than the wall clock
  // on a shared machine.
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto hundredNs = [](const FILETIME& time) {
    return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  const double cpuSeconds = static_cast<double>(hundredNs(kernel) + hundredNs(user)) / 1e7;

  PROCESS_MEMORY_COUNTERS memory = {};
  memory.cb = sizeof(memory);
  ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof(memory));
  std::printf("mode=%s ok=%d bytes=%lld seconds=%.3f mb_per_s=%.1f cpu_seconds=%.3f "
              "peak_working_set_kib=%lu peak_private_kib=%lu\n",
              mode.c_str(), ok ? 1 : 0, bytes, elapsed,
              elapsed > 0 ? static_cast<double>(bytes) / 1e6 / elapsed : 0.0, cpuSeconds,
              static_cast<unsigned long>(memory.PeakWorkingSetSize / 1024),
              static_cast<unsigned long>(memory.PeakPagefileUsage / 1024));
  return ok ? 0 : 1;
}

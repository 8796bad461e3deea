#include "tests/app/launcher_harness_win.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <set>
#include <thread>

#include "common/format.h"
#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "env/log_receiver_win.h"
#include "msgbox/message_dlg_options.h"
#include "tests/support/scratch_win.h"
#include "tests/support/window_finder_win.h"

#include <gtest/gtest.h>

namespace {

// Watches for the message boxes and the download dialog of the launcher that the followed
// host started (windows of other processes are none of the case's business), records each box
// once and closes it; presses Cancel on the download dialog when told to.
class BoxWatcher {
 public:
  explicit BoxWatcher(DWORD cancelDownloadAfter)
      : m_cancelDownloadAfter(cancelDownloadAfter), m_thread([this] { Watch(); }) {}
  void Follow(DWORD hostProcessId) { m_hostProcessId = hostProcessId; }
  ~BoxWatcher() { Stop(); }
  std::vector<SeenBox> Boxes() {
    Stop();
    return m_boxes;
  }
  void Stop() {
    if (!m_stop.exchange(true)) m_thread.join();
  }

 private:
  void Watch() {
    std::set<HWND> seen;
    HWND downloadDialog = nullptr;
    DWORD downloadSeenAt = 0;
    bool cancelled = false;
    WindowQuery launcher;
    for (; !m_stop; std::this_thread::sleep_for(std::chrono::milliseconds(30))) {
      launcher.parentProcessId = m_hostProcessId;
      if (!launcher.parentProcessId) continue;
      if (m_cancelDownloadAfter && !cancelled) {
        launcher.accept = &IsDownloadDialog;
        HWND window = FindTopLevelWindow(launcher);
        if (window && window != downloadDialog) {
          downloadDialog = window;
          downloadSeenAt = ::GetTickCount();
        } else if (window && ::GetTickCount() - downloadSeenAt >= m_cancelDownloadAfter) {
          PressButton(window, IDCANCEL);
          cancelled = true;
        }
      }
      launcher.accept = &IsMessageBox;
      for (HWND window : FindTopLevelWindows(launcher)) {
        if (!seen.insert(window).second) continue;
        m_boxes.push_back({WindowText(window), ItemText(window, IDC_MD_TEXT)});
        CloseMessageBox(window);
      }
    }
  }

  DWORD m_cancelDownloadAfter;
  std::atomic<DWORD> m_hostProcessId{0};
  std::atomic<bool> m_stop{false};
  std::vector<SeenBox> m_boxes;
  std::thread m_thread;
};

int ParseLineValue(const std::string& output, const std::string& prefix, bool& found) {
  size_t at = output.find(prefix);
  found = at != std::string::npos && output.compare(at + prefix.size(), 4, "none") != 0;
  return found ? std::atoi(output.c_str() + at + prefix.size()) : -1;
}

}  // namespace

std::string TestProgramDir() { return GetModuleDir(); }

long long CurrentUnixTime() { return static_cast<long long>(std::time(nullptr)); }

LauncherWorkspace::LauncherWorkspace(const std::string& caseName) {
  const std::string root = TestProgramDir() + "e2e\\";
  ::CreateDirectoryA(root.c_str(), nullptr);
  m_dir = root + caseName + "\\";
  RemoveTree(root + caseName);
  ::CreateDirectoryA(m_dir.c_str(), nullptr);
  for (const char* program : {"ZuLauncher.exe", "zuhost.exe"})
    ::CopyFileA((TestProgramDir() + program).c_str(), PathOf(program).c_str(), FALSE);
}

LauncherWorkspace::~LauncherWorkspace() = default;  // kept for inspection after a failure

void LauncherWorkspace::WriteFile(const std::string& name, const std::string& content) const {
  WriteFileAt(PathOf(name), content);
}

void LauncherWorkspace::WriteFileAt(const std::string& path, const std::string& content) {
  WriteWholeFile(path, content);
}

std::string LauncherWorkspace::ReadFile(const std::string& name) const {
  return ReadWholeFile(PathOf(name));
}

bool LauncherWorkspace::Exists(const std::string& name) const {
  return ::GetFileAttributesA(PathOf(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void LauncherWorkspace::WriteLauncherIni(const std::string& versionFileUrl) const {
  WriteFile("ZuLauncher.ini", "[GENERAL]\r\nVERSION_FILE_URL=" + versionFileUrl + "\r\n");
}

void LauncherWorkspace::WriteLocalVersionFile(const std::string& body, long long ageSeconds) const {
  WriteFile("_ZuVersion_temp_.ini", body);
  StampVersionFile(PathOf("_ZuVersion_temp_.ini"), ageSeconds);
}

void StampVersionFile(const std::string& path, long long ageSeconds) {
  ::WritePrivateProfileStringA("GENERAL", "LASTUPDATETIME",
                               Format("%lld", CurrentUnixTime() - ageSeconds).c_str(), path.c_str());
  ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // flush the cache
}

LauncherOutcome LauncherWorkspace::Run(const std::string& parameter,
                                       const RunOptions& options) const {
  const DWORD timeoutMilliseconds = options.timeoutMilliseconds;
  LauncherOutcome outcome;
  BackgroundLogReceiver receiver;
  BoxWatcher watcher(options.cancelDownloadAfterMilliseconds);

  // Beside the workspace, not in it: a case may seal the launcher's folder against writes.
  const std::string outputPath = m_dir.substr(0, m_dir.size() - 1) + ".zuhost-output.txt";
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  UniqueFileHandle output(::CreateFileA(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                        &inheritable, CREATE_ALWAYS, 0, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output.get();
  startup.hStdError = output.get();
  PROCESS_INFORMATION process{};
  std::string commandLine = "\"" + PathOf("zuhost.exe") + "\" " +
                            Format("--timeout %lu ", timeoutMilliseconds / 1000 + 1) + "\"" +
                            parameter + "\"";
  const DWORD start = ::GetTickCount();
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        m_dir.c_str(), &startup, &process))
    return outcome;
  UniqueKernelHandle processHandle(process.hProcess);
  UniqueKernelHandle threadHandle(process.hThread);
  watcher.Follow(process.dwProcessId);
  output.reset();
  if (::WaitForSingleObject(process.hProcess, timeoutMilliseconds + 5000) != WAIT_OBJECT_0)
    ::TerminateProcess(process.hProcess, 254);
  outcome.milliseconds = ::GetTickCount() - start;

  outcome.boxes = watcher.Boxes();
  for (const ReceivedLine& line : receiver.Lines()) outcome.logLines.push_back(line.text);
  outcome.hostOutput = ReadWholeFile(outputPath);
  bool found = false;
  outcome.postedCode = ParseLineValue(outcome.hostOutput, "posted: ", outcome.posted);
  outcome.exitCode = ParseLineValue(outcome.hostOutput, "exit: ", found);
  outcome.started = found;
  return outcome;
}

void ExpectReported(const LauncherOutcome& outcome, int code, bool posted) {
  EXPECT_TRUE(outcome.started) << outcome.hostOutput;
  EXPECT_EQ(code, outcome.exitCode) << "exit code";
  EXPECT_EQ(posted, outcome.posted) << outcome.hostOutput;
  if (posted) {
    EXPECT_EQ(code, outcome.postedCode) << "posted code";
  }
  EXPECT_TRUE(HasLogLine(outcome, Format("nEC:%d", code))) << "logged code";
}

bool HasLogLine(const LauncherOutcome& outcome, const std::string& line) {
  for (const std::string& logged : outcome.logLines) {
    if (logged == line) return true;
  }
  return false;
}

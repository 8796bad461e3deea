// Runs ZuLauncher.exe as its own process through zuhost.exe, from a fresh launcher directory
// per case, and captures what a host and a user would see: the posted code, the exit code,
// every message box (read from the open box, then closed with WM_ZMESSAGEBOX_CLOSE) and the
// log lines (through a receiver window).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct SeenBox {
  std::string caption;  // the box's window text
  std::string text;     // its message text control
};

struct LauncherOutcome {
  bool started = false;      // zuhost ran and printed an exit line
  bool posted = false;       // WM_ZULAUNCHER_RESULT reached the host window
  int postedCode = -1;
  int exitCode = -1;
  std::vector<SeenBox> boxes;
  std::vector<std::string> logLines;
  std::string hostOutput;
  DWORD milliseconds = 0;
};

struct RunOptions {
  DWORD timeoutMilliseconds = 60000;
  // Press Cancel on the installer download dialog this long after it appeared (0: never).
  DWORD cancelDownloadAfterMilliseconds = 0;
};

class LauncherWorkspace {
 public:
  // Creates <test program dir>\e2e\<caseName>\ afresh with ZuLauncher.exe and zuhost.exe.
  explicit LauncherWorkspace(const std::string& caseName);
  ~LauncherWorkspace();
  LauncherWorkspace(const LauncherWorkspace&) = delete;
  LauncherWorkspace& operator=(const LauncherWorkspace&) = delete;

  const std::string& Dir() const { return m_dir; }  // ends in a backslash
  std::string PathOf(const std::string& name) const { return m_dir + name; }

  void WriteFile(const std::string& name, const std::string& content) const;
  static void WriteFileAt(const std::string& path, const std::string& content);
  std::string ReadFile(const std::string& name) const;
  bool Exists(const std::string& name) const;

  // The launcher INI naming the version file's URL.
  void WriteLauncherIni(const std::string& versionFileUrl) const;
  // The local copy of the version file, stamped `ageSeconds` ago (fresh unless told).
  void WriteLocalVersionFile(const std::string& body, long long ageSeconds = 0) const;

  // Runs zuhost with the parameter (the host's window handle is added by zuhost).
  LauncherOutcome Run(const std::string& parameter, const RunOptions& options = RunOptions()) const;

 private:
  std::string m_dir;
};

// The code was returned as exit code, logged as "nEC:<code>" and, when `posted`, posted to the
// host window; otherwise nothing was posted.
void ExpectReported(const LauncherOutcome& outcome, int code, bool posted = true);
bool HasLogLine(const LauncherOutcome& outcome, const std::string& line);

// Sets [GENERAL] LASTUPDATETIME of a version file to `ageSeconds` before now.
void StampVersionFile(const std::string& path, long long ageSeconds = 0);

// Directory of the running test program, ending in a backslash.
std::string TestProgramDir();
long long CurrentUnixTime();

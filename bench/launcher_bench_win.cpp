// What the launcher's `run` costs the user on the quick road: local version file fresh,
// program current, so no download and no installer; the launcher reads its parameter, its
// INI, the local version file, the registry value and the program INI, then starts the
// program. Compared with a bare start of the same program: CreateProcess with the same
// command line and the same directory, no launcher. Prints medians, min, p90 and max of each,
// the difference of the medians and whether it stays within the target (25 ms). Run by
// bench/launcher_bench.sh under Wine; not part of the tests.
//   launcher_bench.exe [rounds, default 30] [warm-up rounds, default 3] [earlier launcher]
//
// It also times a do-nothing program that imports only the DLLs of the quick road (the floor
// Wine sets), and measures the launcher's peak working set on the quick road, and that of an
// earlier launcher build when one is named.
//
// What is timed. The launcher does not wait for the program, so its exit says nothing about
// when the program is up, and a bare CreateProcess returns before the new process has run a
// single instruction of its own. Both would compare unlike things. What the user waits for
// is the program running, so both ways are timed to the same signal: from the CreateProcess
// call (of ZuLauncher.exe, or of the program) until the program, a tiny exe that signals at
// once (launcher_bench_program_win.cpp), has set a named event. The difference of the two is
// the launcher's whole cost: its own process start under Wine plus its work. A real program's
// own start-up (its DLLs, its window) comes after that signal's point in both ways alike, so
// the difference does not depend on the tiny stand-in.
//
// For a rough profile it also times, each from its CreateProcess call to the end of the
// process: the bare program; a program that only loads the launcher's DLLs and initialises the
// common controls as the launcher's entry does (launcher_bench_dll_program_win.cpp); a
// launcher with no command work to do (its INI is missing: code 60 after parsing the
// parameter, no box); a launcher doing `checkversion` (the same reading as `run`, code 0, no
// box, nothing started); and the launcher after `run`. Each step up the ladder is one share
// of the launcher's cost: Wine's price for the DLL set, the launcher's own start-up code, the
// reading, the CreateProcess call for the program. The program itself comes up a little
// after the launcher's CreateProcess returns, so "program running" lies beyond "launcher
// after run".
//
// The ways take turns in every round, in a rotating order, so that the load of a
// shared machine falls on all of them alike. Each launcher run is checked: exit code 0 (60
// for the start-up-only run), the program started, the version file not refreshed, no
// installer fetched.
#include <windows.h>
// after windows.h, whose types it needs
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "app/program_command_line.h"
#include "common/format.h"
#include "common/unique_handle_win.h"

namespace {

const char* const kProgramId = "BENCHPROG";
const char* const kRegistrySubkey = "Software\\ZuLauncherBench";
const double kTargetMilliseconds = 25.0;
const double kFloorTargetMilliseconds = 5.0;
const DWORD kTimeoutMilliseconds = 10000;

double Milliseconds() {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string ModuleDir() {
  char path[MAX_PATH * 4] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  std::string self(path, length < sizeof path ? length : 0);
  return self.substr(0, self.find_last_of('\\') + 1);
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  return static_cast<bool>(out);
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The launcher directory as a host would have it, under the bench's own build folder.
struct BenchSetup {
  std::string launcherDir;  // ends in a backslash
  std::string programDir;   // no trailing backslash, as the registry value names it
  std::string versionFile;
  std::string versionFileText;
};

bool Prepare(BenchSetup& setup) {
  const std::string buildDir = ModuleDir();
  setup.launcherDir = buildDir + "launcher_bench\\";
  setup.programDir = setup.launcherDir + "prog";
  ::CreateDirectoryA(setup.launcherDir.c_str(), nullptr);
  ::CreateDirectoryA(setup.programDir.c_str(), nullptr);
  ::DeleteFileA((setup.launcherDir + "ZuLauncherTempSetup.exe").c_str());
  if (!::CopyFileA((buildDir + "ZuLauncher.exe").c_str(),
                   (setup.launcherDir + "ZuLauncher.exe").c_str(), FALSE) ||
      !::CopyFileA((buildDir + "launcher_bench_program.exe").c_str(),
                   (setup.programDir + "\\prog.exe").c_str(), FALSE) ||
      !::CopyFileA((buildDir + "launcher_bench_dll_program.exe").c_str(),
                   (setup.programDir + "\\dllset.exe").c_str(), FALSE) ||
      !::CopyFileA((buildDir + "launcher_bench_quick_dll_program.exe").c_str(),
                   (setup.programDir + "\\quickdll.exe").c_str(), FALSE)) {
    std::fprintf(stderr, "launcher_bench: cannot copy the programs from %s\n", buildDir.c_str());
    return false;
  }

  // A URL that refuses at once: a refresh, were one made, would fail the run visibly.
  const std::string refusedUrl = "http://127.0.0.1:9/";
  setup.versionFile = setup.launcherDir + "_ZuVersion_temp_.ini";
  setup.versionFileText =
      Format("[GENERAL]\r\nZULAUNCHER_VERSION=1000\r\nLASTUPDATETIME=%lld\r\n",
             static_cast<long long>(std::time(nullptr))) +
      Format("[%s]\r\n", kProgramId) +
      Format("PATH_REG=HKEY_CURRENT_USER\\%s\\InstallDir\r\n", kRegistrySubkey) +
      "EXE_NAME=prog.exe\r\nINI_FILE_NAME=prog.ini\r\nVERSION=3\r\nMINORVERSION=1\r\n"
      "NAME=Bench program\r\nDOWN_URL=" +
      refusedUrl + "setup.exe\r\n";
  if (!WriteTextFile(setup.launcherDir + "ZuLauncher.ini",
                     "[GENERAL]\r\nVERSION_FILE_URL=" + refusedUrl + "version.ini\r\n") ||
      !WriteTextFile(setup.versionFile, setup.versionFileText) ||
      !WriteTextFile(setup.programDir + "\\prog.ini",
                     "[GENERAL]\r\nVERSION=3\r\nMINORVERSION=1\r\n")) {
    std::fprintf(stderr, "launcher_bench: cannot write into %s\n", setup.launcherDir.c_str());
    return false;
  }

  UniqueRegistryKey key;
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, kRegistrySubkey, 0, nullptr, 0, KEY_WRITE, nullptr,
                        key.put(), nullptr) != ERROR_SUCCESS ||
      ::RegSetValueExA(key.get(), "InstallDir", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(setup.programDir.c_str()),
                       static_cast<DWORD>(setup.programDir.size() + 1)) != ERROR_SUCCESS) {
    std::fprintf(stderr, "launcher_bench: cannot write HKCU\\%s\n", kRegistrySubkey);
    return false;
  }
  return true;
}

// The named objects the program signals through; the names carry this process's id.
struct ProgramSignals {
  std::string base;
  UniqueKernelHandle started;  // auto-reset event the program sets once it runs
  UniqueKernelHandle running;  // mutex the program holds until it ends
};

bool CreateSignals(ProgramSignals& signals) {
  signals.base = Format("ZuLauncherBench.%lu", ::GetCurrentProcessId());
  signals.started.reset(::CreateEventA(nullptr, FALSE, FALSE, (signals.base + ".started").c_str()));
  signals.running.reset(::CreateMutexA(nullptr, FALSE, (signals.base + ".running").c_str()));
  return signals.started && signals.running;
}

// Waits until the program has ended: its mutex turns abandoned. Leaves the mutex free.
bool WaitProgramEnd(const ProgramSignals& signals) {
  const DWORD waited = ::WaitForSingleObject(signals.running.get(), kTimeoutMilliseconds);
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) return false;
  ::ReleaseMutex(signals.running.get());
  return true;
}

struct Started {
  UniqueKernelHandle process;
  UniqueKernelHandle thread;
};

// CreateProcess as the launcher itself starts the program: all-zero startup information but
// for its size, no handle inheritance, no flags, this process's environment.
bool Start(std::string commandLine, const std::string& directory, Started& started) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.c_str(), &startup, &process)) {
    std::fprintf(stderr, "launcher_bench: CreateProcess failed (%lu): %s\n", ::GetLastError(),
                 commandLine.c_str());
    return false;
  }
  started.process.reset(process.hProcess);
  started.thread.reset(process.hThread);
  return true;
}

DWORD WaitExit(const Started& started) {
  if (::WaitForSingleObject(started.process.get(), kTimeoutMilliseconds) != WAIT_OBJECT_0) {
    ::TerminateProcess(started.process.get(), 255);
    return 255;
  }
  DWORD exitCode = 255;
  ::GetExitCodeProcess(started.process.get(), &exitCode);
  return exitCode;
}

struct Samples {
  std::vector<double> runUntilProgram;        // launcher: CreateProcess -> program signalled
  std::vector<double> runUntilExit;           // launcher: CreateProcess -> launcher ended
  std::vector<double> bareUntilProgram;       // bare: CreateProcess -> program signalled
  std::vector<double> bareUntilExit;          // bare: CreateProcess -> program ended
  std::vector<double> dllSetUntilExit;        // program with every DLL linked -> ended
  std::vector<double> quickDllUntilExit;      // program with the quick road's DLLs -> ended
  std::vector<double> startupOnly;            // launcher without command work -> launcher ended
  std::vector<double> checkVersionUntilExit;  // launcher checkversion -> launcher ended
};

class Bench {
 public:
  Bench(const BenchSetup& setup, const ProgramSignals& signals)
      : m_setup(setup), m_signals(signals) {}

  // ZuLauncher.exe started as a host starts it: the parameter as one quoted argument.
  std::string LauncherCommandLine(const std::string& attributes) const {
    return "\"" + m_setup.launcherDir + "ZuLauncher.exe\" \"<ZULAUNCHER_PARAM " + attributes +
           " ProgramID='" + kProgramId + "' SilentMessage='1'/>\"";
  }

  bool MeasureRun(Samples& samples) {
    const std::string commandLine =
        LauncherCommandLine("Command='run' LaunchParam='" + m_signals.base + "'");
    Started launcher;
    const double begin = Milliseconds();
    if (!Start(commandLine, m_setup.launcherDir, launcher)) return false;
    // The program's signal and the launcher's end come in either order: each is timed as it
    // comes, and a launcher that failed is reported at once.
    double programUp = 0;
    double launcherEnded = 0;
    std::vector<HANDLE> pending = {m_signals.started.get(), launcher.process.get()};
    while (!pending.empty()) {
      const DWORD which = ::WaitForMultipleObjects(static_cast<DWORD>(pending.size()),
                                                   pending.data(), FALSE, kTimeoutMilliseconds);
      const double now = Milliseconds();
      if (which >= WAIT_OBJECT_0 + pending.size()) {
        std::fprintf(stderr, "launcher_bench: run: %s\n",
                     programUp == 0 ? "the program did not start" : "the launcher did not end");
        if (launcherEnded == 0) ::TerminateProcess(launcher.process.get(), 255);
        return false;
      }
      if (pending[which] == m_signals.started.get()) {
        programUp = now;
      } else {
        launcherEnded = now;
        DWORD exitCode = 255;
        ::GetExitCodeProcess(launcher.process.get(), &exitCode);
        if (exitCode != 0) {
          std::fprintf(stderr, "launcher_bench: run: launcher exit code %lu, expected 0\n",
                       exitCode);
          return false;
        }
      }
      pending.erase(pending.begin() + which);
    }
    if (!WaitProgramEnd(m_signals)) {
      std::fprintf(stderr, "launcher_bench: run: the program did not end\n");
      return false;
    }
    samples.runUntilProgram.push_back(programUp - begin);
    samples.runUntilExit.push_back(launcherEnded - begin);
    return true;
  }

  bool MeasureBare(Samples& samples) {
    const std::string commandLine =
        BuildProgramCommandLine(m_setup.programDir, "prog.exe", m_signals.base);
    Started program;
    const double begin = Milliseconds();
    if (!Start(commandLine, m_setup.programDir, program)) return false;
    if (::WaitForSingleObject(m_signals.started.get(), kTimeoutMilliseconds) != WAIT_OBJECT_0) {
      std::fprintf(stderr, "launcher_bench: bare: the program did not start (exit %lu)\n",
                   WaitExit(program));
      return false;
    }
    const double programUp = Milliseconds();
    const DWORD exitCode = WaitExit(program);
    const double programEnded = Milliseconds();
    if (exitCode != 0 || !WaitProgramEnd(m_signals)) {
      std::fprintf(stderr, "launcher_bench: bare: program exit code %lu\n", exitCode);
      return false;
    }
    samples.bareUntilProgram.push_back(programUp - begin);
    samples.bareUntilExit.push_back(programEnded - begin);
    return true;
  }

  // A launcher run that starts no program, timed to the launcher's end.
  bool MeasureLauncherEnd(const char* label, const std::string& attributes, DWORD expectedCode,
                          std::vector<double>& samples) {
    Started launcher;
    const double begin = Milliseconds();
    if (!Start(LauncherCommandLine(attributes), m_setup.launcherDir, launcher)) return false;
    const DWORD exitCode = WaitExit(launcher);
    const double ended = Milliseconds();
    if (exitCode != expectedCode) {
      std::fprintf(stderr, "launcher_bench: %s: exit code %lu, expected %lu\n", label, exitCode,
                   expectedCode);
      return false;
    }
    samples.push_back(ended - begin);
    return true;
  }

  // A do-nothing program in the program directory, timed from its start to its end.
  bool MeasureProgramEnd(const char* exeName, std::vector<double>& samples) {
    Started program;
    const double begin = Milliseconds();
    if (!Start("\"" + m_setup.programDir + "\\" + exeName + "\" ", m_setup.programDir, program))
      return false;
    const DWORD exitCode = WaitExit(program);
    const double ended = Milliseconds();
    if (exitCode != 0) {
      std::fprintf(stderr, "launcher_bench: %s: exit code %lu\n", exeName, exitCode);
      return false;
    }
    samples.push_back(ended - begin);
    return true;
  }

  // The peak working set of one `run` by `launcherName` (in the launcher directory), in KiB,
  // or 0 when it cannot be read. The launcher runs under this process as its debugger, with a
  // breakpoint on ExitProcess: there it has done all its work and still has all its memory
  // (under Wine a process is already gone when its exit event arrives).
  SIZE_T PeakWorkingSetKib(const std::string& launcherName) {
    std::string commandLine = "\"" + m_setup.launcherDir + launcherName +
                              "\" \"<ZULAUNCHER_PARAM Command='run' ProgramID='" + kProgramId +
                              "' SilentMessage='1' LaunchParam='" + m_signals.base + "'/>\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                          DEBUG_ONLY_THIS_PROCESS, nullptr, m_setup.launcherDir.c_str(), &startup,
                          &process)) {
      std::fprintf(stderr, "launcher_bench: cannot start %s under the debugger (%lu)\n",
                   launcherName.c_str(), ::GetLastError());
      return 0;
    }
    UniqueKernelHandle processHandle(process.hProcess);
    UniqueKernelHandle threadHandle(process.hThread);
    // System DLLs sit at the same address in every process.
    void* const exitProcess = reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "ExitProcess"));
    bool breakpointSet = false;
    SIZE_T peakKib = 0;
    for (;;) {
      DEBUG_EVENT event{};
      if (!::WaitForDebugEvent(&event, kTimeoutMilliseconds)) {
        std::fprintf(stderr, "launcher_bench: %s did not end\n", launcherName.c_str());
        ::TerminateProcess(process.hProcess, 255);
        return 0;
      }
      DWORD continueStatus = DBG_CONTINUE;
      if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
        if (event.u.CreateProcessInfo.hFile) ::CloseHandle(event.u.CreateProcessInfo.hFile);
      } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
        if (event.u.LoadDll.hFile) ::CloseHandle(event.u.LoadDll.hFile);
      } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
        const EXCEPTION_RECORD& record = event.u.Exception.ExceptionRecord;
        if (record.ExceptionCode != EXCEPTION_BREAKPOINT) {
          continueStatus = DBG_EXCEPTION_NOT_HANDLED;
        } else if (!breakpointSet) {  // the loader's breakpoint: the DLLs are mapped
          const unsigned char breakpoint = 0xCC;
          breakpointSet =
              ::WriteProcessMemory(process.hProcess, exitProcess, &breakpoint, 1, nullptr) &&
              ::FlushInstructionCache(process.hProcess, exitProcess, 1);
        } else if (record.ExceptionAddress == exitProcess) {
          PROCESS_MEMORY_COUNTERS memory{};
          memory.cb = sizeof memory;
          if (::GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
            peakKib = memory.PeakWorkingSetSize / 1024;
          ::TerminateProcess(process.hProcess, 0);
        }
      } else if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
        ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, DBG_CONTINUE);
        break;
      }
      ::ContinueDebugEvent(event.dwProcessId, event.dwThreadId, continueStatus);
    }
    if (!WaitProgramEnd(m_signals)) {
      std::fprintf(stderr, "launcher_bench: %s: the program did not end\n", launcherName.c_str());
      return 0;
    }
    return peakKib;
  }

  // One round: every way once, starting with a different one each round.
  bool Round(int round, Samples& samples) {
    const int kWays = 6;
    for (int step = 0; step < kWays; ++step) {
      bool ok = false;
      switch ((round + step) % kWays) {
        case 0:
          ok = MeasureRun(samples);
          break;
        case 1:
          ok = MeasureBare(samples);
          break;
        case 2:
          ok = MeasureProgramEnd("dllset.exe", samples.dllSetUntilExit);
          break;
        case 5:
          ok = MeasureProgramEnd("quickdll.exe", samples.quickDllUntilExit);
          break;
        case 3:
          ok = MeasureLauncherEnd("start-up only", "Command='run' IniFileName='absent.ini'", 60,
                                  samples.startupOnly);
          break;
        case 4:
          ok = MeasureLauncherEnd("checkversion", "Command='checkversion'", 0,
                                  samples.checkVersionUntilExit);
          break;
      }
      if (!ok) return false;
    }
    return true;
  }

 private:
  const BenchSetup& m_setup;
  const ProgramSignals& m_signals;
};

struct Summary {
  double median = 0;
  double minimum = 0;
  double p90 = 0;
  double maximum = 0;
};

Summary Summarize(std::vector<double> values) {
  Summary summary;
  if (values.empty()) return summary;
  std::sort(values.begin(), values.end());
  const size_t count = values.size();
  summary.median = count % 2 ? values[count / 2] : (values[count / 2 - 1] + values[count / 2]) / 2;
  summary.minimum = values.front();
  summary.maximum = values.back();
  // Nearest rank: the smallest value with at least 90 % of the samples at or below it.
  summary.p90 = values[(count * 9 + 9) / 10 - 1];
  return summary;
}

void PrintRow(const char* label, const Summary& summary) {
  std::printf("  %-46s %7.1f %7.1f %7.1f %7.1f\n", label, summary.median, summary.minimum,
              summary.p90, summary.maximum);
}

bool CheckUntouched(const BenchSetup& setup) {
  bool ok = true;
  if (ReadTextFile(setup.versionFile) != setup.versionFileText) {
    std::fprintf(stderr, "launcher_bench: the local version file changed: a refresh was made\n");
    ok = false;
  }
  if (::GetFileAttributesA((setup.launcherDir + "ZuLauncherTempSetup.exe").c_str()) !=
      INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "launcher_bench: an installer was fetched\n");
    ok = false;
  }
  return ok;
}

// The bench's registry key goes with the bench, whatever way it ends.
struct RegistryKeyRemoval {
  ~RegistryKeyRemoval() { ::RegDeleteTreeA(HKEY_CURRENT_USER, kRegistrySubkey); }
};

int RunBench(int rounds, int warmUpRounds, const char* launcherBefore) {
  RegistryKeyRemoval removal;
  BenchSetup setup;
  ProgramSignals signals;
  if (!Prepare(setup)) return 1;
  const std::string beforeCopy = setup.launcherDir + "ZuLauncherBefore.exe";
  ::DeleteFileA(beforeCopy.c_str());
  const bool hasBefore = launcherBefore != nullptr;
  if (hasBefore && !::CopyFileA(launcherBefore, beforeCopy.c_str(), FALSE)) {
    std::fprintf(stderr, "launcher_bench: cannot copy %s\n", launcherBefore);
    return 1;
  }
  if (!CreateSignals(signals)) {
    std::fprintf(stderr, "launcher_bench: cannot create the named event and mutex\n");
    return 1;
  }
  Bench bench(setup, signals);
  Samples discarded;
  for (int round = 0; round < warmUpRounds; ++round) {
    if (!bench.Round(round, discarded)) return 1;
  }
  Samples samples;
  for (int round = 0; round < rounds; ++round) {
    if (!bench.Round(round, samples)) return 1;
  }
  if (!CheckUntouched(setup)) return 1;

  const Summary run = Summarize(samples.runUntilProgram);
  const Summary bare = Summarize(samples.bareUntilProgram);
  const Summary runExit = Summarize(samples.runUntilExit);
  const Summary startupOnly = Summarize(samples.startupOnly);
  const Summary bareExit = Summarize(samples.bareUntilExit);
  const Summary dllSet = Summarize(samples.dllSetUntilExit);
  const Summary quickDll = Summarize(samples.quickDllUntilExit);
  const Summary checkVersion = Summarize(samples.checkVersionUntilExit);
  const double added = run.median - bare.median;

  std::printf("launcher run benchmark: %d rounds after %d warm-up rounds, milliseconds\n", rounds,
              warmUpRounds);
  std::printf("  %-46s %7s %7s %7s %7s\n", "from CreateProcess until ...", "median", "min", "p90",
              "max");
  PrintRow("run via ZuLauncher.exe: program running", run);
  PrintRow("bare CreateProcess: program running", bare);
  std::printf(
      "\n  added by the launcher (difference of medians)  %7.1f ms   target: at most %.0f ms"
      "   -> %s\n",
      added, kTargetMilliseconds, added <= kTargetMilliseconds ? "MET" : "MISSED");
  if (added > kTargetMilliseconds) {
    std::printf("  missed by %.1f ms\n", added - kTargetMilliseconds);
  }
  // On a shared machine the medians move with the load; the least disturbed rounds do not.
  std::printf("  added, difference of minimums (least disturbed)  %7.1f ms\n",
              run.minimum - bare.minimum);
  std::printf("\nrough profile: from CreateProcess until the process ended\n");
  PrintRow("bare program", bareExit);
  PrintRow("program loading every DLL the launcher links", dllSet);
  PrintRow("program with the quick road's DLLs", quickDll);
  PrintRow("launcher without command work (code 60)", startupOnly);
  PrintRow("launcher after checkversion", checkVersion);
  PrintRow("launcher after run", runExit);
  std::printf("  the launcher's end after run, in shares (differences of medians)\n");
  const auto share = [](const char* what, double milliseconds) {
    std::printf("    %-52s %7.1f\n", what, milliseconds);
  };
  share("a process as such (the bare program)", bareExit.median);
  share("Wine's loading of the quick road's DLLs", quickDll.median - bareExit.median);
  share("the launcher's start-up code, parameter, INI", startupOnly.median - quickDll.median);
  std::printf("    (loading every DLL the launcher links would add %.1f)\n",
              dllSet.median - quickDll.median);
  share("reading version file, registry, program INI", checkVersion.median - startupOnly.median);
  share("starting the program (its CreateProcess call)", runExit.median - checkVersion.median);

  // The floor: a launcher that loads nothing up front beyond the quick road's DLLs can come
  // no closer to a do-nothing program with those DLLs than its own work.
  const double aboveFloor = runExit.median - quickDll.median;
  std::printf("\nagainst a do-nothing program importing only the quick road's DLLs\n");
  PrintRow("do-nothing program, quick road's DLLs", quickDll);
  PrintRow("launcher after run", runExit);
  std::printf(
      "  launcher above it (difference of medians)      %7.1f ms   target: at most %.0f ms"
      "   -> %s\n",
      aboveFloor, kFloorTargetMilliseconds,
      aboveFloor <= kFloorTargetMilliseconds ? "MET" : "MISSED");
  std::printf("  the same, difference of minimums               %7.1f ms\n",
              runExit.minimum - quickDll.minimum);
  // `run` ends with the program's CreateProcess call, which no launcher can skip; checkversion
  // does the same reading without it.
  PrintRow("launcher after checkversion", checkVersion);
  std::printf("  checkversion above it (difference of medians)  %7.1f ms\n",
              checkVersion.median - quickDll.median);
  std::printf("  the same, difference of minimums               %7.1f ms\n",
              checkVersion.minimum - quickDll.minimum);

  std::printf("\npeak working set of the launcher serving `run` on the quick road\n");
  const auto printPeak = [&bench](const char* label, const std::string& name) {
    SIZE_T largest = 0;
    for (int time = 0; time < 3; ++time) largest = std::max(largest, bench.PeakWorkingSetKib(name));
    if (largest == 0) return false;
    std::printf("  %-46s %7lu KiB\n", label, static_cast<unsigned long>(largest));
    return true;
  };
  if (!printPeak("this build (largest of 3 runs)", "ZuLauncher.exe")) return 1;
  if (hasBefore && !printPeak("the build before (largest of 3 runs)", "ZuLauncherBefore.exe"))
    return 1;
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 30;
  const int warmUpRounds = argc > 2 ? std::atoi(argv[2]) : 3;
  if (argc > 4 || rounds < 1 || warmUpRounds < 0) {
    std::fprintf(stderr,
                 "usage: launcher_bench [rounds, default 30] [warm-up rounds, default 3]"
                 " [an earlier ZuLauncher.exe, for its peak working set]\n");
    return 2;
  }
  return RunBench(rounds, warmUpRounds, argc > 3 ? argv[3] : nullptr);
}

// Building blocks of the launcher's end-to-end cases: version-file text, a stand-in program
// installed in a workspace, and the stand-in installer served by the loopback test server.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "app/result_code.h"
#include "res/load_text.h"
#include "tests/app/launcher_harness_win.h"
#include "tests/support/fake_installer_files_win.h"
#include "tests/support/scratch_win.h"
#include "tests/support/test_http_server_win.h"

namespace e2e {

using Keys = std::vector<std::pair<std::string, std::string>>;

inline std::string Section(const std::string& name, const Keys& keys) {
  std::string text = "[" + name + "]\r\n";
  for (const auto& key : keys) text += key.first + "=" + key.second + "\r\n";
  return text;
}

inline std::string Text(TextId id) { return LoadText(id); }
// The text and the caption of an outcome's box, from the launcher's own table.
inline std::string TextOf(Outcome outcome) { return LoadText(TextIdOf(outcome)); }
inline std::string CaptionOf(Outcome outcome) { return LoadText(RowOf(outcome).captionId); }

// A served file under the test server's root: <root>\<caseName>\<name>, and its URL.
inline std::string ServedPath(const std::string& caseName, const std::string& name) {
  const std::string dir = test_http::RootDirectory() + caseName + "\\";
  ::CreateDirectoryA(dir.c_str(), nullptr);
  return dir + name;
}
inline std::string ServedUrl(const std::string& caseName, const std::string& nameAndQuery) {
  return test_http::Url("/files/" + caseName + "/" + nameAndQuery);
}
inline void WriteServedFile(const std::string& caseName, const std::string& name,
                            const std::string& content) {
  LauncherWorkspace::WriteFileAt(ServedPath(caseName, name), content);
}

// One launcher directory with a registry key of its own and a program id "PROG" whose
// stand-in program (the recording fake installer, playing the program) lives in
// <workspace>\prog\prog.exe and records how it was started in prog.record.
class LauncherCase {
 public:
  explicit LauncherCase(const std::string& caseName)
      : name(caseName), workspace(caseName), registry(caseName.c_str()) {}

  std::string ProgramDir() const { return workspace.PathOf("prog"); }
  std::string ProgramRecord() const { return workspace.PathOf("prog\\prog.record"); }
  std::string InstallerRecord() const { return workspace.PathOf("installer.record"); }

  // The program's section of the version file, offering `version`.`minor`.
  Keys ProgramKeys(int version, int minor) const {
    return {{"PATH_REG", registry.ValuePath("InstallDir")},
            {"EXE_NAME", "prog.exe"},
            {"INI_FILE_NAME", "prog.ini"},
            {"VERSION", std::to_string(version)},
            {"MINORVERSION", std::to_string(minor)},
            {"NAME", "Prog"},
            {"DOWN_URL", ServedUrl(name, "setup.exe")}};
  }
  static std::string VersionFile(const Keys& programKeys, const std::string& dataVersion = "1000") {
    Keys general;
    if (!dataVersion.empty()) general.push_back({"ZULAUNCHER_VERSION", dataVersion});
    return Section("GENERAL", general) + Section("PROG", programKeys);
  }

  // Copies the stand-in program into place without registering it.
  void PlaceProgramFiles() const {
    ::CreateDirectoryA(ProgramDir().c_str(), nullptr);
    ::CopyFileA((TestProgramDir() + "fake_installer.exe").c_str(),
                (ProgramDir() + "\\prog.exe").c_str(), FALSE);
  }
  // The program as installed: files, registry value, program INI with its version.
  void InstallProgram(int version, int minor) const {
    PlaceProgramFiles();
    registry.SetText("", "InstallDir", ProgramDir());
    LauncherWorkspace::WriteFileAt(ProgramDir() + "\\prog.ini",
                                   Section("GENERAL", {{"VERSION", std::to_string(version)},
                                                       {"MINORVERSION", std::to_string(minor)}}));
  }
  // Serves the stand-in installer as setup.exe. Run by the launcher (as
  // ZuLauncherTempSetup.exe in the launcher directory) it records itself and "installs":
  // registers the program directory and writes `version` into the program INI.
  void ServeInstaller(int version, bool registers = true) const {
    ::CopyFileA((TestProgramDir() + "fake_installer.exe").c_str(),
                ServedPath(name, "setup.exe").c_str(), FALSE);
    fake_installer::Settings settings = {{"RECORD_FILE", InstallerRecord()}};
    if (registers) {
      PlaceProgramFiles();
      settings.push_back({"REGISTRY_PATH", registry.ValuePath("InstallDir")});
      settings.push_back({"REGISTRY_VALUE", ProgramDir()});
      settings.push_back({"PROGRAM_INI", ProgramDir() + "\\prog.ini"});
      settings.push_back({"VERSION", std::to_string(version)});
    }
    fake_installer::WriteSettings(workspace.PathOf("ZuLauncherTempSetup.exe"), settings);
  }

  std::string name;
  LauncherWorkspace workspace;
  ScratchRegistryKey registry;
};

// Whether a file of the temporary-name shape ("t*.tmp") is left in `directory` of the
// workspace (its top when empty).
inline bool LeftoverDownloads(const LauncherWorkspace& workspace,
                              const std::string& directory = "") {
  WIN32_FIND_DATAA entry;
  HANDLE search = ::FindFirstFileA(workspace.PathOf(directory + "t*.tmp").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return true;
}

inline std::string Parameter(const std::string& attributes) {
  return "<ZULAUNCHER_PARAM " + attributes + "/>";
}

}  // namespace e2e

// The outcome's code was returned, logged and (when `posted`) posted.
inline void ExpectReported(const LauncherOutcome& outcome, Outcome expected, bool posted = true) {
  ExpectReported(outcome, CodeOf(expected), posted);
}

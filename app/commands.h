// The operations behind the launcher's commands. Each gets the request's root element, a
// message text and a result code to fill, and gives success or failure; only the main
// routine shows texts and reports codes. User-interface thread; Windows only.
#pragma once

#include <string>

class XmlNode;

// What the program commands read from the request before anything else.
struct ProgramRequest {
  std::string programId;
  std::string launchParam;  // empty when absent
};

// The first steps every program command shares: ProgramID (absent: 11), LaunchParam, the
// refresh of the local version file when it is due, and its data version. The forced
// commands report a failed refresh and a missing data version with texts and codes of their
// own, so the host can tell them apart: the caller names those two.
bool BeginProgramCommand(const XmlNode& root, int refreshFailedTextId, int noDataVersionCode,
                         ProgramRequest& request, std::string& messageText, int& resultCode);

// run (neither mode), checkversion (checkOnly), install (installOnly).
bool CheckAndRun(const XmlNode& root, std::string& messageText, int& resultCode, bool checkOnly,
                 bool installOnly);

// forceinstall (installOnly) and forcerun.
bool ForceInstallAndRun(const XmlNode& root, std::string& messageText, int& resultCode,
                        bool installOnly);

// Starts "<InstallDir>\<ExeName>" with the launch parameters in InstallDir and does not wait.
bool LaunchProgram(const std::string& installDir, const std::string& exeName,
                   const std::string& launchParam, std::string& messageText, int& resultCode);

// The program's command line: its full path in double quotes, one blank, the parameters.
std::string BuildProgramCommandLine(const std::string& installDir, const std::string& exeName,
                                    const std::string& launchParam);

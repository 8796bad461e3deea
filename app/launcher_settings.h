// The request's launch settings and the process-wide strings. Written once by the main
// routine before any command runs, read-only afterwards. User-interface thread only.
#pragma once

#include <string>

struct LauncherSettings {
  int SilentMessage = 1;           // non-zero: the outcome is not shown in a message box
  int SilentInstall = 0;           // non-zero: installer gets "/S"
  int AutoInstall = 0;             // non-zero (and SilentInstall zero): installer gets "/A"
  unsigned RetWindowHandle = 0;    // host window for the result message; 0 = none
  unsigned ForceCheck = 0;         // non-zero: refresh the version file whatever its age
  unsigned CheckMinorVersion = 0;  // non-zero: minor versions take part in the comparison
};

extern LauncherSettings g_launcherSettings;

extern std::string AgentName;             // "ZuLauncher" until the parameter says otherwise
extern std::string LocalVersionFilePath;  // module directory + "_ZuVersion_temp_.ini"
extern std::string VersionFileURL;        // empty: the launcher INI names the URL

// Name of the result message a host registers to receive the code.
constexpr const char kResultMessageName[] = "WM_ZULAUNCHER_RESULT";

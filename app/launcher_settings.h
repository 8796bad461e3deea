// The request's integer launch settings, as the parameter gives them.
#pragma once

struct LauncherSettings {
  int SilentMessage = 1;           // non-zero: the outcome is not shown in a message box
  int SilentInstall = 0;           // non-zero: installer gets "/S"
  int AutoInstall = 0;             // non-zero (and SilentInstall zero): installer gets "/A"
  unsigned RetWindowHandle = 0;    // host window for the result message; 0 = none
  unsigned ForceCheck = 0;         // non-zero: refresh the version file whatever its age
  unsigned CheckMinorVersion = 0;  // non-zero: minor versions take part in the comparison
};

// Name of the result message a host registers to receive the code.
constexpr const char kResultMessageName[] = "WM_ZULAUNCHER_RESULT";

// Installing one program: its installer is downloaded and run behind the progress dialog.
// Called by the run and force-install commands. User-interface thread only.
#pragma once

#include <string>

// Reads NAME and DOWN_URL (and the optional DOWN_SIZE and DOWN_SHA256 the installer is
// checked against) from section `programId` of the local version file, shows the
// installer download dialog (arguments "/S", "/A" or none by the launch settings) and waits
// until the installer has ended. False with a text and a code when it did not: 24 (text 14)
// without NAME or DOWN_URL, 6 (text 44) when the user cancelled, 7 (text 15) otherwise (an
// installer that fails its checks included). On success both are left untouched.
bool InstallProgram(const std::string& programId, std::string& messageText, int& resultCode);

// Everything the launcher's commands need from the machine, as one narrow interface: the
// local copy of the version file and its refresh, the registry, the installed program's INI,
// the installer dialog, starting the program, the clock and the log. The commands decide;
// an implementation only reads, runs and reports. User-interface thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/update_policy.h"
#include "installer/installer_request.h"

enum class InstallerResult {
  Installed,  // downloaded, started, and it has ended
  Cancelled,  // the user cancelled the transfer
  Failed,     // anything else: transfer, file, its size, SHA-256 or signature check, start
};

enum class InstallLockResult {
  Taken,           // nobody held it
  TakenAfterWait,  // another launcher held it and has let go: look the program up again
  Cancelled,       // the user stopped waiting
};

class LauncherSystem {
 public:
  virtual ~LauncherSystem() = default;

  // Seconds since 1970.
  virtual int64_t Now() = 0;

  // Under vendor keys: reads the local copy once and checks it as a download is checked
  // (signature, keys, ZULAUNCHER_VERSION, the highest ISSUED accepted, EXPIRES); from then on
  // the keys below come from those verified bytes. False, with the reason logged, when it does
  // not verify: it then reads as absent. Without vendor keys: true.
  virtual bool VerifyLocalVersionFile() = 0;
  // The time of the last refresh of the local copy (LASTUPDATETIME), 0 when unknown.
  virtual int64_t VersionFileStamp() = 0;
  // A key of the local copy of the version file as text, empty when missing.
  virtual std::string VersionFileString(const std::string& section, const std::string& key) = 0;
  // The same key read as a signed decimal integer, 0 when missing.
  virtual int VersionFileInt(const std::string& section, const std::string& key) = 0;
  // True when the local copy has a section of that name (letter case aside), keys or none.
  virtual bool VersionFileHasSection(const std::string& section) = 0;
  // Replaces the local copy with the server's version file and stamps it; false when the
  // copy was not replaced (also when a vendor key is configured and the download is refused).
  // Under vendor keys the keys are then read from the bytes it verified and stored. Where this
  // user may not create files beside the copy, the copy it writes, and the reads then, are his
  // own (UseCopyForThisUser); wherever he may, beside it.
  virtual bool RefreshVersionFile() = 0;
  // A launcher folder this user may not write (a per-machine install) has the refresh keep
  // the copy in a folder of the user's own instead. Turns the reads above to that copy; false,
  // changing nothing, when there is none.
  virtual bool UseCopyForThisUser() = 0;
  // True when the launcher INI names vendor keys (PUBLIC_KEY, even a malformed list).
  virtual bool IsUnderVendorKey() = 0;
  // CHANNEL in [GENERAL] of the launcher INI as written, empty when absent.
  virtual std::string ChannelSetting() = 0;
  // The administrator's policy for this request's program, read at the first call (which
  // logs what is in effect) and the same for the rest of the run.
  virtual const UpdatePolicy& Policy() = 0;

  // The text of a registry value named by its full path; false when it cannot be read.
  virtual bool ReadRegistryValue(const std::string& path, std::string& value) = 0;
  // [GENERAL] `key` of the installed program's INI as a signed decimal integer, 0 when missing.
  virtual int ProgramIniInt(const std::string& iniPath, const std::string& key) = 0;
  // This install's id as stored (HKEY_CURRENT_USER\Software\ZuLauncher, InstallId), whatever
  // its shape; false when there is none or it cannot be read. Writing replaces it.
  virtual bool ReadInstallId(std::string& id) = 0;
  virtual bool WriteInstallId(const std::string& id) = 0;
  // Fills `bytes` from the system's cryptographic random generator; false when there is none.
  virtual bool CryptoRandom(uint8_t* bytes, size_t count) = 0;

  // Takes the lock named `lockName` that lets one launcher at a time install a program; when
  // another launcher holds it, waits for it with a dialog saying so, which the user may cancel.
  // Held until ReleaseInstallLock (which does nothing when it is not held) or the end of the
  // process, whichever comes first: the system releases it for a launcher that crashed. A lock
  // the system cannot give counts as taken.
  virtual InstallLockResult TakeInstallLock(const std::string& lockName) = 0;
  virtual void ReleaseInstallLock() = 0;
  // Shows the installer download dialog and waits until it has closed.
  virtual InstallerResult RunInstaller(const InstallerRequest& installer) = 0;
  // Starts the program with `commandLine` in `directory`; does not wait for it.
  virtual bool StartProgram(const std::string& commandLine, const std::string& directory) = 0;

  // One diagnostic line.
  virtual void Log(const std::string& line) = 0;
};

// Every way a request can end, in one table: its result code, the string-table text the user
// is shown, the box caption and when the box appears. The commands, the main routine, zuhost,
// the tests and the README's table all take codes and texts from here. Portable.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>

// The numbers hosts receive. Values are fixed: hosts compare them.
enum class ResultCode : int {
  Success = 0,
  NotWellFormed = 1,
  WrongRootElement = 2,
  BadCommand = 3,
  RefreshFailed = 5,
  InstallCancelled = 6,
  InstallFailed = 7,
  NoProgramId = 11,
  WrongDataVersion = 12,
  ProgramNotStarted = 14,
  NoInstallDir = 16,
  NoExeName = 17,
  NoIniFileName = 18,
  NoLocalVersion = 19,
  NoServerVersion = 20,
  StillOlderAfterInstall = 21,
  StillOlderAfterForcedInstall = 23,
  NoInstallInformation = 24,
  UpdateFailed = 30,
  NotInstalled = 40,
  OlderMajorInstalled = 41,
  OlderMinorInstalled = 42,
  NoPathReg = 51,
  NoDataVersion = 52,
  NoDataVersionForced = 54,
  LauncherIniNotLoaded = 60,
};
constexpr int kResultCodeCount = 26;  // the values above

// One outcome per distinct {code, text, caption}: a code may carry different texts depending
// on the command (5 with text 17 or 27), and a text may serve several codes (45).
enum class Outcome : int {
  Started,
  Refreshed,
  Installed,
  NewestInstalled,
  NotWellFormed,
  WrongRootElement,
  NoCommand,
  UnknownCommand,
  RefreshFailed,
  RefreshFailedForced,
  InstallCancelled,
  InstallFailed,
  NoProgramId,
  WrongDataVersion,
  ProgramNotStarted,
  NoInstallDir,
  NoExeName,
  NoIniFileName,
  NoLocalVersion,
  NoServerVersion,
  StillOlderAfterInstall,
  StillOlderAfterForcedInstall,
  NoInstallInformation,
  UpdateFailed,
  NotInstalled,
  OlderMajorInstalled,
  OlderMinorInstalled,
  NoPathReg,
  NoDataVersion,
  NoDataVersionForced,
  LauncherIniNotLoaded,
  Count
};

// When the main routine shows the outcome's text in a box.
enum class Shown { Never, WhenNotSilent, Always };

struct OutcomeRow {
  Outcome outcome;
  ResultCode code;
  int textId;     // string-table id of the text shown, or kNoText
  int captionId;  // string-table id of the box caption
  Shown shown;
  const char* meaning;  // for hosts' tools and the README
};

constexpr int kNoText = 0;
constexpr int kLauncherCaption = 1;    // "ZU Launcher"
constexpr int kStartErrorCaption = 7;  // the caption of the unknown-command box

// clang-format off
constexpr OutcomeRow kOutcomeTable[] = {
  {Outcome::Started, ResultCode::Success, kNoText, kLauncherCaption, Shown::Never,
   "success: the program was started (run, forcerun)"},
  {Outcome::Refreshed, ResultCode::Success, kNoText, kLauncherCaption, Shown::Never,
   "success: the version file was refreshed (update)"},
  {Outcome::Installed, ResultCode::Success, 24, kLauncherCaption, Shown::WhenNotSilent,
   "success: the program was installed or is already current (install, forceinstall)"},
  {Outcome::NewestInstalled, ResultCode::Success, 22, kLauncherCaption, Shown::WhenNotSilent,
   "success: the newest version is installed (checkversion)"},
  {Outcome::NotWellFormed, ResultCode::NotWellFormed, 2, kLauncherCaption, Shown::Always,
   "the argument is not well-formed XML"},
  {Outcome::WrongRootElement, ResultCode::WrongRootElement, 4, kLauncherCaption, Shown::Always,
   "the root element is not ZULAUNCHER_PARAM"},
  {Outcome::NoCommand, ResultCode::BadCommand, 5, kLauncherCaption, Shown::Always,
   "Command is absent"},
  {Outcome::UnknownCommand, ResultCode::BadCommand, 5, kStartErrorCaption, Shown::Always,
   "Command is empty or unknown"},
  {Outcome::RefreshFailed, ResultCode::RefreshFailed, 17, kLauncherCaption, Shown::WhenNotSilent,
   "the version file could not be refreshed (run, checkversion, install)"},
  {Outcome::RefreshFailedForced, ResultCode::RefreshFailed, 27, kLauncherCaption,
   Shown::WhenNotSilent, "the version file could not be refreshed (forceinstall, forcerun)"},
  {Outcome::InstallCancelled, ResultCode::InstallCancelled, 44, kLauncherCaption,
   Shown::WhenNotSilent, "the user cancelled the installation"},
  {Outcome::InstallFailed, ResultCode::InstallFailed, 15, kLauncherCaption, Shown::WhenNotSilent,
   "the installer download or run failed, or the installer failed its size, SHA-256 or "
   "signature check"},
  {Outcome::NoProgramId, ResultCode::NoProgramId, 16, kLauncherCaption, Shown::WhenNotSilent,
   "ProgramID is absent"},
  {Outcome::WrongDataVersion, ResultCode::WrongDataVersion, 18, kLauncherCaption,
   Shown::WhenNotSilent, "the version file's ZULAUNCHER_VERSION is not 1000"},
  {Outcome::ProgramNotStarted, ResultCode::ProgramNotStarted, 7, kLauncherCaption,
   Shown::WhenNotSilent, "the installed program could not be started"},
  {Outcome::NoInstallDir, ResultCode::NoInstallDir, 9, kLauncherCaption, Shown::WhenNotSilent,
   "the install directory cannot be read from the registry"},
  {Outcome::NoExeName, ResultCode::NoExeName, 10, kLauncherCaption, Shown::WhenNotSilent,
   "the version file gives no EXE_NAME"},
  {Outcome::NoIniFileName, ResultCode::NoIniFileName, 11, kLauncherCaption, Shown::WhenNotSilent,
   "the version file gives no INI_FILE_NAME"},
  {Outcome::NoLocalVersion, ResultCode::NoLocalVersion, 12, kLauncherCaption,
   Shown::WhenNotSilent, "the program INI's VERSION is missing or 0"},
  {Outcome::NoServerVersion, ResultCode::NoServerVersion, 13, kLauncherCaption,
   Shown::WhenNotSilent, "the version file's VERSION is missing or 0"},
  {Outcome::StillOlderAfterInstall, ResultCode::StillOlderAfterInstall, 23, kLauncherCaption,
   Shown::WhenNotSilent, "after installing, the installed version is still older (run, install)"},
  {Outcome::StillOlderAfterForcedInstall, ResultCode::StillOlderAfterForcedInstall, 23,
   kLauncherCaption, Shown::WhenNotSilent,
   "after a forced installation, the installed version is still older"},
  {Outcome::NoInstallInformation, ResultCode::NoInstallInformation, 14, kLauncherCaption,
   Shown::WhenNotSilent,
   "the version file gives no NAME or no DOWN_URL (under PUBLIC_KEY also: no well-formed "
   "DOWN_SHA256 and DOWN_SIZE)"},
  {Outcome::UpdateFailed, ResultCode::UpdateFailed, 6, kLauncherCaption, Shown::WhenNotSilent,
   "the update command failed"},
  {Outcome::NotInstalled, ResultCode::NotInstalled, 19, kLauncherCaption, Shown::WhenNotSilent,
   "checkversion: the program is not installed"},
  {Outcome::OlderMajorInstalled, ResultCode::OlderMajorInstalled, 20, kLauncherCaption,
   Shown::WhenNotSilent, "checkversion: an older major version is installed"},
  {Outcome::OlderMinorInstalled, ResultCode::OlderMinorInstalled, 21, kLauncherCaption,
   Shown::WhenNotSilent, "checkversion: an older minor version is installed (CheckMinorVersion)"},
  {Outcome::NoPathReg, ResultCode::NoPathReg, 45, kLauncherCaption, Shown::WhenNotSilent,
   "the version file gives no PATH_REG"},
  {Outcome::NoDataVersion, ResultCode::NoDataVersion, 45, kLauncherCaption, Shown::WhenNotSilent,
   "the version file has no ZULAUNCHER_VERSION (run, checkversion, install)"},
  {Outcome::NoDataVersionForced, ResultCode::NoDataVersionForced, 45, kLauncherCaption,
   Shown::WhenNotSilent, "the version file has no ZULAUNCHER_VERSION (forceinstall, forcerun)"},
  {Outcome::LauncherIniNotLoaded, ResultCode::LauncherIniNotLoaded, kNoText, kLauncherCaption,
   Shown::Never, "the launcher INI cannot be loaded"},
};
// clang-format on

constexpr const OutcomeRow& RowOf(Outcome outcome) {
  return kOutcomeTable[static_cast<size_t>(outcome)];
}
constexpr int CodeOf(Outcome outcome) {
  return static_cast<int>(RowOf(outcome).code);
}
constexpr int TextIdOf(Outcome outcome) {
  return RowOf(outcome).textId;
}

namespace result_code_checks {

constexpr bool RowsFollowTheEnumeration() {
  for (size_t i = 0; i < std::size(kOutcomeTable); ++i) {
    if (static_cast<size_t>(kOutcomeTable[i].outcome) != i) return false;
  }
  return true;
}
constexpr bool CodesAscend() {
  for (size_t i = 1; i < std::size(kOutcomeTable); ++i) {
    if (kOutcomeTable[i].code < kOutcomeTable[i - 1].code) return false;
  }
  return true;
}
constexpr int DistinctCodes() {
  int distinct = 0;
  for (size_t i = 0; i < std::size(kOutcomeTable); ++i) {
    if (i == 0 || kOutcomeTable[i].code != kOutcomeTable[i - 1].code) ++distinct;
  }
  return distinct;
}
// A box needs a text; an outcome with a text is shown at least sometimes.
constexpr bool TextsMatchShowing() {
  for (const OutcomeRow& row : kOutcomeTable) {
    if ((row.textId == kNoText) != (row.shown == Shown::Never)) return false;
  }
  return true;
}

}  // namespace result_code_checks

static_assert(std::size(kOutcomeTable) == static_cast<size_t>(Outcome::Count),
              "one row per outcome");
static_assert(result_code_checks::RowsFollowTheEnumeration(), "rows in the order of Outcome");
static_assert(result_code_checks::CodesAscend(), "rows ordered by code");
static_assert(result_code_checks::DistinctCodes() == kResultCodeCount,
              "every result code has an outcome");
static_assert(result_code_checks::TextsMatchShowing(), "a text exactly where a box is shown");

// The meanings of every outcome with this code, joined by " / "; "unknown code" for a number
// the launcher never produces.
std::string ResultCodeMeaning(int code);

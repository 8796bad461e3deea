// Every way a request can end, in one table: its result code, the string-table text the user
// is shown, the box caption and when the box appears. The commands, the main routine, zuhost,
// the tests and the README's table all take codes and texts from here. Portable.
#pragma once

#include <cstddef>
#include <iterator>
#include <string>

#include "res/text_id.h"

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
// on the command (5 with VersionCheckError or VersionCheckErrorForced), and a text may serve
// several codes (VersionFileError).
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
  TextId textId;     // the text shown, or kNoText
  TextId captionId;  // the box caption
  Shown shown;
  const char* meaning;  // for hosts' tools and the README
};

constexpr TextId kNoText = TextId::None;
constexpr TextId kLauncherCaption = TextId::LauncherCaption;      // "ZU Launcher"
constexpr TextId kStartErrorCaption = TextId::ProgramStartError;  // the unknown-command box

// clang-format off
constexpr OutcomeRow kOutcomeTable[] = {
  {Outcome::Started, ResultCode::Success, kNoText, kLauncherCaption, Shown::Never,
   "success: the program was started (run, forcerun)"},
  {Outcome::Refreshed, ResultCode::Success, kNoText, kLauncherCaption, Shown::Never,
   "success: the version file was refreshed (update)"},
  {Outcome::Installed, ResultCode::Success, TextId::InstallDone, kLauncherCaption,
   Shown::WhenNotSilent,
   "success: the program was installed or is already current (install, forceinstall)"},
  {Outcome::NewestInstalled, ResultCode::Success, TextId::NewestInstalled, kLauncherCaption,
   Shown::WhenNotSilent, "success: the newest version is installed (checkversion)"},
  {Outcome::NotWellFormed, ResultCode::NotWellFormed, TextId::ParameterError, kLauncherCaption,
   Shown::Always, "the argument is not well-formed XML"},
  {Outcome::WrongRootElement, ResultCode::WrongRootElement, TextId::TagParameterError,
   kLauncherCaption, Shown::Always, "the root element is not ZULAUNCHER_PARAM"},
  {Outcome::NoCommand, ResultCode::BadCommand, TextId::CommandParameterError, kLauncherCaption,
   Shown::Always, "Command is absent"},
  {Outcome::UnknownCommand, ResultCode::BadCommand, TextId::CommandParameterError,
   kStartErrorCaption, Shown::Always, "Command is empty or unknown"},
  {Outcome::RefreshFailed, ResultCode::RefreshFailed, TextId::VersionCheckError, kLauncherCaption,
   Shown::WhenNotSilent, "the version file could not be refreshed (run, checkversion, install)"},
  {Outcome::RefreshFailedForced, ResultCode::RefreshFailed, TextId::VersionCheckErrorForced,
   kLauncherCaption, Shown::WhenNotSilent,
   "the version file could not be refreshed (forceinstall, forcerun)"},
  {Outcome::InstallCancelled, ResultCode::InstallCancelled, TextId::InstallCancelled,
   kLauncherCaption, Shown::WhenNotSilent, "the user cancelled the installation"},
  {Outcome::InstallFailed, ResultCode::InstallFailed, TextId::InstallError, kLauncherCaption,
   Shown::WhenNotSilent,
   "the installer download or run failed, or the installer failed its size, SHA-256 or "
   "signature check"},
  {Outcome::NoProgramId, ResultCode::NoProgramId, TextId::ProgramIdError, kLauncherCaption,
   Shown::WhenNotSilent, "ProgramID is absent"},
  {Outcome::WrongDataVersion, ResultCode::WrongDataVersion, TextId::WrongLauncherVersion,
   kLauncherCaption, Shown::WhenNotSilent, "the version file's ZULAUNCHER_VERSION is not 1000"},
  {Outcome::ProgramNotStarted, ResultCode::ProgramNotStarted, TextId::ProgramStartError,
   kLauncherCaption, Shown::WhenNotSilent, "the installed program could not be started"},
  {Outcome::NoInstallDir, ResultCode::NoInstallDir, TextId::NoProgramPath, kLauncherCaption,
   Shown::WhenNotSilent, "the install directory cannot be read from the registry"},
  {Outcome::NoExeName, ResultCode::NoExeName, TextId::NoExeFile, kLauncherCaption,
   Shown::WhenNotSilent, "the version file gives no EXE_NAME"},
  {Outcome::NoIniFileName, ResultCode::NoIniFileName, TextId::NoSetupFileName, kLauncherCaption,
   Shown::WhenNotSilent, "the version file gives no INI_FILE_NAME"},
  {Outcome::NoLocalVersion, ResultCode::NoLocalVersion, TextId::BadLocalVersion, kLauncherCaption,
   Shown::WhenNotSilent, "the program INI's VERSION is missing or 0"},
  {Outcome::NoServerVersion, ResultCode::NoServerVersion, TextId::BadServerVersion,
   kLauncherCaption, Shown::WhenNotSilent, "the version file's VERSION is missing or 0"},
  {Outcome::StillOlderAfterInstall, ResultCode::StillOlderAfterInstall, TextId::NewestInstallFailed,
   kLauncherCaption, Shown::WhenNotSilent,
   "after installing, the installed version is still older (run, install)"},
  {Outcome::StillOlderAfterForcedInstall, ResultCode::StillOlderAfterForcedInstall,
   TextId::NewestInstallFailed, kLauncherCaption, Shown::WhenNotSilent,
   "after a forced installation, the installed version is still older"},
  {Outcome::NoInstallInformation, ResultCode::NoInstallInformation, TextId::BadInstallInformation,
   kLauncherCaption, Shown::WhenNotSilent,
   "the version file gives no NAME or no DOWN_URL (under PUBLIC_KEY also: no well-formed "
   "DOWN_SHA256 and DOWN_SIZE)"},
  {Outcome::UpdateFailed, ResultCode::UpdateFailed, TextId::UpdateFailed, kLauncherCaption,
   Shown::WhenNotSilent, "the update command failed"},
  {Outcome::NotInstalled, ResultCode::NotInstalled, TextId::NotInstalled, kLauncherCaption,
   Shown::WhenNotSilent, "checkversion: the program is not installed"},
  {Outcome::OlderMajorInstalled, ResultCode::OlderMajorInstalled, TextId::OlderVersionInstalled,
   kLauncherCaption, Shown::WhenNotSilent, "checkversion: an older major version is installed"},
  {Outcome::OlderMinorInstalled, ResultCode::OlderMinorInstalled,
   TextId::OlderMinimalVersionInstalled, kLauncherCaption, Shown::WhenNotSilent,
   "checkversion: an older minor version is installed (CheckMinorVersion)"},
  {Outcome::NoPathReg, ResultCode::NoPathReg, TextId::VersionFileError, kLauncherCaption,
   Shown::WhenNotSilent, "the version file gives no PATH_REG"},
  {Outcome::NoDataVersion, ResultCode::NoDataVersion, TextId::VersionFileError, kLauncherCaption,
   Shown::WhenNotSilent, "the version file has no ZULAUNCHER_VERSION (run, checkversion, install)"},
  {Outcome::NoDataVersionForced, ResultCode::NoDataVersionForced, TextId::VersionFileError,
   kLauncherCaption, Shown::WhenNotSilent,
   "the version file has no ZULAUNCHER_VERSION (forceinstall, forcerun)"},
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
constexpr TextId TextIdOf(Outcome outcome) {
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

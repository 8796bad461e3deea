// The ids of the string table in res/strings.rc, by name. The list below is the one place
// the numbers appear in code; a test of tests/app reads strings.rc and holds the two in step.
// Portable: the resource script keeps its own numbers, so this header serves C++ only.
#pragma once

#include <cstddef>

// X(name, id): every id of the table, in the table's order. 3 and 26 are absent from both.
#define ZU_TEXT_IDS(X)                 \
  X(LauncherCaption, 1)                \
  X(ParameterError, 2)                 \
  X(TagParameterError, 4)              \
  X(CommandParameterError, 5)          \
  X(UpdateFailed, 6)                   \
  X(ProgramStartError, 7)              \
  X(BadRegistrySettings, 8)            \
  X(NoProgramPath, 9)                  \
  X(NoExeFile, 10)                     \
  X(NoSetupFileName, 11)               \
  X(BadLocalVersion, 12)               \
  X(BadServerVersion, 13)              \
  X(BadInstallInformation, 14)         \
  X(InstallError, 15)                  \
  X(ProgramIdError, 16)                \
  X(VersionCheckError, 17)             \
  X(WrongLauncherVersion, 18)          \
  X(NotInstalled, 19)                  \
  X(OlderVersionInstalled, 20)         \
  X(OlderMinimalVersionInstalled, 21)  \
  X(NewestInstalled, 22)               \
  X(NewestInstallFailed, 23)           \
  X(InstallDone, 24)                   \
  X(ProgramStartFailed, 25)            \
  X(VersionCheckErrorForced, 27)       \
  X(ConfirmCancel, 28)                 \
  X(TransferStarting, 29)              \
  X(CannotOpenFile, 30)                \
  X(DownloadBegins, 31)                \
  X(DownloadedBytes, 32)               \
  X(TransferError, 33)                 \
  X(TransferErrorBox, 34)              \
  X(TransferDone, 35)                  \
  X(InstallingNamed, 36)               \
  X(Installing, 37)                    \
  X(CannotStartInstaller, 38)          \
  X(BoxFontName, 39)                   \
  X(ConfirmButton, 40)                 \
  X(CancelButton, 41)                  \
  X(YesButton, 42)                     \
  X(NoButton, 43)                      \
  X(InstallCancelled, 44)              \
  X(VersionFileError, 45)              \
  X(InstallerBusyWaiting, 46)          \
  X(InstallLockWaiting, 47)

// Texts outside the string table that a chosen language (res/languages/) translates too: the
// download dialog's title and button (dialog 129) and the message box's four button captions.
// Their numbers lie above the table's; the string table never holds them.
#define ZU_INTERFACE_TEXT_IDS(X)       \
  X(DownloadDialogTitle, 1001)         \
  X(DownloadDialogCancel, 1002)        \
  X(OkCaption, 1003)                   \
  X(CancelCaption, 1004)               \
  X(YesCaption, 1005)                  \
  X(NoCaption, 1006)

enum class TextId : int {
  None = 0,  // no text: not an id of the table
#define ZU_TEXT_ID_ENUMERATOR(name, id) name = id,
  ZU_TEXT_IDS(ZU_TEXT_ID_ENUMERATOR)
  ZU_INTERFACE_TEXT_IDS(ZU_TEXT_ID_ENUMERATOR)
#undef ZU_TEXT_ID_ENUMERATOR
};

struct NamedTextId {
  TextId id;
  const char* name;
};

// Every id of the table with its name, in the table's order.
constexpr NamedTextId kNamedTextIds[] = {
#define ZU_TEXT_ID_ROW(name, id) {TextId::name, #name},
    ZU_TEXT_IDS(ZU_TEXT_ID_ROW)
#undef ZU_TEXT_ID_ROW
};

// The texts a language file holds beyond the string table's, with their names.
constexpr NamedTextId kNamedInterfaceTextIds[] = {
#define ZU_TEXT_ID_ROW(name, id) {TextId::name, #name},
    ZU_INTERFACE_TEXT_IDS(ZU_TEXT_ID_ROW)
#undef ZU_TEXT_ID_ROW
};

constexpr int TextNumber(TextId id) { return static_cast<int>(id); }

#include "app/result_codes.h"

namespace {

struct ResultCodeEntry {
  int code;
  const char* meaning;
};

const ResultCodeEntry kResultCodes[] = {
    {0, "success"},
    {1, "the parameter is not well-formed XML"},
    {2, "the root element is not ZULAUNCHER_PARAM"},
    {3, "Command is absent, empty or unknown"},
    {5, "the version file could not be refreshed"},
    {6, "the user cancelled the installation"},
    {7, "the installer download or run failed"},
    {11, "ProgramID is absent"},
    {12, "the version file's ZULAUNCHER_VERSION is not 1000"},
    {14, "the installed program could not be started"},
    {16, "the install directory cannot be read from the registry"},
    {17, "the version file gives no EXE_NAME"},
    {18, "the version file gives no INI_FILE_NAME"},
    {19, "the program INI's VERSION is missing or 0"},
    {20, "the version file's VERSION is missing or 0"},
    {21, "after installing, the installed version is still older"},
    {23, "after a forced installation, the installed version is still older"},
    {24, "the version file gives no NAME or no DOWN_URL"},
    {30, "the update command failed"},
    {40, "checkversion: the program is not installed"},
    {41, "checkversion: an older major version is installed"},
    {42, "checkversion: an older minor version is installed"},
    {51, "the version file gives no PATH_REG"},
    {52, "the version file has no ZULAUNCHER_VERSION"},
    {54, "the version file has no ZULAUNCHER_VERSION (forced command)"},
    {60, "the launcher INI cannot be loaded"},
};

}  // namespace

const char* ResultCodeMeaning(int code) {
  for (const ResultCodeEntry& entry : kResultCodes) {
    if (entry.code == code) return entry.meaning;
  }
  return "unknown code";
}

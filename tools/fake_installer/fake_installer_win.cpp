// fake_installer.exe: a stand-in for a real installer in the launcher's tests and demos. It
// records how it was started, optionally "installs" (writes a registry value and a program
// INI), waits if told to, and exits with a chosen code. It shows no window.
//
// Settings are KEY=VALUE pairs. They are read first from the INI file beside the program,
// named like the program with ".ini" (ZuLauncherTempSetup.exe reads ZuLauncherTempSetup.ini),
// section [FAKE_INSTALLER], or, when there is none, from the file of that name in the current
// directory (the launcher downloads into a fresh private folder and passes on its own current
// directory, so that is where a test puts them); then from the command line, where an argument of
// the form KEY=VALUE overrides the INI (double quotes group an argument with spaces). Every other
// argument, such as the launcher's "/S" or "/A", is only recorded.
//
//   RECORD_FILE     where the record goes; default: the program's path with ".record"
//   DELAY_MS        milliseconds to wait after writing the record; default 0
//   REGISTRY_PATH   a registry value path, root key name, subkey and value name joined by
//                   backslashes ("HKEY_CURRENT_USER\Software\ZuDemo\InstallDir"); created
//   REGISTRY_VALUE  the text (REG_SZ) written at REGISTRY_PATH
//   PROGRAM_INI     path of a program INI to write after the wait; [GENERAL] gets
//   VERSION         VERSION=<this> and
//   MINORVERSION    MINORVERSION=<this> (each only when given)
//   EXIT_CODE       the process exit code; default 0
//   DONE_FILE       a file this process creates (empty) as its last act before it exits, so
//                   that another process can tell when the installer has ended
//   WRITE_PROBE     a file this process tries to open for writing and then to delete before
//                   it writes its record: it plays another process tampering with a file
//   COPY_SELF_TO    a path where this process copies its own program file before it writes
//                   its record, so a test can compare what ran after the launcher removed it
//
// The record is a text file written when the program starts (before the wait), one
// KEY=VALUE line each, CRLF-terminated, the value taken byte for byte to the line's end:
//   COMMAND_LINE=<the whole command line as the process received it>
//   ARGUMENTS=<the arguments that were not KEY=VALUE settings, joined by single spaces>
//   CURRENT_DIR=<the working directory>
//   PROGRAM_PATH=<the program file's full path>
//   WRITE_PROBE_ERROR=<0, or the error of opening WRITE_PROBE for writing>  (with WRITE_PROBE)
//   DELETE_PROBE_ERROR=<0, or the error of deleting it>                     (with WRITE_PROBE)
// The registry value and the program INI are written after the wait, so a caller that finds
// the program INI in place knows that it waited for the installer to end.
#include <windows.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "common/unique_handle_win.h"

namespace {

using Settings = std::map<std::string, std::string>;

const char* const kSettingNames[] = {"RECORD_FILE",    "DELAY_MS",    "REGISTRY_PATH",
                                     "REGISTRY_VALUE", "PROGRAM_INI", "VERSION",
                                     "MINORVERSION",   "EXIT_CODE",   "WRITE_PROBE",
                                     "COPY_SELF_TO",   "DONE_FILE"};

std::string ModulePath() {
  char path[MAX_PATH * 4] = {};
  DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, length < sizeof path ? length : 0);
}

std::string ReplaceExtension(const std::string& path, const char* extension) {
  size_t slash = path.find_last_of("\\/");
  size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
    return path + extension;
  }
  return path.substr(0, dot) + extension;
}

void ReadIniSettings(const std::string& iniPath, Settings& settings) {
  for (const char* name : kSettingNames) {
    char value[2048] = {};
    ::GetPrivateProfileStringA("FAKE_INSTALLER", name, "\x01", value, sizeof value,
                               iniPath.c_str());
    if (std::string(value) != "\x01") settings[name] = value;
  }
}

// Splits the part after the program name at blanks; double quotes group and are removed.
std::vector<std::string> SplitArguments(const char* commandLine) {
  const char* cursor = commandLine;
  // Skip the program name, quoted or not.
  if (*cursor == '"') {
    ++cursor;
    while (*cursor && *cursor != '"') ++cursor;
    if (*cursor) ++cursor;
  } else {
    while (*cursor && *cursor != ' ' && *cursor != '\t') ++cursor;
  }
  std::vector<std::string> arguments;
  while (*cursor) {
    while (*cursor == ' ' || *cursor == '\t') ++cursor;
    if (!*cursor) break;
    std::string argument;
    bool quoted = false;
    for (; *cursor && (quoted || (*cursor != ' ' && *cursor != '\t')); ++cursor) {
      if (*cursor == '"') {
        quoted = !quoted;
      } else {
        argument += *cursor;
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

bool IsSettingName(const std::string& name) {
  for (const char* known : kSettingNames) {
    if (name == known) return true;
  }
  return false;
}

// Tests wait for the record to appear and then read it at once, so it appears whole: written
// under another name, then renamed into place.
bool WriteTextFile(const std::string& path, const std::string& text) {
  const std::string partial = path + ".partial";
  {
    UniqueFileHandle file(::CreateFileA(partial.c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    if (!::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written,
                     nullptr) ||
        written != text.size())
      return false;
  }
  if (::MoveFileExA(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  ::DeleteFileA(partial.c_str());
  return false;
}

HKEY RootKeyByName(const std::string& name) {
  if (name == "HKEY_CURRENT_USER") return HKEY_CURRENT_USER;
  if (name == "HKEY_LOCAL_MACHINE") return HKEY_LOCAL_MACHINE;
  if (name == "HKEY_CLASSES_ROOT") return HKEY_CLASSES_ROOT;
  if (name == "HKEY_USERS") return HKEY_USERS;
  return nullptr;
}

bool WriteRegistryValue(const std::string& path, const std::string& value) {
  size_t first = path.find('\\');
  size_t last = path.rfind('\\');
  if (first == std::string::npos) return false;
  HKEY root = RootKeyByName(path.substr(0, first));
  if (!root) return false;
  std::string subkey = first == last ? std::string() : path.substr(first + 1, last - first - 1);
  std::string valueName = path.substr(last + 1);
  UniqueRegistryKey key;
  if (::RegCreateKeyExA(root, subkey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return ::RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

// Tries what a tampering process would: open `path` for writing, then delete it. The two
// errors (0 = it worked) as record lines.
std::string ProbeWriters(const std::string& path) {
  DWORD openError = 0;
  {
    UniqueFileHandle file(::CreateFileA(path.c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) openError = ::GetLastError();
  }
  const DWORD deleteError = ::DeleteFileA(path.c_str()) ? 0 : ::GetLastError();
  return "WRITE_PROBE_ERROR=" + std::to_string(openError) + "\r\n" +
         "DELETE_PROBE_ERROR=" + std::to_string(deleteError) + "\r\n";
}

std::string SettingsFile(const std::string& programPath, const std::string& currentDir) {
  const std::string beside = ReplaceExtension(programPath, ".ini");
  if (::GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES) return beside;
  return currentDir + "\\" + beside.substr(beside.find_last_of("\\/") + 1);
}

std::string Setting(const Settings& settings, const char* name) {
  auto found = settings.find(name);
  return found == settings.end() ? std::string() : found->second;
}

int Run() {
  const std::string programPath = ModulePath();
  const char* commandLine = ::GetCommandLineA();

  char currentDir[MAX_PATH * 4] = {};
  ::GetCurrentDirectoryA(sizeof currentDir, currentDir);
  Settings settings;
  ReadIniSettings(SettingsFile(programPath, currentDir), settings);
  std::string plainArguments;
  for (const std::string& argument : SplitArguments(commandLine)) {
    size_t equals = argument.find('=');
    if (equals != std::string::npos && IsSettingName(argument.substr(0, equals))) {
      settings[argument.substr(0, equals)] = argument.substr(equals + 1);
      continue;
    }
    if (!plainArguments.empty()) plainArguments += ' ';
    plainArguments += argument;
  }

  std::string recordFile = Setting(settings, "RECORD_FILE");
  if (recordFile.empty()) recordFile = ReplaceExtension(programPath, ".record");
  std::string record = "COMMAND_LINE=" + std::string(commandLine) + "\r\n" +
                       "ARGUMENTS=" + plainArguments + "\r\n" + "CURRENT_DIR=" + currentDir +
                       "\r\n" + "PROGRAM_PATH=" + programPath + "\r\n";
  const std::string copyTo = Setting(settings, "COPY_SELF_TO");
  if (!copyTo.empty()) ::CopyFileA(programPath.c_str(), copyTo.c_str(), FALSE);
  const std::string probed = Setting(settings, "WRITE_PROBE");
  if (!probed.empty()) record += ProbeWriters(probed);
  WriteTextFile(recordFile, record);

  int delay = std::atoi(Setting(settings, "DELAY_MS").c_str());
  if (delay > 0) ::Sleep(static_cast<DWORD>(delay));

  std::string registryPath = Setting(settings, "REGISTRY_PATH");
  if (!registryPath.empty()) WriteRegistryValue(registryPath, Setting(settings, "REGISTRY_VALUE"));
  std::string programIni = Setting(settings, "PROGRAM_INI");
  if (!programIni.empty()) {
    std::string version = Setting(settings, "VERSION");
    std::string minorVersion = Setting(settings, "MINORVERSION");
    if (!version.empty()) {
      ::WritePrivateProfileStringA("GENERAL", "VERSION", version.c_str(), programIni.c_str());
    }
    if (!minorVersion.empty()) {
      ::WritePrivateProfileStringA("GENERAL", "MINORVERSION", minorVersion.c_str(),
                                   programIni.c_str());
    }
    ::WritePrivateProfileStringA(nullptr, nullptr, nullptr, programIni.c_str());  // flush
  }
  const std::string doneFile = Setting(settings, "DONE_FILE");
  if (!doneFile.empty()) WriteTextFile(doneFile, "");
  return std::atoi(Setting(settings, "EXIT_CODE").c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  try {
    return Run();
  } catch (...) {
    return 255;
  }
}

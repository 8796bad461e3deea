#include <windows.h>

#include <cstdint>
#include <string>

#include "app/held_vendor_settings.h"
#include "app/launch_parameter.h"
#include "app/launcher_commands.h"
#include "app/launcher_main.h"
#include "app/launcher_request.h"
#include "app/language_setting_win.h"
#include "app/launcher_system_win.h"
#include "app/result_code.h"
#include "app/result_message_win.h"
#include "app/result_target.h"
#include "env/directories_win.h"
#include "env/log.h"
#include "ini/ini_document.h"
#include "msgbox/message_dlg_win.h"
#include "res/load_text.h"
#include "res/text_language.h"
#include "xml/xml_document.h"

namespace {

// Every box of the main routine: no owner, one button, closes by itself after 5 seconds.
// `silentMessage` is the request's, or its default when the request could not be read.
void ShowOutcome(Outcome outcome, int silentMessage) {
  const OutcomeRow& row = RowOf(outcome);
  const bool shown =
      row.shown == Shown::Always || (row.shown == Shown::WhenNotSilent && silentMessage == 0);
  if (!shown) return;
  const std::string text = LoadText(row.textId);  // copied before the caption's load
  ShowMessageDlg(nullptr, text, LoadText(row.captionId), MB_OK, MDF_COUNTDOWN, 5, nullptr, nullptr);
}

// Loads the INI the request names into `launcherIni` and holds the vendor's settings of the
// INI beside the launcher in it. False (result 60) when the named INI is a network path or
// cannot be loaded, or when the INI beside the launcher exists but cannot be read: a locked
// file must not drop the keys it holds. A missing one holds nothing.
bool LoadLauncherIni(const std::string& iniFileName, IniDocument& launcherIni) {
  if (!IsLocalIniFileName(iniFileName)) return false;
  if (!launcherIni.LoadFile(iniFileName.c_str())) return false;
  const std::string besidePath = GetModuleDir() + kLauncherIniName;
  IniDocument beside;
  if (!beside.LoadFile(besidePath.c_str())) {
    const DWORD error = ::GetFileAttributesA(besidePath.c_str()) == INVALID_FILE_ATTRIBUTES
                            ? ::GetLastError()
                            : ERROR_SUCCESS;
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
  }
  HoldVendorSettings(beside, launcherIni);
  return true;
}

// Outcomes found before the launcher INI is read.
bool IsBeforeLauncherIni(Outcome outcome) {
  return outcome == Outcome::NotWellFormed || outcome == Outcome::WrongRootElement ||
         outcome == Outcome::NoCommand;
}

// Reads the request and serves it up to the point where the outcome is known. `request`
// keeps what was read, also when the parameter is rejected on the way.
Outcome ServeRequest(const std::string& argument, LauncherRequest& request) {
  XmlDocument document;
  if (!document.Parse(NormalizeParameter(argument).c_str())) return Outcome::NotWellFormed;
  const XmlNode* root = document.Root();
  if (!root || root->GetName() != kParameterElementName) return Outcome::WrongRootElement;
  std::string commandWord;
  if (!root->GetAttribute("Command", commandWord)) return Outcome::NoCommand;

  request = ReadLauncherRequest(*root, GetModuleDir());
  if (request.agentNameReplaced)
    LogLine("AgentName with a control character not used; the agent is %s",
            request.agentName.c_str());
  if (!LoadLauncherIni(request.iniFileName, g_launcherIni)) return Outcome::LauncherIniNotLoaded;
  ApplyLanguageSetting(g_launcherIni);

  const CommandEntry& command = FindCommand(commandWord);
  WindowsLauncherSystem system(request, g_launcherIni);
  const Outcome outcome = RunLauncherCommand(command.command, request, system);
  if (command.logFormat) LogLine(command.logFormat, CodeOf(outcome));
  return outcome;
}

}  // namespace

int ZuLauncherMain(const std::string& argument) {
  LogLine("ZuLauncherMain()-%s", argument.c_str());
  LauncherRequest request;
  const Outcome outcome = ServeRequest(argument, request);
  if (!TextLanguageInUse() && IsBeforeLauncherIni(outcome)) {
    // The parameter was refused before the launcher INI was read: its language still speaks.
    IniDocument launcherIni;
    if (launcherIni.LoadFile(request.iniFileName.c_str())) ApplyLanguageSetting(launcherIni);
  }
  ShowOutcome(outcome, request.settings.SilentMessage);
  const int resultCode = CodeOf(outcome);
  LogLine("nEC:%d", resultCode);

  const unsigned handle = request.settings.RetWindowHandle;
  if (handle != 0) {
    LogLine("ZuLauncherMain() - WM_ZULAUNCHER_RESULT to %d", static_cast<int>(handle));
    // Window handles have 32 significant bits on 64-bit Windows too, sign-extended: a decimal
    // from a 32-bit or a 64-bit host (read modulo 2^32) names the same window.
    HWND host = static_cast<HWND>(LongToHandle(static_cast<LONG>(handle)));
    // "target not found", in code page 949 as the log has always sent it.
    if (!::IsWindow(host))
      LogLine("ZuLauncherMain() - \xB4\xEB\xBB\xF3 \xBE\xF8\xC0\xBD: %d", static_cast<int>(handle));
    // A broadcast handle names no window either, so the line above was logged for it too.
    if (ShouldPostResult(handle))
      ::PostMessageA(host, WM_ZULAUNCHER_RESULT, static_cast<WPARAM>(resultCode), 0);
  }
  return resultCode;
}

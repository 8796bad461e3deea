#include <windows.h>

#include <cstdint>
#include <string>

#include "app/agent_name.h"
#include "app/commands.h"
#include "app/launch_parameter.h"
#include "app/launcher_main.h"
#include "app/launcher_settings.h"
#include "app/load_text.h"
#include "app/result_message_win.h"
#include "app/version_file.h"
#include "env/directories_win.h"
#include "env/log.h"
#include "ini/ini_document.h"
#include "msgbox/message_dlg_win.h"
#include "xml/xml_document.h"

namespace {

// Every box of the main routine: no owner, one button, closes by itself after 5 seconds.
void ShowOutcomeBox(const std::string& text, int captionId) {
  ShowMessageDlg(nullptr, text, LoadText(captionId), MB_OK, MDF_COUNTDOWN, 5, nullptr, nullptr);
}

// Runs the command and gives its success; fills the message text and the result code.
bool RunCommand(const CommandEntry& command, const XmlNode& root, std::string& messageText,
                int& resultCode) {
  switch (command.command) {
    case LauncherCommand::Run:
      return CheckAndRun(root, messageText, resultCode, false, false);
    case LauncherCommand::CheckVersion:
      return CheckAndRun(root, messageText, resultCode, true, false);
    case LauncherCommand::Install:
      return CheckAndRun(root, messageText, resultCode, false, true);
    case LauncherCommand::ForceInstall:
      return ForceInstallAndRun(root, messageText, resultCode, true);
    case LauncherCommand::ForceRun:
      return ForceInstallAndRun(root, messageText, resultCode, false);
    case LauncherCommand::Update:
      if (UpdateVersionFile()) {
        resultCode = 0;
        messageText.clear();
        return true;
      }
      resultCode = 30;
      messageText = LoadText(6);
      return false;
    case LauncherCommand::Unknown:
      break;
  }
  return false;
}

// Serves the request up to the point where the code is known; reporting is the caller's.
int ServeRequest(const std::string& argument) {
  XmlDocument document;
  if (!document.Parse(NormalizeParameter(argument).c_str())) {
    ShowOutcomeBox(LoadText(2), 1);
    return 1;
  }
  const XmlNode* root = document.Root();
  if (!root || root->GetName() != kParameterElementName) {
    ShowOutcomeBox(LoadText(4), 1);
    return 2;
  }
  std::string commandWord;
  if (!root->GetAttribute("Command", commandWord)) {
    ShowOutcomeBox(LoadText(5), 1);
    return 3;
  }

  ReadLauncherSettings(*root, g_launcherSettings);

  const std::string iniFileName = root->GetAttributeOr("IniFileName", "ZuLauncher.ini");
  if (!g_launcherIni.LoadFile(iniFileName.c_str())) return 60;

  LocalVersionFilePath = root->GetAttributeOr(
      "LocalVersionFilePath", (GetModuleDir() + "_ZuVersion_temp_.ini").c_str());
  VersionFileURL = root->GetAttributeOr("VersionFileURL", "");
  AgentName = root->GetAttributeOr("AgentName", kDefaultAgentName);
  if (!IsUsableAgentName(AgentName)) {
    LogLine("AgentName with a control character not used; the agent is %s", kDefaultAgentName);
    AgentName = kDefaultAgentName;
  }

  const CommandEntry& command = FindCommand(commandWord);
  if (command.command == LauncherCommand::Unknown) {
    ShowOutcomeBox(LoadText(5), 7);
    return 3;
  }

  std::string messageText;
  int resultCode = 0;
  const bool succeeded = RunCommand(command, *root, messageText, resultCode);
  if (command.logFormat) LogLine(command.logFormat, resultCode);

  if (g_launcherSettings.SilentMessage == 0 && (!succeeded || !messageText.empty()))
    ShowOutcomeBox(messageText, 1);
  return resultCode;
}

}  // namespace

int ZuLauncherMain(const std::string& argument) {
  LogLine("ZuLauncherMain()-%s", argument.c_str());
  const int resultCode = ServeRequest(argument);
  LogLine("nEC:%d", resultCode);

  const unsigned handle = g_launcherSettings.RetWindowHandle;
  if (handle != 0) {
    LogLine("ZuLauncherMain() - WM_ZULAUNCHER_RESULT to %d", static_cast<int>(handle));
    HWND host = reinterpret_cast<HWND>(static_cast<uintptr_t>(handle));
    // "target not found", in code page 949 as the log has always sent it.
    if (!::IsWindow(host))
      LogLine("ZuLauncherMain() - \xB4\xEB\xBB\xF3 \xBE\xF8\xC0\xBD: %d", static_cast<int>(handle));
    ::PostMessageA(host, WM_ZULAUNCHER_RESULT, static_cast<WPARAM>(resultCode), 0);
  }
  return resultCode;
}

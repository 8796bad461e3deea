#include "app/launch_parameter.h"

#include "common/text.h"
#include "xml/xml_document.h"

std::string NormalizeParameter(const std::string& argument) {
  std::string text = argument;
  if (!text.empty() && text[0] == '"') ReplaceAll(text, "\"", "");
  ReplaceAll(text, "'", "\"");
  return text;
}

void ReadLauncherSettings(const XmlNode& root, LauncherSettings& settings) {
  root.GetAttributeInt("SilentMessage", settings.SilentMessage);
  root.GetAttributeInt("SilentInstall", settings.SilentInstall);
  root.GetAttributeInt("AutoInstall", settings.AutoInstall);
  root.GetAttributeUInt("RetWindowHandle", settings.RetWindowHandle);
  root.GetAttributeUInt("ForceCheck", settings.ForceCheck);
  root.GetAttributeUInt("CheckMinorVersion", settings.CheckMinorVersion);
}

namespace {

const CommandEntry kCommandTable[] = {
    {"run", LauncherCommand::Run, nullptr},
    {"checkversion", LauncherCommand::CheckVersion, "val_update : %d"},
    {"install", LauncherCommand::Install, "val_install : %d"},
    {"forceinstall", LauncherCommand::ForceInstall, "val_forceinstall : %d"},
    {"forcerun", LauncherCommand::ForceRun, "val_forcerun : %d"},
    {"update", LauncherCommand::Update, nullptr},
};

const CommandEntry kUnknownCommand = {"", LauncherCommand::Unknown, nullptr};

}  // namespace

const CommandEntry& FindCommand(const std::string& word) {
  for (const CommandEntry& entry : kCommandTable) {
    if (word == entry.word) return entry;
  }
  return kUnknownCommand;
}

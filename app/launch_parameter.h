// The launcher's one command-line argument: normalising its quotes, reading the settings
// from the parsed ZULAUNCHER_PARAM element, and the command table. Portable.
#pragma once

#include <string>

#include "app/launcher_settings.h"

class XmlNode;

constexpr const char kParameterElementName[] = "ZULAUNCHER_PARAM";

// A leading double quote means the host quoted the whole element: every double quote goes.
// Then every single quote becomes a double quote, so hosts may write values in either.
std::string NormalizeParameter(const std::string& argument);

// Reads SilentMessage, SilentInstall, AutoInstall (signed decimal) and RetWindowHandle,
// ForceCheck, CheckMinorVersion ("%u"); absent attributes keep what `settings` holds.
void ReadLauncherSettings(const XmlNode& root, LauncherSettings& settings);

enum class LauncherCommand { Run, CheckVersion, Install, ForceInstall, ForceRun, Update, Unknown };

struct CommandEntry {
  const char* word;
  LauncherCommand command;
  const char* logFormat;  // written after the command returns, with its result code; or null
};

// Exact, case-sensitive lookup in the command table; Unknown for anything else.
const CommandEntry& FindCommand(const std::string& word);

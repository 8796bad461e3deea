// The one request a launcher process serves, read once from the parameter before any command
// runs and handed to the commands; nothing else carries the request's options. Portable.
#pragma once

#include <string>

#include "app/held_vendor_settings.h"
#include "app/launcher_settings.h"

class XmlNode;

struct LauncherRequest {
  LauncherSettings settings;
  std::string iniFileName = kLauncherIniName;
  std::string localVersionFilePath;  // the caller's default: module directory + file name
  std::string versionFileUrl;        // empty: the launcher INI names the URL
  std::string agentName = "ZuLauncher";
  bool agentNameReplaced = false;  // the given AgentName held a control character
  bool hasProgramId = false;       // a present but empty ProgramID counts as given
  std::string programId;
  std::string launchParam;  // empty when absent
  bool hasChannel = false;  // Channel given (an empty one too: then no channel)
  std::string channel;
};

// Name of the local copy beside the launcher when the parameter names none.
constexpr const char kDefaultLocalVersionFileName[] = "_ZuVersion_temp_.ini";

// Reads every option of the ZULAUNCHER_PARAM element. Absent attributes keep the defaults
// above; `moduleDir` (ending in a separator) anchors the default local copy. An AgentName that
// could split the request into extra header lines is replaced by the default.
LauncherRequest ReadLauncherRequest(const XmlNode& root, const std::string& moduleDir);

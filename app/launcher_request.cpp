#include "app/launcher_request.h"

#include "app/agent_name.h"
#include "app/launch_parameter.h"
#include "xml/xml_document.h"

LauncherRequest ReadLauncherRequest(const XmlNode& root, const std::string& moduleDir) {
  LauncherRequest request;
  ReadLauncherSettings(root, request.settings);
  request.iniFileName = root.GetAttributeOr("IniFileName", request.iniFileName.c_str());
  request.localVersionFilePath = root.GetAttributeOr(
      "LocalVersionFilePath", (moduleDir + kDefaultLocalVersionFileName).c_str());
  request.versionFileUrl = root.GetAttributeOr("VersionFileURL", "");
  request.agentName = root.GetAttributeOr("AgentName", request.agentName.c_str());
  if (!IsUsableAgentName(request.agentName)) {
    request.agentName = kDefaultAgentName;
    request.agentNameReplaced = true;
  }
  request.hasProgramId = root.GetAttribute("ProgramID", request.programId);
  root.GetAttribute("LaunchParam", request.launchParam);
  request.hasChannel = root.GetAttribute("Channel", request.channel);
  return request;
}

#include "app/held_vendor_settings.h"

#include "ini/ini_document.h"

namespace {

constexpr char kGeneral[] = "GENERAL";
// A value never holds a line feed, so this default cannot be mistaken for one.
constexpr char kAbsent[] = "\n";

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

}  // namespace

void HoldVendorSettings(const IniDocument& beside, IniDocument& named) {
  for (const char* list : {"PUBLIC_KEY", "INSTALLER_SIGNER"}) {
    const std::string held = beside.GetValue(kGeneral, list, kAbsent);
    if (held == kAbsent) continue;
    const std::string added = named.GetValue(kGeneral, list, kAbsent);
    // Both lists are comma-separated; a malformed item in either still refuses everything.
    named.SetValue(kGeneral, list, added == kAbsent || added == held ? held : held + "," + added);
  }
  const std::string feedId = beside.GetValue(kGeneral, "FEED_ID", kAbsent);
  if (feedId != kAbsent) named.SetValue(kGeneral, "FEED_ID", feedId);
}

bool IsLocalIniFileName(const std::string& name) {
  return !(name.size() >= 2 && IsSeparator(name[0]) && IsSeparator(name[1]));
}

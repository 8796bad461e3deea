// The vendor's settings that the INI beside the launcher holds whatever INI a request names:
// PUBLIC_KEY and INSTALLER_SIGNER (a named INI may add keys or signers of its own, never take
// these away) and FEED_ID (a named INI cannot bind the launcher to another feed). Without
// this, any INI without the keys (an old one, or one on a network share) would turn every
// check off. Portable.
#pragma once

#include <string>

class IniDocument;

// The name of the INI beside the launcher, which a request's IniFileName also names unless
// it gives another.
constexpr const char kLauncherIniName[] = "ZuLauncher.ini";

// Puts the settings of `beside` into `named` (the INI the request names, as loaded).
void HoldVendorSettings(const IniDocument& beside, IniDocument& named);

// False for a network path (\\server\share\..., //server/..., and the \\?\ and \\.\ forms,
// which can name one too): reading it would send the user's network credentials to whoever
// answers, and what it holds is not the vendor's. Such a name is refused like an INI that
// cannot be loaded.
bool IsLocalIniFileName(const std::string& name);

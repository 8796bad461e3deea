#include "installer/installer_signer.h"

#include <algorithm>
#include <vector>

#include "common/format.h"
#include "common/text.h"
#include "ini/ini_document.h"

std::optional<std::string> FindInstallerSignerSetting(const IniDocument& launcherIni) {
  // A value never holds a line feed, so this default cannot be mistaken for one.
  const std::string found = launcherIni.GetValue("GENERAL", "INSTALLER_SIGNER", "\n");
  if (found == "\n") return std::nullopt;
  return found;
}

namespace {

// False when any item is not a digest: one bad item spoils the whole pin.
bool ParseInstallerSignerList(const std::string& text, std::vector<Sha256Digest>& pins) {
  std::vector<Sha256Digest> parsed;
  for (const std::string& item : SplitCommaList(text)) {
    Sha256Digest digest{};
    if (!ParseSha256Hex(item, digest)) return false;
    parsed.push_back(digest);
  }
  pins = std::move(parsed);
  return true;
}

}  // namespace

std::string CheckInstallerSigner(const std::string& signerSetting,
                                 const InstallerSignature& signature) {
  // The pin is judged first: a typo in it refuses every installer, signed or not, so the
  // vendor finds it on the first test instead of shipping a launcher that checks nothing.
  std::vector<Sha256Digest> pins;
  if (!ParseInstallerSignerList(signerSetting, pins))
    return "installer check failed: signature: malformed INSTALLER_SIGNER in the launcher INI";
  switch (signature.trustResult) {
    case 0:
      break;
    case kTrustNoSignature:
      return "installer check failed: signature: no signature";
    case kTrustBadDigest:
      return "installer check failed: signature: bad digest (the file changed after signing)";
    default:
      return Format("installer check failed: signature: not trusted (WinVerifyTrust 0x%08lX)",
                    static_cast<unsigned long>(signature.trustResult));
  }
  if (!signature.signer)
    return "installer check failed: signature: the signer's certificate cannot be read";
  if (std::find(pins.begin(), pins.end(), *signature.signer) != pins.end()) return std::string();
  return Format("installer check failed: signature: signer %s not pinned in INSTALLER_SIGNER",
                FormatSha256Hex(*signature.signer).c_str());
}

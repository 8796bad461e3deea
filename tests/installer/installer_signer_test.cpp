// INSTALLER_SIGNER, the launcher INI's pin on the installer's signer: how the setting is
// found and read, and the judgement of what the system's verification found, with the log
// line each refusal gives. The Windows install tests show the same through the real dialog.
#include "installer/installer_signer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ini/ini_document.h"

namespace {

Sha256Digest Filled(uint8_t byte) {
  Sha256Digest digest;
  digest.fill(byte);
  return digest;
}

std::string Repeat(const char* pair, int times = 32) {
  std::string text;
  for (int i = 0; i < times; ++i) text += pair;
  return text;
}

TEST(InstallerSigner, SettingIsFoundOnlyInGeneralAndAnEmptyValueIsStillAPin) {
  struct Row {
    const char* shows;
    const char* ini;
    std::optional<std::string> setting;
  };
  const Row rows[] = {
      {"no key: nothing is checked", "[GENERAL]\r\nPUBLIC_KEY=x\r\n", std::nullopt},
      {"in another section", "[PROG]\r\nINSTALLER_SIGNER=ab\r\n", std::nullopt},
      {"the value as written", "[GENERAL]\r\nINSTALLER_SIGNER= ab , cd\r\n", "ab , cd"},
      {"present but empty", "[GENERAL]\r\nINSTALLER_SIGNER=\r\n", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shows);
    IniDocument ini;
    ini.LoadBuffer(row.ini, std::string(row.ini).size());
    EXPECT_EQ(row.setting, FindInstallerSignerSetting(ini));
  }
}

TEST(InstallerSigner, VerdictAndLogLineForEveryOutcome) {
  const std::string a = Repeat("11"), b = Repeat("ab");
  const std::string refused = "installer check failed: signature: ";
  const std::string malformed = refused + "malformed INSTALLER_SIGNER in the launcher INI";
  struct Row {
    const char* shows;
    std::string setting;
    uint32_t trustResult;
    std::optional<Sha256Digest> signer;
    std::string logLine;  // empty: the installer may run
  };
  const Row rows[] = {
      {"the one pinned signer", a, 0, Filled(0x11), ""},
      {"a pin in upper case", Repeat("AB"), 0, Filled(0xab), ""},
      {"the second of a list, blanks around", a + " ,\t" + b + " ", 0, Filled(0xab), ""},
      {"a signer not pinned", a, 0, Filled(0xab),
       refused + "signer " + b + " not pinned in INSTALLER_SIGNER"},
      {"no signature", a, kTrustNoSignature, std::nullopt, refused + "no signature"},
      {"changed after signing", a, kTrustBadDigest, std::nullopt,
       refused + "bad digest (the file changed after signing)"},
      {"an untrusted chain, even from a pinned signer", a, 0x800B0109, Filled(0x11),
       refused + "not trusted (WinVerifyTrust 0x800B0109)"},
      {"verified, but the signer unreadable", a, 0, std::nullopt,
       refused + "the signer's certificate cannot be read"},
      {"an empty pin", "", 0, Filled(0x11), malformed},
      {"a blank pin", "  ", 0, Filled(0x11), malformed},
      {"a trailing comma", a + ",", 0, Filled(0x11), malformed},
      {"an empty item inside", a + ",," + b, 0, Filled(0x11), malformed},
      {"a semicolon is no separator", a + ";" + b, 0, Filled(0x11), malformed},
      {"a short item (the digits themselves: hex_digest_test)", a + "," + b.substr(1), 0,
       Filled(0x11), malformed},
      {"a malformed pin is named before a missing signature", a + ",x", kTrustNoSignature,
       std::nullopt, malformed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shows);
    EXPECT_EQ(row.logLine, CheckInstallerSigner(row.setting, {row.trustResult, row.signer}));
  }
}

}  // namespace

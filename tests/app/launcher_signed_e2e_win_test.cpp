// Signed version files as hosts and vendors see them: under PUBLIC_KEY a refresh takes only
// a file one of the keys signed, not older than the local copy; every refusal keeps the old
// copy and says why in the log; an installer without DOWN_SHA256 is not fetched. The signed
// files come from the native zupublish test (zupublish and the openssl command line, with keys
// made at test time, by the signed_fixtures test) in the build tree. Runs in code page 1251.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "common/sha256_win.h"
#include "common/text.h"
#include "common/unique_handle_win.h"
#include "tests/app/launcher_fixture_win.h"

namespace {

using e2e::LauncherCase;
using e2e::LeftoverDownloads;
using e2e::Parameter;

const char kLocalCopy[] = "_ZuVersion_temp_.ini";
// The fixtures name a registry value under ZuLauncherTests\SignedFixture that no test creates:
// their program is never installed.
const char kCaseName[] = "SignedFixture";

std::string FixturePath(const std::string& name) {
  std::string path = std::string("Z:") + ZU_SIGNED_FIXTURES_DIR + "/" + name;
  for (char& ch : path) ch = ch == '/' ? '\\' : ch;
  return path;
}

std::string Fixture(const std::string& name) {
  std::ifstream in(FixturePath(name), std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  EXPECT_FALSE(content.str().empty())
      << FixturePath(name) << " is missing: the native zupublish test makes it "
      << "(ctest --preset native -R zupublish)";
  std::string text = content.str();
  if (name.size() > 4 && name.substr(name.size() - 4) == ".pub") text = Trim(text);
  return text;
}

// The decimal ISSUED of a fixture (a UTF-16LE one read through its low bytes: it is ASCII).
std::string IssuedOf(std::string file) {
  if (file.size() >= 2 && file.compare(0, 2, "\xFF\xFE") == 0) {
    std::string narrow;
    for (size_t i = 2; i < file.size(); i += 2) narrow += file[i];
    file = narrow;
  }
  const size_t at = file.find("ISSUED=");
  if (at == std::string::npos) return "";
  size_t end = at + 7;
  while (end < file.size() && file[end] >= '0' && file[end] <= '9') ++end;
  return file.substr(at + 7, end - at - 7);
}

// One character of the base64 signature value changed, `offset` characters in.
std::string WithSignatureCharacterChanged(std::string file, size_t offset) {
  char& character = file[file.find("ECDSA_P256_SHA256=") + 18 + offset];
  character = character == 'N' ? 'O' : 'N';
  return file;
}

void WriteLauncherIni(const LauncherCase& test, const std::string& url, const std::string& keys) {
  test.workspace.WriteFile(
      "ZuLauncher.ini", "[GENERAL]\r\nVERSION_FILE_URL=" + url + "\r\nPUBLIC_KEY=" + keys + "\r\n");
}

std::string OldCopy(const std::string& issued) {
  return "[GENERAL]\r\nZULAUNCHER_VERSION=1000\r\nISSUED=" + issued + "\r\nLASTUPDATETIME=100\r\n";
}

struct RefreshRow {
  const char* what;
  std::string served;
  std::string keys;
  std::string localIssued;  // ISSUED of the old local copy
  std::string logLine;      // what the launcher logs about the file
};

// The row's file is served, the launcher refreshes with ForceCheck under the row's keys.
// Accepted: checkversion reads the new copy (40: the fixture's program is not installed; the
// old copy has no program section and would give 51). Refused: update gives 30 and
// checkversion 5, and the old copy stays byte for byte.
void RunRefreshRows(const std::vector<RefreshRow>& rows, bool accepted) {
  for (const RefreshRow& row : rows) {
    SCOPED_TRACE(row.what);
    for (const char* command : {"update", "checkversion"}) {
      SCOPED_TRACE(command);
      LauncherCase test(kCaseName);
      e2e::WriteServedFile(test.name, "version.ini", row.served);
      WriteLauncherIni(test, e2e::ServedUrl(test.name, "version.ini"), row.keys);
      const std::string old = OldCopy(row.localIssued);
      test.workspace.WriteFile(kLocalCopy, old);
      const LauncherOutcome outcome = test.workspace.Run(
          Parameter(std::string("Command='") + command + "' ProgramID='PROG' ForceCheck='1'"));
      const bool update = std::string(command) == "update";
      ExpectReported(outcome, accepted ? (update ? 0 : 40) : (update ? 30 : 5));
      EXPECT_TRUE(HasLogLine(outcome, row.logLine)) << "log line: " << row.logLine;
      if (accepted) {
        const std::string copy = test.workspace.PathOf(kLocalCopy);
        char issued[32] = {};
        ::GetPrivateProfileStringA("GENERAL", "ISSUED", "", issued, sizeof issued, copy.c_str());
        EXPECT_EQ(IssuedOf(row.served), issued) << "the new copy is the served file";
        EXPECT_GE(::GetPrivateProfileIntA("GENERAL", "LASTUPDATETIME", 0, copy.c_str()),
                  CurrentUnixTime() - 60)
            << "the accepted copy is stamped as today";
      } else {
        EXPECT_EQ(old, test.workspace.ReadFile(kLocalCopy)) << "the old copy, byte for byte";
      }
      EXPECT_FALSE(LeftoverDownloads(test.workspace));
    }
  }
}

std::string Accepted(const std::string& keyOf, const std::string& file) {
  return "version file accepted: signed by key " + keyOf + ", ISSUED " + IssuedOf(file);
}

TEST(LauncherSignedCp1251, SignedFilesOfBothToolsAreAcceptedAndUsed) {
  ASSERT_TRUE(test_http::Running());
  const std::string signedByTool = Fixture("zupublish.ini");
  const std::string signedByOpenssl = Fixture("openssl.ini");
  const std::string vendor = Fixture("vendor.pub");
  const std::string issued = IssuedOf(signedByTool);
  RunRefreshRows(
      {
          {"signed by zupublish", signedByTool, vendor, "0", Accepted("1 of 1", signedByTool)},
          {"signed by the openssl command line", signedByOpenssl, Fixture("openssl.pub"), "0",
           Accepted("1 of 1", signedByOpenssl)},
          {"the second key of the list signed", signedByTool, Fixture("other.pub") + "," + vendor,
           "0", Accepted("2 of 2", signedByTool)},
          {"ISSUED equal to the local copy's", signedByTool, vendor, issued,
           Accepted("1 of 1", signedByTool)},
          {"UTF-16LE with its mark", Fixture("utf16.ini"), vendor, "0",
           Accepted("1 of 1", Fixture("utf16.ini"))},
      },
      true);
}

TEST(LauncherSignedCp1251, EveryRefusalKeepsTheOldCopyAndNamesItsReason) {
  ASSERT_TRUE(test_http::Running());
  const std::string signedFile = Fixture("zupublish.ini");
  const std::string vendor = Fixture("vendor.pub");
  const std::string issued = IssuedOf(signedFile);
  std::string changedBody = signedFile;
  changedBody.replace(changedBody.find("VERSION=7"), 9, "VERSION=8");
  const std::string noMatch =
      "version file refused: bad signature or unknown key: no key of PUBLIC_KEY verifies it";
  RunRefreshRows(
      {
          {"unsigned", Fixture("unstamped.ini"), vendor, "0", "version file refused: no signature"},
          {"one byte changed in the signed part", changedBody, vendor, "0", noMatch},
          {"one byte changed inside r of the signature",
           WithSignatureCharacterChanged(signedFile, 20), vendor, "0", noMatch},
          {"the signature's first byte changed (no longer DER)",
           WithSignatureCharacterChanged(signedFile, 0), vendor, "0",
           "version file refused: bad signature: not a base64 DER ECDSA P-256 signature"},
          {"signed by a key not in the list", Fixture("other_key.ini"), vendor, "0", noMatch},
          {"a section appended after the signature", signedFile + "[PROG]\r\nVERSION=99\r\n",
           vendor, "0", "version file refused: no signature"},
          {"ISSUED lower than the local copy's", signedFile, vendor,
           std::to_string(std::stoull(issued) + 1),
           "version file refused: older ISSUED than the local copy's: " + issued + " < " +
               std::to_string(std::stoull(issued) + 1)},
          {"ISSUED missing", Fixture("no_issued.ini"), vendor, "0",
           "version file refused: no ISSUED in GENERAL (or not a decimal number)"},
          {"a malformed PUBLIC_KEY", signedFile, vendor.substr(1), "0",
           "version file refused: malformed PUBLIC_KEY in the launcher INI"},
          {"an empty PUBLIC_KEY", signedFile, "", "0",
           "version file refused: malformed PUBLIC_KEY in the launcher INI"},
      },
      false);
}

TEST(LauncherSignedCp1251, ARefusedRefreshShowsWhatAFailedDownloadShows) {
  ASSERT_TRUE(test_http::Running());
  const struct {
    const char* command;
    int code;
    int textId;
  } rows[] = {{"update", 30, 6}, {"run", 5, 17}, {"forcerun", 5, 27}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    LauncherCase test(kCaseName);
    e2e::WriteServedFile(test.name, "version.ini", Fixture("unstamped.ini"));
    WriteLauncherIni(test, e2e::ServedUrl(test.name, "version.ini"), Fixture("vendor.pub"));
    test.workspace.WriteFile(kLocalCopy, OldCopy("0"));
    const LauncherOutcome outcome =
        test.workspace.Run(Parameter(std::string("Command='") + row.command +
                                     "' ProgramID='PROG' ForceCheck='1' SilentMessage='0'"));
    ExpectReported(outcome, row.code);
    ASSERT_EQ(1u, outcome.boxes.size());
    EXPECT_EQ(e2e::Text(row.textId), outcome.boxes[0].text);
  }
}

TEST(LauncherSignedCp1251, UnderAKeyOnlyAPinnedInstallerIsFetched) {
  ASSERT_TRUE(test_http::Running());
  const struct {
    const char* what;
    std::string digest;  // DOWN_SHA256, "" for none; "*" for the served installer's
    int code;
  } rows[] = {
      {"no DOWN_SHA256", "", 24},
      {"DOWN_SHA256 of 63 digits", std::string(63, 'a'), 24},
      {"DOWN_SHA256 not hexadecimal", std::string(64, 'g'), 24},
      {"the installer's own digest", "*", 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    LauncherCase test("SignedPin");
    test.ServeInstaller(5);
    const std::string token = test_http::UniqueToken("pin");
    e2e::Keys keys = test.ProgramKeys(5, 0);
    for (auto& key : keys)
      if (key.first == "DOWN_URL")
        key.second = e2e::ServedUrl(test.name, "setup.exe?token=" + token);
    if (!row.digest.empty()) {
      std::string digest = row.digest;
      if (digest == "*") {
        UniqueFileHandle setup(::CreateFileA(e2e::ServedPath(test.name, "setup.exe").c_str(),
                                             GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                             0, nullptr));
        Sha256Digest bytes{};
        ASSERT_TRUE(HashFileSha256(setup.get(), bytes));
        digest = FormatSha256Hex(bytes);
        LARGE_INTEGER size{};
        ::GetFileSizeEx(setup.get(), &size);
        keys.push_back({"DOWN_SIZE", std::to_string(size.QuadPart)});
      }
      keys.push_back({"DOWN_SHA256", digest});
    }
    WriteLauncherIni(test, test_http::RefusedUrl("/version.ini"), Fixture("vendor.pub"));
    test.workspace.WriteLocalVersionFile(LauncherCase::VersionFile(keys));
    const LauncherOutcome outcome = test.workspace.Run(
        Parameter("Command='install' ProgramID='PROG' SilentMessage='0' SilentInstall='1'"));
    ExpectReported(outcome, row.code);
    if (row.code == 24) {
      ASSERT_EQ(1u, outcome.boxes.size());
      EXPECT_EQ(e2e::Text(14), outcome.boxes[0].text);
      EXPECT_TRUE(
          HasLogLine(outcome, "installer refused: no well-formed DOWN_SHA256 under PUBLIC_KEY"));
    }
    EXPECT_EQ(row.code == 24 ? 0u : 1u, test_http::RecordedRequests(token).size())
        << "the installer is requested only when pinned";
  }
}

}  // namespace

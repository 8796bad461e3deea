// Signed version files as hosts and vendors see them: under PUBLIC_KEY a refresh takes only
// a file one of the keys signed, not older than the local copy nor than the highest accepted
// for its address, not expired; every refusal keeps the old copy and says why in the log; the
// copy is verified again at every use and an edited one is never acted on; an installer
// without DOWN_SHA256 and DOWN_SIZE is not fetched. The signed files come from the native
// zupublish test (zupublish and the openssl command line, with keys made at test time, by the
// signed_fixtures test) in the build tree; files that name the test server are signed at run
// time by the same zupublish. Runs in code page 1251.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "common/sha256_win.h"
#include "common/text.h"
#include "common/unique_handle_win.h"
#include "env/directories_win.h"
#include "tests/app/launcher_fixture_win.h"
#include "tests/app/per_machine_road_win.h"

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

// The vendor's key signs `text` now (the test server's address in it is known only now):
// zupublish, a Unix program, which Wine starts as such. Wine gives no process handle to wait
// on for a Unix program (WaitForSingleObject fails), so the test waits for the signed file,
// which zupublish puts in place by one rename. Gives the signed file.
std::string SignedByVendor(const std::string& text) {
  static int count = 0;
  const std::string name = "runtime" + std::to_string(++count) + ".ini";
  LauncherWorkspace::WriteFileAt(FixturePath(name), text);
  const std::string unixDir = ZU_SIGNED_FIXTURES_DIR;
  std::string commandLine = "\"" + FixturePath("zupublish.exe") + "\" sign " + unixDir + "/" +
                            name + " " + unixDir + "/vendor.pem";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << ::GetLastError();
    return "";
  }
  for (int waited = 0; waited < 300; ++waited) {
    std::ifstream in(FixturePath(name), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    if (content.str().find("\n[SIGNATURE]") != std::string::npos) return content.str();
    ::Sleep(100);
  }
  ADD_FAILURE() << "not signed within 30 s: " << commandLine;
  return "";
}

const char kRecordsKey[] = "Software\\ZuLauncher\\VersionFiles";

// What the launcher remembers about signed files (the highest ISSUED per address, the refresh
// times) is per user and outlives a workspace: each case starts without it.
void ForgetVersionFileRecords() {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, kRecordsKey);
}

// A number the launcher recorded under VersionFiles\<what>, value `name`, or -1.
long long RecordedNumber(const std::string& what, const std::string& name) {
  char text[32] = {};
  DWORD size = sizeof text - 1;
  const std::string key = std::string(kRecordsKey) + "\\" + what;
  if (::RegGetValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, text,
                     &size) != ERROR_SUCCESS)
    return -1;
  return std::atoll(text);
}

// The refresh time the launcher recorded for the copy at `path`, or -1.
long long RecordedRefreshTime(const std::string& path) { return RecordedNumber("RefreshTime", path); }

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
      ForgetVersionFileRecords();
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
        // Under a key the stamp is kept outside the copy, which stays the signed bytes.
        EXPECT_EQ(row.served, test.workspace.ReadFile(kLocalCopy))
            << "the new copy is the served file, byte for byte";
        EXPECT_GE(RecordedRefreshTime(test.workspace.PathOf(kLocalCopy)), CurrentUnixTime() - 60)
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
          // The old copy is unsigned: its ISSUED bounds nothing.
          {"an unsigned copy claiming the highest ISSUED", signedByTool, vendor,
           "18446744073709551615", Accepted("1 of 1", signedByTool)},
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
    TextId textId;
  } rows[] = {{"update", 30, TextId::UpdateFailed},
              {"run", 5, TextId::VersionCheckError},
              {"forcerun", 5, TextId::VersionCheckErrorForced}};
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
    bool sized;          // DOWN_SIZE of the served installer
    int code;
    const char* missing;  // what the log line names
  } rows[] = {
      {"no DOWN_SHA256", "", false, 24, "DOWN_SHA256"},
      {"DOWN_SHA256 of 63 digits", std::string(63, 'a'), false, 24, "DOWN_SHA256"},
      {"DOWN_SHA256 not hexadecimal", std::string(64, 'g'), false, 24, "DOWN_SHA256"},
      {"the installer's own digest but no DOWN_SIZE", "*", false, 24, "DOWN_SIZE"},
      {"the installer's own digest and size", "*", true, 0, nullptr},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ForgetVersionFileRecords();
    LauncherCase test("SignedPin");
    test.ServeInstaller(5);
    const std::string token = test_http::UniqueToken("pin");
    e2e::Keys keys = test.ProgramKeys(5, 0);
    for (auto& key : keys)
      if (key.first == "DOWN_URL")
        key.second = e2e::ServedUrl(test.name, "setup.exe?token=" + token);
    UniqueFileHandle setup(::CreateFileA(e2e::ServedPath(test.name, "setup.exe").c_str(),
                                         GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                         nullptr));
    Sha256Digest bytes{};
    ASSERT_TRUE(HashFileSha256(setup.get(), bytes));
    LARGE_INTEGER size{};
    ::GetFileSizeEx(setup.get(), &size);
    setup.reset();
    if (row.sized) keys.push_back({"DOWN_SIZE", std::to_string(size.QuadPart)});
    if (!row.digest.empty())
      keys.push_back({"DOWN_SHA256", row.digest == "*" ? FormatSha256Hex(bytes) : row.digest});
    // Signed, so the copy the refresh stores verifies at use.
    e2e::WriteServedFile(test.name, "version.ini", SignedByVendor(LauncherCase::VersionFile(keys)));
    WriteLauncherIni(test, e2e::ServedUrl(test.name, "version.ini"), Fixture("vendor.pub"));
    const LauncherOutcome outcome = test.workspace.Run(
        Parameter("Command='install' ProgramID='PROG' SilentMessage='0' SilentInstall='1'"));
    ExpectReported(outcome, row.code);
    if (row.missing) {
      ASSERT_EQ(1u, outcome.boxes.size());
      EXPECT_EQ(e2e::Text(TextId::BadInstallInformation), outcome.boxes[0].text);
      EXPECT_TRUE(HasLogLine(outcome, std::string("installer refused: no well-formed ") +
                                          row.missing + " under PUBLIC_KEY"));
    }
    EXPECT_EQ(row.code == 24 ? 0u : 1u, test_http::RecordedRequests(token).size())
        << "the installer is requested only when pinned";
  }
}

// After an update, the copy is edited as anyone who can write the launcher's folder could:
// another installer, with its size and digest. The edit is never acted on: offline the
// command fails as a failed refresh; online the vendor's file comes back and its installer
// (whose address refuses connections) is the one tried.
TEST(LauncherSignedCp1251, AnEditedCopyIsNeverActedOn) {
  ASSERT_TRUE(test_http::Running());
  const std::string served = Fixture("zupublish.ini");
  const struct {
    const char* what;
    bool online;
    int code;
  } rows[] = {
      {"offline: a failed refresh", false, CodeOf(Outcome::RefreshFailed)},
      {"online: the vendor's installer", true, CodeOf(Outcome::InstallFailed)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ForgetVersionFileRecords();
    LauncherCase test("SignedEdited");
    const std::string url = e2e::ServedUrl(test.name, "version.ini");
    e2e::WriteServedFile(test.name, "version.ini", served);
    WriteLauncherIni(test, url, Fixture("vendor.pub"));
    ExpectReported(test.workspace.Run(Parameter("Command='update'")), 0);
    ASSERT_EQ(served, test.workspace.ReadFile(kLocalCopy)) << "the verified bytes were stored";

    const std::string token = test_http::UniqueToken("edited");
    std::string edited = served;
    const size_t at = edited.find("DOWN_URL=");
    edited.replace(at, edited.find('\r', at) - at,
                   "DOWN_URL=" + e2e::ServedUrl(test.name, "other.exe?token=" + token));
    test.workspace.WriteFile(kLocalCopy, edited);

    const std::string versionUrl = row.online ? url : test_http::RefusedUrl("/version.ini");
    const LauncherOutcome outcome = test.workspace.Run(Parameter(
        "Command='run' ProgramID='PROG' SilentInstall='1' VersionFileURL='" + versionUrl + "'"));
    ExpectReported(outcome, row.code);
    EXPECT_TRUE(HasLogLine(outcome,
                           "local version file not used: bad signature or unknown key: "
                           "no key of PUBLIC_KEY verifies it"));
    EXPECT_EQ(0u, test_http::RecordedRequests(token).size()) << "the edited installer address";
    EXPECT_EQ(row.online ? served : edited, test.workspace.ReadFile(kLocalCopy));
  }
}

// The highest ISSUED accepted for an address is remembered outside the copy: with the copy
// deleted, or held open by another process so that it cannot be read, an older signed file is
// still refused.
TEST(LauncherSignedCp1251, AnOlderReleaseIsRefusedWhateverBecameOfTheCopy) {
  ASSERT_TRUE(test_http::Running());
  for (const bool deleted : {true, false}) {
    SCOPED_TRACE(deleted ? "copy deleted" : "copy locked");
    ForgetVersionFileRecords();
    LauncherCase test("SignedFloor");
    const std::string url = e2e::ServedUrl(test.name, "version.ini");
    WriteLauncherIni(test, url, Fixture("vendor.pub"));
    e2e::WriteServedFile(test.name, "version.ini", Fixture("issued_300.ini"));
    ExpectReported(test.workspace.Run(Parameter("Command='update'")), 0);

    e2e::WriteServedFile(test.name, "version.ini", Fixture("issued_200.ini"));
    UniqueFileHandle lock;
    if (deleted) {
      ASSERT_TRUE(::DeleteFileA(test.workspace.PathOf(kLocalCopy).c_str()));
    } else {
      lock.reset(::CreateFileA(test.workspace.PathOf(kLocalCopy).c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, 0, nullptr));
      ASSERT_TRUE(lock);
    }
    const LauncherOutcome outcome = test.workspace.Run(Parameter("Command='update'"));
    ExpectReported(outcome, 30);
    EXPECT_TRUE(
        HasLogLine(outcome,
                   "version file refused: ISSUED below the highest accepted for this address: "
                   "200 < 300"));
    lock.reset();
    EXPECT_EQ(!deleted, test.workspace.Exists(kLocalCopy));
    EXPECT_FALSE(LeftoverDownloads(test.workspace));
  }
}

// The floor of a feed, or -1 when none is recorded.
long long RecordedFeedFloor(const std::string& feedId) {
  return RecordedNumber("Feeds\\HighestIssued", feedId);
}

// One key signs two feeds: under FEED_ID the other feed's file is refused before the floor
// moves, and two addresses of one feed (mirrors) share its floor.
TEST(LauncherSignedCp1251, AFeedTakesOnlyItsOwnFilesAndItsMirrorsShareOneFloor) {
  ASSERT_TRUE(test_http::Running());
  ForgetVersionFileRecords();
  LauncherCase test("SignedFeed");
  const std::string mirror = e2e::ServedUrl(test.name, "mirror.ini");
  test.workspace.WriteFile(
      "ZuLauncher.ini",
      "[GENERAL]\r\nVERSION_FILE_URL=" + e2e::ServedUrl(test.name, "version.ini") +
          "\r\nPUBLIC_KEY=" + Fixture("vendor.pub") + "\r\nFEED_ID=prod\r\n");
  const struct {
    const char* what;
    const char* fixture;
    bool fromMirror;
    int code;
    const char* logLine;
    long long floorAfter;
  } rows[] = {
      {"another feed's later release", "feed_staging_400.ini", false, 30,
       "version file refused: feed FEED_ID staging, expected prod", -1},
      {"a file without FEED_ID", "issued_300.ini", false, 30,
       "version file refused: feed FEED_ID missing, expected prod", -1},
      {"the feed's release", "feed_prod_300.ini", false, 0,
       "version file accepted: signed by key 1 of 1, ISSUED 300", 300},
      // The copy is gone (deleted first), so only the floor can refuse it.
      {"an older release of the feed from a mirror", "feed_prod_200.ini", true, 30,
       "version file refused: ISSUED below the highest accepted for this address: 200 < 300", 300},
      {"the same release from the mirror", "feed_prod_300.ini", true, 0,
       "version file accepted: signed by key 1 of 1, ISSUED 300", 300},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    e2e::WriteServedFile(test.name, row.fromMirror ? "mirror.ini" : "version.ini",
                         Fixture(row.fixture));
    const std::string url = row.fromMirror ? " VersionFileURL='" + mirror + "'" : "";
    if (row.code != 0) ::DeleteFileA(test.workspace.PathOf(kLocalCopy).c_str());
    const LauncherOutcome outcome = test.workspace.Run(Parameter("Command='update'" + url));
    ExpectReported(outcome, row.code);
    EXPECT_TRUE(HasLogLine(outcome, row.logLine)) << row.logLine;
    EXPECT_EQ(row.floorAfter, RecordedFeedFloor("prod"));
  }
  EXPECT_EQ(-1, RecordedFeedFloor("staging"));
}

// The keys in the INI beside the launcher hold whatever INI the request names; a network path
// is not read at all.
TEST(LauncherSignedCp1251, ARequestsIniCannotDropTheKeysBesideTheLauncher) {
  ASSERT_TRUE(test_http::Running());
  ForgetVersionFileRecords();
  LauncherCase test("SignedHeldKeys");
  const std::string url = e2e::ServedUrl(test.name, "version.ini");
  WriteLauncherIni(test, url, Fixture("vendor.pub"));
  test.workspace.WriteFile("keyless.ini", "[GENERAL]\r\nVERSION_FILE_URL=" + url + "\r\n");
  test.workspace.WriteFile(kLocalCopy, OldCopy("0"));
  const struct {
    const char* what;
    const char* fixture;
    std::string iniFileName;
    int code;
    const char* logLine;  // "" for none asked
  } rows[] = {
      {"an INI without keys, an unsigned file", "unstamped.ini", "keyless.ini", 30,
       "version file refused: no signature"},
      {"an INI without keys, a signed file", "zupublish.ini", "keyless.ini", 0, ""},
      {"a UNC path", "zupublish.ini", "\\\\127.0.0.1\\share\\keyless.ini", 60, ""},
      {"a UNC path with forward slashes", "zupublish.ini", "//127.0.0.1/share/keyless.ini", 60, ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    e2e::WriteServedFile(test.name, "version.ini", Fixture(row.fixture));
    const std::string old = test.workspace.ReadFile(kLocalCopy);
    const LauncherOutcome outcome = test.workspace.Run(
        Parameter("Command='update' ForceCheck='1' IniFileName='" + row.iniFileName + "'"));
    ExpectReported(outcome, row.code);
    if (*row.logLine) {
      EXPECT_TRUE(HasLogLine(outcome, row.logLine)) << row.logLine;
    }
    if (row.code != 0) {
      EXPECT_EQ(old, test.workspace.ReadFile(kLocalCopy)) << "the old copy, byte for byte";
    }
  }
}

// EXPIRES ends a signed file's use; one whose EXPIRES lies ahead is used.
TEST(LauncherSignedCp1251, AnExpiredFileIsRefusedAndOneNotYetExpiredAccepted) {
  ASSERT_TRUE(test_http::Running());
  const std::string expired = Fixture("expired.ini");
  const std::string current = Fixture("zupublish.ini");
  ASSERT_NE(std::string::npos, current.find("EXPIRES=")) << "signed with the default expiry";
  const size_t at = expired.find("EXPIRES=") + 8;
  const std::string expiredAt = expired.substr(at, expired.find('\r', at) - at);
  for (const bool isExpired : {true, false}) {
    SCOPED_TRACE(isExpired ? "expired" : "not yet expired");
    ForgetVersionFileRecords();
    LauncherCase test(kCaseName);
    e2e::WriteServedFile(test.name, "version.ini", isExpired ? expired : current);
    WriteLauncherIni(test, e2e::ServedUrl(test.name, "version.ini"), Fixture("vendor.pub"));
    const LauncherOutcome outcome = test.workspace.Run(Parameter("Command='update'"));
    ExpectReported(outcome, isExpired ? 30 : 0);
    if (isExpired) {
      EXPECT_TRUE(HasLogLine(outcome, "version file refused: expired: EXPIRES " + expiredAt));
      EXPECT_FALSE(test.workspace.Exists(kLocalCopy));
    } else {
      EXPECT_EQ(current, test.workspace.ReadFile(kLocalCopy));
    }
  }
}

// An environment variable of this process, put back as it was when the scope ends.
class ScopedVariable {
 public:
  explicit ScopedVariable(const char* name) : m_name(name) {
    char value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof value);
    m_had = length > 0 && length < sizeof value;
    m_value = value;
  }
  ~ScopedVariable() { ::SetEnvironmentVariableA(m_name, m_had ? m_value.c_str() : nullptr); }
  void Set(const std::string& value) { ::SetEnvironmentVariableA(m_name, value.c_str()); }

 private:
  const char* m_name;
  bool m_had = false;
  std::string m_value;
};

// The names of the files in `directory` that have the temporary-name shape.
std::vector<std::string> TemporaryFilesIn(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA entry;
  HANDLE search = ::FindFirstFileA((directory + "t*.tmp").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(entry.cFileName);
  while (::FindNextFileA(search, &entry));
  ::FindClose(search);
  return names;
}

// A copy in a folder where no file can be created (here: a folder that does not exist): the
// download may pass through the user's temporary folder, but the refresh fails and nothing is
// left anywhere; with the user's temporary folder unusable as well nothing is created at all,
// least of all c:\temp. With a key and without.
TEST(LauncherSignedCp1251, ACopyWhereNoFileCanBeCreatedFailsAndWritesNothingElsewhere) {
  ASSERT_TRUE(test_http::Running());
  const std::string userTemp = GetTempDir();
  const struct {
    const char* what;
    bool underKey;
    bool tempUsable;
  } rows[] = {
      {"no key, the user's temporary folder usable", false, true},
      {"no key, the user's temporary folder missing too", false, false},
      {"a key, the user's temporary folder missing too", true, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    ForgetVersionFileRecords();
    LauncherCase test(kCaseName);
    e2e::WriteServedFile(test.name, "version.ini",
                         row.underKey ? Fixture("zupublish.ini") : Fixture("unstamped.ini"));
    const std::string url = e2e::ServedUrl(test.name, "version.ini");
    if (row.underKey) {
      WriteLauncherIni(test, url, Fixture("vendor.pub"));
    } else {
      test.workspace.WriteLauncherIni(url);
    }
    const bool hadCTemp = ::GetFileAttributesA("c:\\temp") != INVALID_FILE_ATTRIBUTES;
    const std::vector<std::string> tempBefore = TemporaryFilesIn(userTemp);
    LauncherOutcome outcome;
    {
      // The launcher inherits this process's environment.
      ScopedVariable tmp("TMP"), temp("TEMP");
      if (!row.tempUsable) {
        tmp.Set(test.workspace.PathOf("no-temp"));
        temp.Set(test.workspace.PathOf("no-temp"));
      }
      outcome = test.workspace.Run(Parameter("Command='update' LocalVersionFilePath='" +
                                             test.workspace.PathOf("missing\\copy.ini") + "'"));
    }
    ExpectReported(outcome, 30);
    EXPECT_FALSE(test.workspace.Exists("missing"));
    EXPECT_FALSE(test.workspace.Exists("no-temp"));
    EXPECT_FALSE(LeftoverDownloads(test.workspace));
    EXPECT_EQ(tempBefore, TemporaryFilesIn(userTemp)) << "nothing left in " << userTemp;
    EXPECT_EQ(hadCTemp, ::GetFileAttributesA("c:\\temp") != INVALID_FILE_ATTRIBUTES)
        << "c:\\temp created";
    if (hadCTemp) {
      EXPECT_TRUE(TemporaryFilesIn("c:\\temp\\").empty());
    }
    EXPECT_TRUE(TemporaryFilesIn("c:\\").empty());
  }
}

// A launcher folder this user cannot write: the verified copy is kept in his own folder, with
// the same check at use, and its refresh time recorded under its own path.
TEST(LauncherSignedCp1251, RunAndUpdateInAFolderTheUserCannotWrite) {
  ASSERT_TRUE(test_http::Running());
  ForgetVersionFileRecords();
  LauncherCase test("SignedPerMachine");
  e2e::ExpectPerMachineRoad(test, SignedByVendor, Fixture("vendor.pub"));
  const long long now = CurrentUnixTime();
  EXPECT_LE(now - 60, RecordedRefreshTime(UserCopyOf(test.workspace.PathOf(kLocalCopy))));
  EXPECT_EQ(-1, RecordedRefreshTime(test.workspace.PathOf(kLocalCopy)));
}

}  // namespace

namespace {

// Mirrors under a key: an address that cannot be reached gives way to the next, which serves
// the signed file; a first address that serves a badly signed one decides: the second is never
// asked. Each address keeps its own highest ISSUED.
TEST(LauncherSignedCp1251, MirrorsFailOverOnlyWhenNothingArrived) {
  ASSERT_TRUE(test_http::Running());
  const std::string signedFile = Fixture("zupublish.ini");
  for (const bool firstServesABadFile : {false, true}) {
    SCOPED_TRACE(firstServesABadFile ? "first serves a bad signature" : "first refuses");
    ForgetVersionFileRecords();
    LauncherCase test(kCaseName);
    const std::string token = test_http::UniqueToken("signedmirror");
    e2e::WriteServedFile(test.name, "version.ini", signedFile);
    e2e::WriteServedFile(test.name, "bad.ini", WithSignatureCharacterChanged(signedFile, 20));
    const std::string first = firstServesABadFile ? e2e::ServedUrl(test.name, "bad.ini")
                                                  : test_http::RefusedUrl("/version.ini");
    const std::string second = e2e::ServedUrl(test.name, "version.ini?token=" + token);
    test.workspace.WriteFile("ZuLauncher.ini", "[GENERAL]\r\nVERSION_FILE_URL=" + first +
                                                   "\r\nVERSION_FILE_URL_2=" + second +
                                                   "\r\nPUBLIC_KEY=" + Fixture("vendor.pub") +
                                                   "\r\n");
    // The first address once served a later release: its floor is above this file's ISSUED.
    const std::string higher = std::to_string(std::stoull(IssuedOf(signedFile)) + 1000);
    ::RegSetKeyValueA(HKEY_CURRENT_USER, (std::string(kRecordsKey) + "\\HighestIssued").c_str(),
                      first.c_str(), REG_SZ, higher.c_str(), static_cast<DWORD>(higher.size() + 1));
    const LauncherOutcome outcome = test.workspace.Run(Parameter("Command='update'"));
    ExpectReported(outcome, firstServesABadFile ? Outcome::UpdateFailed : Outcome::Refreshed);
    EXPECT_EQ(firstServesABadFile ? 0u : 1u, test_http::RecordedRequests(token).size());
    EXPECT_EQ(!firstServesABadFile, HasLogLine(outcome, "version file served by " + second));
    if (firstServesABadFile) continue;
    // The copy is held at use to the floor of the address that served it, not the first's.
    const LauncherOutcome used =
        test.workspace.Run(Parameter("Command='checkversion' ProgramID='PROG'"));
    ExpectReported(used, Outcome::NotInstalled);
    EXPECT_EQ(1u, test_http::RecordedRequests(token).size()) << "the copy was fresh and verified";
  }
}

}  // namespace

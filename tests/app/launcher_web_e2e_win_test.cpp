// The launcher's two downloads on the real web's terms, end to end through zuhost: HTTPS with
// the test CA trusted in the prefix, refused certificates and redirects, web addresses only,
// an agent name that cannot add header lines, and the system proxy. Runs in code page 1251.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/app/launcher_fixture_win.h"
#include "tests/support/system_proxy_win.h"

namespace {

using e2e::Keys;
using e2e::LauncherCase;
using e2e::Parameter;
using test_http::Certificate;

const char kLocalCopy[] = "_ZuVersion_temp_.ini";
const char kOldCopy[] = "[GENERAL]\r\nZULAUNCHER_VERSION=1000\r\nLASTUPDATETIME=100\r\n";

Keys WithDownUrl(Keys keys, const std::string& url) {
  for (auto& key : keys) {
    if (key.first == "DOWN_URL") key.second = url;
  }
  return keys;
}

std::string HttpsServedUrl(const LauncherCase& test, const std::string& nameAndQuery) {
  return test_http::HttpsUrl("/files/" + test.name + "/" + nameAndQuery);
}
std::string HttpServedUrl(const LauncherCase& test, const std::string& nameAndQuery) {
  return e2e::ServedUrl(test.name, nameAndQuery);
}

enum class Download { VersionFile, Installer };

// `update` refreshes the version file from `url`; `forceinstall` downloads the installer from
// it (as DOWN_URL of a fresh local copy). Checks what must hold whatever the outcome: only a
// good refresh replaces the old copy, only a good installer download starts the installer.
LauncherOutcome RunDownload(const LauncherCase& test, Download download, const std::string& url,
                            const std::string& extra = "") {
  test.ServeInstaller(5);
  if (download == Download::VersionFile) {
    e2e::WriteServedFile(test.name, "version.ini",
                         LauncherCase::VersionFile(test.ProgramKeys(5, 0)));
    test.workspace.WriteLauncherIni(url);
    test.workspace.WriteFile(kLocalCopy, kOldCopy);
    const LauncherOutcome outcome = test.workspace.Run(Parameter("Command='update' " + extra));
    EXPECT_EQ(outcome.exitCode == 0, test.workspace.ReadFile(kLocalCopy) != kOldCopy)
        << "the copy was replaced exactly when the refresh succeeded";
    return outcome;
  }
  test.workspace.WriteLauncherIni(test_http::RefusedUrl("/version.ini"));
  test.workspace.WriteLocalVersionFile(
      LauncherCase::VersionFile(WithDownUrl(test.ProgramKeys(5, 0), url)));
  const LauncherOutcome outcome =
      test.workspace.Run(Parameter("Command='forceinstall' ProgramID='PROG' " + extra));
  EXPECT_EQ(outcome.exitCode == 0, fake_installer::FileExists(test.InstallerRecord()))
      << "the installer ran exactly when the download succeeded";
  return outcome;
}

class LauncherWebCp1251 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(test_http::Running());
  }
};

// How a row reaches the served file: straight over TLS, or through a redirect.
enum class Route { Straight, HttpsDownToHttp, HttpUpToHttps, ElevenRedirects };

std::string RouteTo(Route route, Certificate certificate, const std::string& path) {
  switch (route) {
    case Route::Straight:
      return test_http::HttpsUrl(path, certificate);
    case Route::HttpsDownToHttp:
      return test_http::HttpsUrl("/text/moved?location=" + test_http::Url(path));
    case Route::HttpUpToHttps:
      return test_http::Url("/text/moved?location=" + test_http::HttpsUrl(path));
    case Route::ElevenRedirects:
      break;
  }
  return test_http::Url("/redirect/11" + path);
}

TEST_F(LauncherWebCp1251, HttpsCertificatesAndRedirectsDecideBothDownloads) {
  ASSERT_TRUE(test_http::HttpsRunning());
  struct Row {
    const char* what;
    Route route;
    Certificate certificate;
    bool succeeds;
  };
  const Row rows[] = {
      {"https, trusted CA", Route::Straight, Certificate::Trusted, true},
      {"certificate for another name", Route::Straight, Certificate::WrongName, false},
      {"expired certificate", Route::Straight, Certificate::Expired, false},
      {"self-signed certificate", Route::Straight, Certificate::SelfSigned, false},
      {"certificate of an unknown CA", Route::Straight, Certificate::UnknownCa, false},
      {"https redirected to http", Route::HttpsDownToHttp, Certificate::Trusted, false},
      {"http redirected to https", Route::HttpUpToHttps, Certificate::Trusted, true},
      {"eleven redirects", Route::ElevenRedirects, Certificate::Trusted, false},
  };
  for (const Row& row : rows) {
    for (const Download download : {Download::VersionFile, Download::Installer}) {
      const bool versionFile = download == Download::VersionFile;
      SCOPED_TRACE(std::string(row.what) + (versionFile ? ": version file" : ": installer"));
      LauncherCase test("Web");
      const std::string path =
          "/files/" + test.name + "/" + (versionFile ? "version.ini" : "setup.exe");
      const LauncherOutcome outcome =
          RunDownload(test, download, RouteTo(row.route, row.certificate, path));
      ExpectReported(outcome, row.succeeds ? 0 : versionFile ? 30 : 7);
    }
  }
}

TEST_F(LauncherWebCp1251, OnlyWebAddressesAreFetched) {
  struct Row {
    const char* what;
    Download download;
    std::string url;
    int code;
  };
  LauncherCase served("NotWeb");
  served.ServeInstaller(5);
  std::string installerPath = e2e::ServedPath(served.name, "setup.exe");
  for (char& ch : installerPath) ch = ch == '\\' ? '/' : ch;
  const std::string hostAndPath = test_http::Url("/files/NotWeb/version.ini").substr(7);
  const std::vector<Row> rows = {
      {"file: version file", Download::VersionFile, "file:///" + installerPath, 30},
      {"ftp: version file", Download::VersionFile, "ftp://" + hostAndPath, 30},
      {"version file without a scheme", Download::VersionFile, hostAndPath, 30},
      {"file: installer that exists", Download::Installer, "file:///" + installerPath, 24},
      {"ftp: installer", Download::Installer, "ftp://" + hostAndPath, 24},
      {"installer without a scheme", Download::Installer, hostAndPath, 24},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    LauncherCase test("NotWebCase");
    const size_t before = test_http::RecordedRequests("").size();
    const LauncherOutcome outcome = RunDownload(test, row.download, row.url, "SilentMessage='0'");
    ExpectReported(outcome, row.code);
    ASSERT_EQ(1u, outcome.boxes.size()) << "only the outcome, no download dialog error";
    EXPECT_EQ(e2e::Text(row.code == 30 ? TextId::UpdateFailed : TextId::BadInstallInformation), outcome.boxes[0].text);
    EXPECT_EQ(before, test_http::RecordedRequests("").size()) << "no request was made";
  }
  // The request's own VersionFileURL is held to the same rule as the launcher INI's.
  LauncherCase test("NotWebAttribute");
  test.workspace.WriteLauncherIni(HttpServedUrl(test, "version.ini"));
  test.workspace.WriteFile(kLocalCopy, kOldCopy);
  const LauncherOutcome outcome = test.workspace.Run(
      Parameter("Command='update' VersionFileURL='FILE:///" + installerPath + "'"));
  ExpectReported(outcome, 30);
  EXPECT_EQ(kOldCopy, test.workspace.ReadFile(kLocalCopy));
}

TEST_F(LauncherWebCp1251, AnAgentNameWithALineBreakSendsTheDefaultAgentAlone) {
  LauncherCase test("AgentLineBreak");
  const std::string token = test_http::UniqueToken("agent");
  const LauncherOutcome outcome =
      RunDownload(test, Download::VersionFile, HttpServedUrl(test, "version.ini?token=" + token),
                  "AgentName='Host/1\r\nX-Injected: yes'");
  ExpectReported(outcome, 0);
  const auto requests = test_http::RecordedRequests(token);
  ASSERT_EQ(1u, requests.size());
  int userAgentLines = 0;
  for (const auto& header : requests[0].headers) {
    if (::lstrcmpiA(header.first.c_str(), "User-Agent") == 0) ++userAgentLines;
  }
  EXPECT_EQ(1, userAgentLines);
  EXPECT_EQ("ZuLauncher", requests[0].Header("User-Agent"));
  EXPECT_FALSE(requests[0].HasHeader("X-Injected"));
  EXPECT_TRUE(
      HasLogLine(outcome, "AgentName with a control character not used; the agent is ZuLauncher"));
}

TEST_F(LauncherWebCp1251, TheSystemProxyCarriesTheVersionFileAndTheInstaller) {
  ASSERT_TRUE(test_http::HttpsRunning());
  ASSERT_TRUE(test_http::ProxyRunning());
  struct Row {
    const char* what;
    bool secure;
    const char* bypass;
  };
  const Row rows[] = {
      {"http through the proxy", false, ""},
      {"https tunnelled through the proxy", true, ""},
      {"http to a bypassed host", false, "localhost;127.0.0.1"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    LauncherCase test("Proxy");
    test.ServeInstaller(5);
    const std::string token = test_http::UniqueToken("proxy");
    auto served = [&](const std::string& name) {
      return row.secure ? HttpsServedUrl(test, name) : HttpServedUrl(test, name);
    };
    const std::string versionUrl = served("version.ini?token=" + token);
    const std::string installerUrl = served("setup.exe?token=" + token);
    e2e::WriteServedFile(
        test.name, "version.ini",
        LauncherCase::VersionFile(WithDownUrl(test.ProgramKeys(5, 0), installerUrl)));
    test.workspace.WriteLauncherIni(versionUrl);
    const size_t before = test_http::ProxiedRequests().size();
    LauncherOutcome outcome;
    {
      test_http::SystemProxyScope proxy(test_http::ProxyAddress(), row.bypass);
      ASSERT_TRUE(proxy.Applied());
      // forceinstall with ForceCheck: the version file first, then the installer.
      outcome =
          test.workspace.Run(Parameter("Command='forceinstall' ProgramID='PROG' ForceCheck='1'"));
    }
    ExpectReported(outcome, 0);
    EXPECT_EQ(2u, test_http::RecordedRequests(token).size());
    const std::vector<std::string> proxied = test_http::ProxiedRequests();
    const std::vector<std::string> added(proxied.begin() + before, proxied.end());
    std::vector<std::string> expected;
    if (row.secure) {
      const std::string tunnel =
          "CONNECT " + test_http::HttpsUrl("").substr(std::string("https://").size()) + " HTTP/1.1";
      expected = {tunnel, tunnel};
    } else if (*row.bypass == '\0') {
      expected = {"GET " + versionUrl + " HTTP/1.1", "GET " + installerUrl + " HTTP/1.1"};
    }
    EXPECT_EQ(expected, added);
  }
}

}  // namespace

// A wininet.dll planted beside the launcher is never loaded: the launcher restricts the DLL
// search to the system folder and loads its delay-imported DLLs from there. Wine prefers its
// builtin DLLs whatever lies beside a program, so these cases ask Wine for native DLLs first
// (WINEDLLOVERRIDES wininet=n,b, which Wine reads from the Unix environment it starts with: the
// test "win_app_planted_dll" runs these cases so), as a Windows system would search; the probe
// rows show that a plain load then does take the planted one.
#include <gtest/gtest.h>

#include "tests/app/launcher_fixture_win.h"
#include "tests/support/process_runner_win.h"

namespace {

TEST(SystemDll, APlantedWinInetIsNotLoaded) {
  ASSERT_TRUE(test_http::Running());
  if (test_http::Environment("WINEDLLOVERRIDES").find("wininet=n") == std::string::npos)
    GTEST_SKIP() << "needs WINEDLLOVERRIDES with wininet=n,b (the test win_app_planted_dll)";
  struct Case {
    const char* what;
    const char* program;  // copied beside the planted DLL
    const char* arguments;
    int exitCode;
    bool plantedLoaded;
  };
  const Case cases[] = {
      {"a plain load without the restriction takes the planted DLL (the rig sees it)",
       "wininet_probe.exe", "", 0, true},
      {"the restriction alone keeps a plain load in the system folder", "wininet_probe.exe",
       "restricted", 0, false},
      {"the launcher's refresh goes through the real WinINet", "ZuLauncher.exe",
       "\"<ZULAUNCHER_PARAM Command='update' VersionFileURL='{url}'/>\"", 0, false},
  };
  int row = 0;
  for (const Case& c : cases) {
    const std::string caseName = "PlantedWinInet" + std::to_string(row++);
    LauncherWorkspace workspace(caseName);
    ASSERT_TRUE(::CopyFileA((TestProgramDir() + "planted\\wininet.dll").c_str(),
                            workspace.PathOf("wininet.dll").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileA((TestProgramDir() + c.program).c_str(),
                            workspace.PathOf(c.program).c_str(), FALSE));
    e2e::WriteServedFile(caseName, "version.ini", "[GENERAL]\r\nZULAUNCHER_VERSION=1000\r\n");
    workspace.WriteLauncherIni(e2e::ServedUrl(caseName, "version.ini"));
    std::string arguments = c.arguments;
    const size_t url = arguments.find("{url}");
    if (url != std::string::npos)
      arguments.replace(url, 5, e2e::ServedUrl(caseName, "version.ini"));

    EXPECT_EQ(c.exitCode,
              RunAndWait("\"" + workspace.PathOf(c.program) + "\" " + arguments, workspace.Dir()))
        << c.what;
    EXPECT_EQ(c.plantedLoaded, workspace.Exists("planted.loaded")) << c.what;
  }
}

}  // namespace

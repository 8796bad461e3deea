// The installer download dialog under Wine and Xvfb, driven from a second thread against
// the loopback test server: download, progress display, cancel, failures, installer run.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "common/format.h"
#include "tests/installer/setup_dialog_fixture_win.h"
#include "tests/msgbox/screen_capture_win.h"

namespace {

using fake_installer::FileExists;

// The installer goes into a new folder of unpredictable name in the temporary directory,
// a different one every time, and the folder goes with the file about a second after the end.
TEST_F(SetupDownloadDialogTest, RunsTheInstallerWithItsArgumentsWaitsAndDeletesIt) {
  std::set<std::string> folders;
  for (const std::string arguments : {"/S", "/A", ""}) {
    SCOPED_TRACE("arguments \"" + arguments + "\"");
    ::DeleteFileA(m_recordPath.c_str());
    ObservedSetupDownloadDlg dialog(Request(InstallerUrl(), arguments));
    DWORD installerSeen = 0;
    DWORD folderGone = 0;
    std::string programPath;
    const INT_PTR end = Run(dialog, [&] {
      if (!WaitFor([&] { return FileExists(m_recordPath); }, 20000)) {
        return Fail("the installer never ran");
      }
      installerSeen = ::GetTickCount();
      programPath = fake_installer::ReadRecord(m_recordPath)["PROGRAM_PATH"];
      const std::string folder = programPath.substr(0, programPath.rfind('\\'));
      if (!WaitFor([&] { return !DirExists(folder); }, 20000)) {
        return Fail("the installer's folder stayed");
      }
      folderGone = ::GetTickCount();
      return true;
    });
    EXPECT_EQ(1, end);
    EXPECT_FALSE(dialog.Cancelled());
    fake_installer::Record record = fake_installer::ReadRecord(m_recordPath);
    EXPECT_EQ("\"" + dialog.SetupPath() + "\" " + arguments, record["COMMAND_LINE"])
        << "quoted path, one space, the arguments";
    EXPECT_EQ(arguments, record["ARGUMENTS"]);
    EXPECT_EQ(CurrentDirectory(), record["CURRENT_DIR"]) << "the launcher's current directory";
    EXPECT_EQ(dialog.SetupPath(), programPath);
    const std::string prefix = GetTempDir() + "ZuSetup-";
    const std::string suffix = std::string("\\") + kSetupFileName;
    ASSERT_EQ(prefix.size() + 32 + suffix.size(), programPath.size()) << programPath;
    EXPECT_EQ(prefix, programPath.substr(0, prefix.size()));
    EXPECT_EQ(suffix, programPath.substr(prefix.size() + 32));
    EXPECT_EQ(std::string::npos,
              programPath.substr(prefix.size(), 32).find_first_not_of("0123456789abcdef"));
    folders.insert(programPath.substr(0, prefix.size() + 32));
    EXPECT_FALSE(FileExists(programPath));
    EXPECT_GE(folderGone - installerSeen, 900u) << "removed about a second after the end";
    EXPECT_EQ(m_installerSize, dialog.TotalBytes());
  }
  EXPECT_EQ(3u, folders.size()) << "a new folder for every download";
}

TEST_F(SetupDownloadDialogTest, WaitsForTheInstallerAndIgnoresItsExitCode) {
  const std::string programIni = GetTempDir() + "zu_setup_dialog_test_program.ini";
  ::DeleteFileA(programIni.c_str());
  ASSERT_TRUE(fake_installer::WriteSettings(m_settingsExe, {{"RECORD_FILE", m_recordPath},
                                                            {"DELAY_MS", "1500"},
                                                            {"EXIT_CODE", "3"},
                                                            {"PROGRAM_INI", programIni},
                                                            {"VERSION", "4"}}));
  const std::string installingStatus = Format(LoadText(TextId::InstallingNamed), "Zu Test Program");
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl()));
  std::string statusWhileInstalling;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    if (!WaitFor([&] { return FileExists(m_recordPath); }, 20000)) {
      return Fail("the installer never ran");
    }
    statusWhileInstalling = ItemText(window, IDC_DOWNLOAD_STATUS);
    return true;
  });
  EXPECT_EQ(1, end) << "exit code 3 is not examined";
  EXPECT_EQ(installingStatus, statusWhileInstalling);
  EXPECT_EQ(4,
            static_cast<int>(::GetPrivateProfileIntA("GENERAL", "VERSION", 0, programIni.c_str())))
      << "the program INI, written when the installer ends, is there: the dialog waited";
  ::DeleteFileA(programIni.c_str());
}

TEST_F(SetupDownloadDialogCp1251, ProgressDialogMidDownloadScreenshot) {
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl(TrickleQuery(3))));
  std::string shot;
  int position = -1;
  COLORREF barStart = 0, barEnd = 0;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    if (!window) return Fail("no dialog");
    if (!WaitFor([&] { return (position = ProgressPosition(window, IDC_DOWNLOAD_PROGRESS)) >= 30; },
                 20000)) {
      return Fail("the bar never reached 30 %");
    }
    ::Sleep(50);  // let the status line repaint
    WindowCapture capture;
    if (!CaptureWindow(window, capture)) return Fail("screen capture failed");
    shot = SaveCapture(capture, "setup_download_dialog_mid_download.png");
    // The bar's filled start and its empty end, inside its border.
    RECT bar{};
    ::GetWindowRect(::GetDlgItem(window, IDC_DOWNLOAD_PROGRESS), &bar);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bar), 2);
    const int middle = (bar.top + bar.bottom) / 2;
    barStart = capture.ClientPixel(bar.left + 4, middle);
    barEnd = capture.ClientPixel(bar.right - 4, middle);
    return true;
  });
  EXPECT_EQ(1, end);
  EXPECT_GE(position, 30);
  EXPECT_LT(position, 95) << "captured mid-download";
  EXPECT_NE(barStart, barEnd) << "part of the bar is drawn filled";
  EXPECT_TRUE(FileExists(shot)) << shot;
  std::printf("screenshot: %s\n", shot.c_str());
}

// The display arithmetic seen through the real dialog: the transfer is held back and the
// engine's messages are posted by the test.
TEST_F(SetupDownloadDialogCp1251, ProgressShowsPercentAndGroupedByteCount) {
  ASSERT_EQ(1251u, ::GetACP()) << "run with LC_ALL=ru_RU.UTF-8";
  const std::string downloaded = "\xc7\xe0\xe3\xf0\xf3\xe6\xe5\xed\xee: ";  // "Загружено: "
  const std::string bytesWord = " \xe1\xe0\xe9\xf2";                        // " байт"
  struct Row {
    int contentLength, bytes, position;
    const char* byteText;
    const char* downSize;
    const char* shows;
  } rows[] = {
      {5000000, 2500000, 50, "2,500,000", "", "half of 5,000,000 bytes"},
      {-1, 524288, 50, "524,288", "", "no Content-Length: 1 MiB is the full bar"},
      {-1, 3145728, 100, "3,145,728", "", "beyond 1 MiB the bar stays full, the count grows"},
      {0, 0, 0, "0", "", "content length 0: the bar stays at 0"},
      {0, 4096, 0, "4,096", "", "content length 0: the count still shows"},
      {-1, 3145728, 25, "3,145,728", "12582912", "no Content-Length: DOWN_SIZE is the full bar"},
      {4000000, 1000000, 25, "1,000,000", "12582912", "an announced length wins over DOWN_SIZE"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shows);
    InstallerRequest installer = Request(InstallerUrl());
    installer.downSize = row.downSize;
    ObservedSetupDownloadDlg dialog(installer);
    dialog.m_swallowStartTimer = true;
    std::string status;
    int position = -1000;
    const INT_PTR end = Run(dialog, [&] {
      HWND window = WaitForDialog();
      if (!window) return Fail("no dialog");
      ::PostMessageA(window, WM_HTTPGETFILE_START, 1, row.contentLength);
      ::PostMessageA(window, WM_HTTPGETFILE_PROGRESS, 1, row.bytes);
      if (!WaitFor([&] { return dialog.m_progresses == 1; })) return Fail("no progress");
      status = ItemText(window, IDC_DOWNLOAD_STATUS);
      position = ProgressPosition(window, IDC_DOWNLOAD_PROGRESS);
      PressButton(window, IDCANCEL);  // the start message made the transfer active: confirm
      HWND box = WaitForBox();
      if (!box) return Fail("no confirmation");
      CloseMessageBox(box);
      return WaitGone(window);
    });
    EXPECT_EQ(2, end);
    EXPECT_EQ(row.position, position);
    EXPECT_EQ(downloaded + row.byteText + bytesWord, status);
  }
}

TEST_F(SetupDownloadDialogTest, RefreshesOncePerHundredMillisecondsUnlessThePercentChanges) {
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl()));
  dialog.m_swallowStartTimer = true;
  std::string afterSamePercent, afterPause, afterNewPercent;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    if (!window) return Fail("no dialog");
    ::PostMessageA(window, WM_HTTPGETFILE_START, 1, 1000000);
    ::PostMessageA(window, WM_HTTPGETFILE_PROGRESS, 1, 10000);  // 1 %: refresh
    ::PostMessageA(window, WM_HTTPGETFILE_PROGRESS, 1, 10001);  // still 1 %, at once
    if (!WaitFor([&] { return dialog.m_progresses == 2; })) return Fail("no progress");
    afterSamePercent = ItemText(window, IDC_DOWNLOAD_STATUS);
    ::Sleep(250);
    ::PostMessageA(window, WM_HTTPGETFILE_PROGRESS, 1, 10002);  // still 1 %, 250 ms later
    if (!WaitFor([&] { return dialog.m_progresses == 3; })) return Fail("no progress");
    afterPause = ItemText(window, IDC_DOWNLOAD_STATUS);
    ::PostMessageA(window, WM_HTTPGETFILE_PROGRESS, 1, 20000);  // 2 %, at once
    if (!WaitFor([&] { return dialog.m_progresses == 4; })) return Fail("no progress");
    afterNewPercent = ItemText(window, IDC_DOWNLOAD_STATUS);
    PressButton(window, IDCANCEL);
    HWND box = WaitForBox();
    if (!box) return Fail("no confirmation");
    CloseMessageBox(box);
    return WaitGone(window);
  });
  EXPECT_EQ(2, end);
  EXPECT_NE(std::string::npos, afterSamePercent.find("10,000")) << afterSamePercent;
  EXPECT_EQ(std::string::npos, afterSamePercent.find("10,001")) << "throttled";
  EXPECT_NE(std::string::npos, afterPause.find("10,002")) << afterPause;
  EXPECT_NE(std::string::npos, afterNewPercent.find("20,000")) << afterNewPercent;
}

// Cancels that another process sends while the installer is checked and while it runs (the
// dialog's waits deliver sent messages at once) are refused: the installer runs to its end,
// the dialog ends installed and not cancelled, and nothing is left behind.
TEST_F(SetupDownloadDialogTest, CancelsSentWhileTheInstallerIsCheckedOrRunsAreRefused) {
  ASSERT_TRUE(fake_installer::WriteSettings(m_settingsExe,
                                            {{"RECORD_FILE", m_recordPath}, {"DELAY_MS", "1000"}}));
  InstallerRequest installer = Request(InstallerUrl(), "/S");
  installer.downSize = std::to_string(m_installerSize);
  ObservedSetupDownloadDlg dialog(installer);
  PROCESS_INFORMATION sender{};
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    if (!window) return Fail("no dialog");
    if (!WaitFor([&] { return dialog.m_completionArrived.load(); }, 20000)) {
      return Fail("the transfer never completed");
    }
    // It sends until the dialog is gone.
    std::string commandLine = "\"" + GetModuleDir() + "cancel_sender.exe\" " +
                              std::to_string(static_cast<long long>(HandleToLong(window)));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &sender)) {
      return Fail("cannot start cancel_sender.exe");
    }
    return NoBoxUntilEnded();
  });
  UniqueKernelHandle senderProcess(sender.hProcess);
  UniqueKernelHandle senderThread(sender.hThread);
  EXPECT_EQ(1, end);
  EXPECT_FALSE(dialog.Cancelled());
  ASSERT_TRUE(senderProcess);
  ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(senderProcess.get(), 10000));
  DWORD delivered = 0;
  ::GetExitCodeProcess(senderProcess.get(), &delivered);
  EXPECT_GE(delivered, 10u) << "cancels taken while the installer ran";
  EXPECT_LT(delivered, 255u) << "the sender found the dialog";
  EXPECT_EQ("/S", fake_installer::ReadRecord(m_recordPath)["ARGUMENTS"]) << "the installer ran";
  EXPECT_FALSE(FileExists(dialog.SetupPath()));
}

// Whether an open for writing of a read-only file fails for this process: on Windows, and
// under Wine for any Unix user but root (Wine keeps the attribute as the file's mode bits,
// which bind everyone but root; it enforces no DACL).
bool ReadOnlyFilesRefuseWriters() {
  const std::string probe = GetTempDir() + "zu_read_only_probe.bin";
  ::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(probe.c_str());
  if (!WriteWholeFile(probe, "probe") ||
      !::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_READONLY))
    return false;
  UniqueFileHandle writer(::CreateFileA(probe.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ::SetFileAttributesA(probe.c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileA(probe.c_str());
  return !writer;
}

// Another process of this user keeps trying to open the installer for writing, from as soon
// as the file exists until the installer has ended: through the download, the check, the
// hand-over to the run and the run, it never succeeds (20 rounds). Run by root, Wine enforces the sharing
// modes alone, which cannot cover the hand-over; the standard-user test run covers it.
TEST_F(SetupDownloadDialogTest, NoOtherProcessOpensTheInstallerForWritingUntilItHasEnded) {
  if (!ReadOnlyFilesRefuseWriters())
    GTEST_SKIP() << "read-only files do not refuse writers here (Wine run by root): see the "
                    "standard-user run of this test";
  const std::string ended = GetTempDir() + "zu_hostile_writer.ended";
  ASSERT_TRUE(fake_installer::WriteSettings(
      m_settingsExe,
      {{"RECORD_FILE", m_recordPath}, {"DELAY_MS", "300"}, {"DONE_FILE", ended}}));
  InstallerRequest installer =
      Request(InstallerUrl("?rate=" + std::to_string(m_installerSize * 2)), "/S");  // 0.5 s
  installer.downSize = std::to_string(m_installerSize);
  const std::string writerRecord = GetTempDir() + "zu_hostile_writer.record";
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE(Format("round %d", round));
    ::DeleteFileA(writerRecord.c_str());
    ::DeleteFileA(m_recordPath.c_str());
    ::DeleteFileA(ended.c_str());
    ObservedSetupDownloadDlg dialog(installer);
    PROCESS_INFORMATION writer{};
    const INT_PTR end = Run(dialog, [&] {
      std::string path;
      if (!WaitFor([&] {
            const std::vector<std::string> folders = private_download::Folders();
            if (folders.size() == 1) path = folders[0] + "\\" + kSetupFileName;
            return !path.empty() && FileExists(path);
          }))
        return Fail("the installer file never appeared");
      std::string commandLine = "\"" + GetModuleDir() + "hostile_writer.exe\" \"" +
                                writerRecord + "\" \"" + path + "\" \"" + ended + "\"";
      STARTUPINFOA startup{};
      startup.cb = sizeof startup;
      if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &writer))
        return Fail("cannot start hostile_writer.exe");
      return NoBoxUntilEnded();
    });
    UniqueKernelHandle writerProcess(writer.hProcess);
    UniqueKernelHandle writerThread(writer.hThread);
    EXPECT_EQ(1, end);
    EXPECT_EQ("/S", fake_installer::ReadRecord(m_recordPath)["ARGUMENTS"]) << "the installer ran";
    ASSERT_TRUE(writerProcess);
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(writerProcess.get(), 10000));
    fake_installer::Record tried = fake_installer::ReadRecord(writerRecord);
    EXPECT_EQ("0", tried["OPENED"]) << "opened for writing in " << tried["ATTEMPTS"]
                                    << " tries; outcomes: " << tried["CHANGES"];
    EXPECT_GE(std::atoi(tried["ATTEMPTS"].c_str()), 100) << "it kept trying";
    EXPECT_EQ("5", tried["LAST_ERROR"]) << "refused for its access, not only its sharing";
    if (HasFailure()) break;
  }
  ::DeleteFileA(writerRecord.c_str());
  ::DeleteFileA(ended.c_str());
}

TEST_F(SetupDownloadDialogTest, CancelBeforeTheStartMessageAsksNothing) {
  struct Row {
    bool beforeTheTimer;
    const char* query;
    const char* shows;
  } rows[] = {
      {true, "", "before the start timer: nothing is requested"},
      {false, "delay=1500&", "while connecting: the server holds its answer for 1.5 s"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.shows);
    const std::string token = test_http::UniqueToken("cancel-before-start");
    ObservedSetupDownloadDlg dialog(
        Request(InstallerUrl(std::string("?") + row.query + "token=" + token)));
    dialog.m_cancelAtOnce = row.beforeTheTimer;
    int startsAtCancel = -1;
    const INT_PTR end = Run(dialog, [&] {
      if (!row.beforeTheTimer) {
        HWND window = WaitForDialog();
        if (!window) return Fail("no dialog");
        if (!WaitFor([&] { return !test_http::RecordedRequests(token).empty(); })) {
          return Fail("the request never reached the server");
        }
        startsAtCancel = dialog.m_starts;
        PressButton(window, IDCANCEL);
      }
      return NoBoxUntilEnded();
    });
    EXPECT_EQ(2, end);
    EXPECT_TRUE(dialog.Cancelled());
    if (row.beforeTheTimer) {
      EXPECT_EQ(0, dialog.m_starts);
      EXPECT_TRUE(test_http::RecordedRequests(token).empty());
    } else {
      EXPECT_EQ(0, startsAtCancel);
    }
    EXPECT_FALSE(FileExists(m_recordPath)) << "no installer run";
  }
}

TEST_F(SetupDownloadDialogTest, CancelThenNoKeepsDownloadingAndUpdatingThenInstalls) {
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl(TrickleQuery(3))));
  int positionAtQuestion = -1, positionBeforeAnswer = -1;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    if (!window) return Fail("no dialog");
    if (!WaitFor([&] { return dialog.m_progresses > 0; })) return Fail("no progress");
    PressButton(window, IDCANCEL);
    HWND box = WaitForBox();
    if (!box) return Fail("no confirmation");
    positionAtQuestion = ProgressPosition(window, IDC_DOWNLOAD_PROGRESS);
    const int progressesAtQuestion = dialog.m_progresses;
    if (!WaitFor([&] {
          return dialog.m_progresses > progressesAtQuestion + 2 &&
                 ProgressPosition(window, IDC_DOWNLOAD_PROGRESS) > positionAtQuestion;
        })) {
      return Fail("progress stopped behind the confirmation");
    }
    positionBeforeAnswer = ProgressPosition(window, IDC_DOWNLOAD_PROGRESS);
    if (dialog.m_completions != 0) return Fail("the download ended before the answer");
    PressButton(box, IDC_MD_BTN2);  // No
    return WaitGone(window);
  });
  EXPECT_GT(positionBeforeAnswer, positionAtQuestion);
  EXPECT_EQ(1, end) << "the download went on and the installer ran";
  EXPECT_FALSE(dialog.Cancelled());
  EXPECT_TRUE(FileExists(m_recordPath));
}

TEST_F(SetupDownloadDialogTest, CancelThenYesEndsCancelledAndRemovesThePartialFile) {
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl(TrickleQuery(3))));
  bool partialFileSeen = false;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    if (!window) return Fail("no dialog");
    if (!WaitFor([&] { return dialog.m_progresses > 0; })) return Fail("no progress");
    partialFileSeen = private_download::Folders().size() == 1;
    PressButton(window, IDCANCEL);
    HWND box = WaitForBox();
    if (!box) return Fail("no confirmation");
    CloseMessageBox(box);  // its first button: Yes
    return WaitGone(window);
  });
  EXPECT_EQ(2, end);
  EXPECT_TRUE(dialog.Cancelled());
  EXPECT_TRUE(partialFileSeen) << "the download was under way in its private folder";
  EXPECT_FALSE(FileExists(dialog.SetupPath())) << "nothing is left after a cancel";
  EXPECT_FALSE(FileExists(m_recordPath));
}

// The transfer's real completion is kept back until the confirmation is open and then
// delivered, so it deterministically arrives while the question is asked.
TEST_F(SetupDownloadDialogTest, CompletionDuringTheConfirmationIsHandledAfterTheAnswer) {
  struct Row {
    bool downloadSucceeds;
    bool answerYes;
    INT_PTR end;
    bool cancelled;
    bool installerRuns;
    bool errorBox;
  } rows[] = {
      {true, false, 1, false, true, false},
      {true, true, 2, true, false, false},
      {false, false, 2, false, false, true},
      {false, true, 2, true, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.downloadSucceeds ? "success" : "404") + ", answer " +
                 (row.answerYes ? "Yes" : "No"));
    ::DeleteFileA(m_recordPath.c_str());
    ObservedSetupDownloadDlg dialog(
        Request(InstallerUrl(row.downloadSucceeds ? "" : "?status=404")));
    dialog.m_holdEarlyCompletion = true;
    bool heldWhileOpen = false;
    std::string errorStatus, errorBoxText;
    const INT_PTR end = Run(dialog, [&] {
      HWND window = WaitForDialog();
      if (!window) return Fail("no dialog");
      if (!WaitFor([&] { return dialog.m_starts > 0; })) return Fail("no start");
      PressButton(window, IDCANCEL);
      HWND confirmation = WaitForBox();
      if (!confirmation) return Fail("no confirmation");
      if (!WaitFor([&] {
            dialog.DeliverKeptCompletion();
            return dialog.m_completionsWhileConfirmationOpen == 1;
          })) {
        return Fail("the completion never came");
      }
      ::Sleep(300);  // time enough to act on it, if the dialog wrongly did
      heldWhileOpen = ::IsWindow(window) && ::IsWindow(confirmation) &&
                      FindTopLevelWindows(MessageBoxesOf(m_uiThread)).size() == 1 &&
                      !FileExists(m_recordPath);
      if (row.answerYes) {
        CloseMessageBox(confirmation);
      } else {
        PressButton(confirmation, IDC_MD_BTN2);
      }
      if (!WaitFor([&] { return !::IsWindow(confirmation); })) {
        return Fail("the confirmation stayed open");
      }
      if (row.errorBox) {
        HWND errorBox = nullptr;
        if (!WaitFor([&] {
              errorBox = FindTopLevelWindow(MessageBoxesOf(m_uiThread));
              return errorBox && errorBox != confirmation;
            })) {
          return Fail("no error box");
        }
        errorBoxText = ItemText(errorBox, IDC_MD_TEXT);
        errorStatus = ItemText(window, IDC_DOWNLOAD_STATUS);
        CloseMessageBox(errorBox);
        return WaitGone(window);
      }
      return NoBoxUntilEnded();
    });
    EXPECT_TRUE(heldWhileOpen) << "nothing happened before the answer";
    EXPECT_EQ(row.end, end);
    EXPECT_EQ(row.cancelled, dialog.Cancelled());
    EXPECT_EQ(row.installerRuns, FileExists(m_recordPath));
    if (row.errorBox) {
      EXPECT_EQ(m_textTransferErrorBox, errorBoxText);
      EXPECT_EQ(m_textTransferError, errorStatus);
    }
  }
}

TEST_F(SetupDownloadDialogCp1251, NotFoundShowsTransferErrorAndTheErrorBox) {
  ASSERT_EQ(1251u, ::GetACP()) << "run with LC_ALL=ru_RU.UTF-8";
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl("?status=404")));
  std::string status, boxText;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    HWND box = WaitForBox();
    if (!window || !box) return Fail("no error box");
    status = ItemText(window, IDC_DOWNLOAD_STATUS);
    boxText = ItemText(box, IDC_MD_TEXT);
    CloseMessageBox(box);
    return WaitGone(window);
  });
  EXPECT_EQ(2, end);
  EXPECT_FALSE(dialog.Cancelled());
  EXPECT_EQ("\xce\xf8\xe8\xe1\xea\xe0 \xef\xe5\xf0\xe5\xe4\xe0\xf7\xe8 \xf4\xe0\xe9\xeb\xe0.",
            status);  // "Ошибка передачи файла."
  EXPECT_EQ(m_textTransferErrorBox, boxText);
  EXPECT_FALSE(FileExists(dialog.SetupPath())) << "nothing is left after a failure";
}

TEST_F(SetupDownloadDialogTest, RefusedConnectionEndsSilently) {
  ObservedSetupDownloadDlg dialog(Request(test_http::RefusedUrl("/fake_installer.exe")));
  const INT_PTR end = Run(dialog, [&] { return NoBoxUntilEnded(); });
  EXPECT_EQ(2, end);
  EXPECT_FALSE(dialog.Cancelled());
  EXPECT_EQ(0, dialog.m_starts);
}

TEST_F(SetupDownloadDialogTest, InstallerThatCannotStartShowsItsTextAndRemovesTheFile) {
  ObservedSetupDownloadDlg dialog(Request(test_http::Url("/bytes/4096")));  // not a program
  std::string boxText;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    HWND box = WaitForBox();
    if (!window || !box) return Fail("no box");
    boxText = ItemText(box, IDC_MD_TEXT);
    CloseMessageBox(box);
    return WaitGone(window);
  });
  EXPECT_EQ(2, end);
  EXPECT_FALSE(dialog.Cancelled());
  EXPECT_EQ(m_textCannotStart, boxText);
  EXPECT_FALSE(FileExists(dialog.SetupPath())) << "the text sends the user to the web site";
}

// The names the installer was once downloaded to, in the launcher's and in the temporary
// directory, are neither used nor in the way: a directory at the one, a foreign file at the other.
TEST_F(SetupDownloadDialogTest, OldFixedDownloadNamesAreNeitherUsedNorInTheWay) {
  const std::string launcherDirName = GetModuleDir() + kSetupFileName;
  const std::string tempDirName = GetTempDir() + kSetupFileName;
  ASSERT_TRUE(::CreateDirectoryA(launcherDirName.c_str(), nullptr)) << "a directory at that name";
  ASSERT_TRUE(WriteWholeFile(tempDirName, "someone else's file"));
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl()));
  const INT_PTR end = Run(dialog, [&] { return true; });
  ::RemoveDirectoryA(launcherDirName.c_str());
  const std::string foreignContent = ReadWholeFile(tempDirName);
  ::DeleteFileA(tempDirName.c_str());
  EXPECT_EQ(1, end);
  EXPECT_EQ(dialog.SetupPath(), fake_installer::ReadRecord(m_recordPath)["PROGRAM_PATH"]);
  EXPECT_NE(tempDirName, dialog.SetupPath());
  EXPECT_EQ("someone else's file", foreignContent) << "left as it was";
}

}  // namespace

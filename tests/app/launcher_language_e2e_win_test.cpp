// ZuLauncher.exe as its own process with LANGUAGE in its INI: the box of a request without a
// ProgramID (code 11, after the INI is read) and of a parameter that is not XML (code 1, before
// it), read from the open box and compared in UTF-8. Each group runs in its locale's code page.
#include <gtest/gtest.h>

#include "common/codepage.h"
#include "tests/app/launcher_fixture_win.h"

namespace {

using e2e::LauncherCase;
using e2e::Parameter;

struct LanguageRow {
  const char* setting;    // LANGUAGE, or null: no such key
  const char* parameter;  // null: checkversion without ProgramID
  const char* text;       // the box's text, UTF-8
  const char* caption;    // the box's caption, UTF-8
  const char* logLine;    // a line the log must hold, or null
};

std::string Utf8(const std::string& ansi) {
  std::string utf8;
  EXPECT_TRUE(AnsiToUtf8(ansi, utf8)) << ansi;
  return utf8;
}

void RunRows(const LanguageRow* rows, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const LanguageRow& row = rows[i];
    SCOPED_TRACE(row.setting ? row.setting : "(absent)");
    LauncherCase test("Language");
    std::string ini = "[GENERAL]\r\nVERSION_FILE_URL=http://127.0.0.1:9/none\r\n";
    if (row.setting) ini += std::string("LANGUAGE=") + row.setting + "\r\n";
    test.workspace.WriteFile("ZuLauncher.ini", ini);
    const LauncherOutcome outcome =
        test.workspace.Run(row.parameter ? std::string(row.parameter)
                                         : Parameter("Command='checkversion' SilentMessage='0'"));
    ASSERT_EQ(1u, outcome.boxes.size());
    EXPECT_EQ(row.text, Utf8(outcome.boxes[0].text));
    EXPECT_EQ(row.caption, Utf8(outcome.boxes[0].caption));
    if (row.logLine) {
      EXPECT_TRUE(HasLogLine(outcome, row.logLine)) << row.logLine;
    }
  }
}

constexpr char kNotXml[] = "<ZULAUNCHER_PARAM Command='run'";

TEST(LauncherLanguage, AutoTagsAndFallbacksInCodePage1252) {
  ASSERT_EQ(1252u, ::GetACP());
  const LanguageRow rows[] = {
      {"auto", nullptr, "Program ID parameter error", "ZU Launcher", "language: en"},
      {"de", nullptr, "Fehler im Parameter Programm-ID", "ZU Launcher", "language: de"},
      {"xx", nullptr, "Program ID parameter error", "ZU Launcher",
       "LANGUAGE=xx is not a language the launcher carries: English"},
      // Cyrillic has no place in 1252: English, not a box of question marks.
      {"ru", nullptr, "Program ID parameter error", "ZU Launcher",
       "language ru cannot be shown in code page 1252 (text 2): English"},
      // Refused before the INI was read: the INI's language still speaks.
      {"fr", kNotXml, "Erreur de paramètre", "ZU Launcher", nullptr},
  };
  RunRows(rows, std::size(rows));
}

TEST(LauncherLanguageCp1251, AutoInARussianLocaleIsTheStringTable) {
  ASSERT_EQ(1251u, ::GetACP());
  const LanguageRow rows[] = {
      {nullptr, nullptr, "Ошибка параметра ID программы", "ZU Launcher", nullptr},
      {"auto", nullptr, "Ошибка параметра ID программы", "ZU Launcher", "language: ru"},
      {"uk", kNotXml, "Помилка параметра", "ZU Launcher", nullptr},
  };
  RunRows(rows, std::size(rows));
}

TEST(LauncherLanguageCp949, AutoInAKoreanLocale) {
  ASSERT_EQ(949u, ::GetACP());
  const LanguageRow rows[] = {
      {"auto", nullptr, "프로그램 ID 매개 변수 오류", "ZU Launcher", "language: ko"},
  };
  RunRows(rows, std::size(rows));
}

TEST(LauncherLanguageCp932, AutoInAJapaneseLocale) {
  ASSERT_EQ(932u, ::GetACP());
  const LanguageRow rows[] = {
      {"auto", nullptr, "プログラム ID パラメーター エラー", "ZU Launcher", "language: ja"},
      // Chinese characters of the simplified script are not all in 932.
      {"zh", nullptr, "Program ID parameter error", "ZU Launcher", nullptr},
  };
  RunRows(rows, std::size(rows));
}

}  // namespace

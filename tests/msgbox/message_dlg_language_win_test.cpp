// Real boxes with a language chosen by LANGUAGE, read as a screen reader reads them, through
// the window API: the box's window text is its caption, the text control holds the message,
// the default button has the focus, and Alt with a caption's marked letter presses that button.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "msgbox/message_dlg_win.h"
#include "res/load_text.h"
#include "res/text_language.h"
#include "tests/msgbox/box_driver_win.h"

namespace {

class LanguageInUse {
 public:
  explicit LanguageInUse(const char* tag) {
    TextId lost = TextId::None;
    const LanguageTable* table = FindLanguageByTag(tag);
    used = table && UseTextLanguage(*table, lost);
  }
  ~LanguageInUse() { StopUsingTextLanguage(); }
  bool used = false;
};

// Alt+key as the keyboard gives it: the modal loop translates it into WM_SYSCHAR.
void PostAltKey(HWND target, WPARAM key) {
  ::PostMessageA(target, WM_SYSKEYDOWN, key, 0x20000001);
  ::PostMessageA(target, WM_SYSKEYUP, key, 0xE0000001);
}

struct SeenBox {
  std::string windowText, message, btn1, btn2, btn3;
  int focusedId = 0;
};

struct Row {
  const char* tag;
  UINT type;
  const char* btn1;  // in the active code page
  const char* btn2;
  const char* btn3;
  int focusedId;
  WPARAM altKey;  // the letter pressed with Alt; 0: Enter (a Cyrillic letter needs a Russian
                  // keyboard layout, which the test display does not have)
  int expected;
};

void CheckRows(const Row* rows, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Row& row = rows[i];
    SCOPED_TRACE(std::string(row.tag) + " " + std::to_string(row.type));
    LanguageInUse language(row.tag);
    ASSERT_TRUE(language.used);
    const std::string message = LoadText(TextId::ConfirmCancel);
    const std::string caption = LoadText(TextId::LauncherCaption);
    SeenBox seen;
    BoxOutcome outcome = RunBox(
        [&] { return ShowMessageDlg(nullptr, message, caption, row.type, 0, 0, nullptr, nullptr); },
        [&](HWND box, DWORD thread) {
          seen.windowText = WindowText(box);
          seen.message = ItemText(box, IDC_MD_TEXT);
          seen.btn1 = ItemText(box, IDC_MD_BTN1);
          seen.btn2 = ItemText(box, IDC_MD_BTN2);
          seen.btn3 = ItemText(box, IDC_MD_BTN3);
          HWND focus = FocusOfThread(thread);
          seen.focusedId = ::GetDlgCtrlID(focus);
          if (row.altKey) {
            PostAltKey(focus ? focus : box, row.altKey);
          } else {
            PostKey(focus ? focus : box, VK_RETURN);
          }
        });
    ASSERT_TRUE(outcome.found);
    EXPECT_EQ(caption, seen.windowText);
    EXPECT_EQ(message, seen.message);
    EXPECT_EQ(row.btn1, seen.btn1);
    EXPECT_EQ(row.btn2, seen.btn2);
    if (row.btn3) {
      EXPECT_EQ(row.btn3, seen.btn3);
    }
    EXPECT_EQ(row.focusedId, seen.focusedId);
    EXPECT_FALSE(outcome.forced) << "key " << row.altKey << " did nothing";
    EXPECT_EQ(row.expected, outcome.result);
  }
}

TEST(MessageDlgLanguage, CaptionsFocusAndAltLetterInCodePage1252) {
  ASSERT_EQ(1252u, ::GetACP());
  const Row rows[] = {
      {"de", MB_YESNO, "&Ja", "&Nein", nullptr, IDC_MD_BTN1, 'N', IDNO},
      {"de", MB_YESNOCANCEL | MB_DEFBUTTON3, "&Ja", "&Nein", "&Abbrechen", IDC_MD_BTN3, 'J', IDYES},
      {"fr", MB_OKCANCEL | MB_DEFBUTTON2, "&OK", "&Annuler", nullptr, IDC_MD_BTN2, 'O', IDOK},
      {"es", MB_YESNO | MB_DEFBUTTON2, "&S\xed", "&No", nullptr, IDC_MD_BTN2, 'S', IDYES},
      {"en", MB_OKCANCEL, "&OK", "&Cancel", nullptr, IDC_MD_BTN1, 'C', IDCANCEL},
  };
  CheckRows(rows, std::size(rows));
}

TEST(MessageDlgLanguageCp949, KoreanCaptionsMarkTheirLetters) {
  ASSERT_EQ(949u, ::GetACP());
  const Row rows[] = {
      // "예(&Y)", "아니요(&N)", "취소"
      {"ko", MB_YESNOCANCEL, "\xbf\xb9(&Y)", "\xbe\xc6\xb4\xcf\xbf\xe4(&N)", "\xc3\xeb\xbc\xd2",
       IDC_MD_BTN1, 'N', IDNO},
  };
  CheckRows(rows, std::size(rows));
}

TEST(MessageDlgLanguageCp1251, RussianCaptions) {
  ASSERT_EQ(1251u, ::GetACP());
  const Row rows[] = {
      // "&Да", "&Нет"
      {"ru", MB_YESNO, "&\xc4\xe0", "&\xcd\xe5\xf2", nullptr, IDC_MD_BTN1, 0, IDYES},
  };
  CheckRows(rows, std::size(rows));
}

}  // namespace

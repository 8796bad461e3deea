// Real boxes under Wine: the check box and its state, custom captions, and the caption
// tables chosen by the user's language (groups ...Cp949, ...Cp1251 and ...Cp932 run with the
// matching LC_ALL, which sets Wine's user language).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msgbox/message_dlg_win.h"
#include "tests/msgbox/box_driver_win.h"

namespace {

struct Captions {
  std::string btn1, btn2, btn3;
  bool visible1 = false, visible2 = false, visible3 = false;
};

Captions ReadCaptions(HWND box) {
  Captions captions;
  captions.btn1 = ItemText(box, IDC_MD_BTN1);
  captions.btn2 = ItemText(box, IDC_MD_BTN2);
  captions.btn3 = ItemText(box, IDC_MD_BTN3);
  captions.visible1 = ::IsWindowVisible(::GetDlgItem(box, IDC_MD_BTN1)) != FALSE;
  captions.visible2 = ::IsWindowVisible(::GetDlgItem(box, IDC_MD_BTN2)) != FALSE;
  captions.visible3 = ::IsWindowVisible(::GetDlgItem(box, IDC_MD_BTN3)) != FALSE;
  return captions;
}

// The captions a box of this type shows in the current user language.
Captions CaptionsOfBox(UINT type, UINT options = 0, const char* custom = nullptr) {
  Captions captions;
  BoxOutcome outcome = RunBox(
      [&] {
        return ShowMessageDlg(nullptr, "Captions", "ZU Launcher", type, options, 0, custom,
                              nullptr);
      },
      [&](HWND box, DWORD) {
        captions = ReadCaptions(box);
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  EXPECT_TRUE(outcome.found);
  EXPECT_FALSE(outcome.forced);
  return captions;
}

TEST(MessageDlgCheckBox, StateIsWrittenBackOnEveryClick) {
  int checkState = 7;
  int atStart = -1;
  std::vector<int> afterClicks;
  std::vector<LRESULT> shownChecks;
  bool visible = false;
  std::string label;
  const char* checkText = "Do not show again";
  BoxOutcome outcome = RunBox(
      [&] {
        return ShowMessageDlg(nullptr, "With a check box", "ZU Launcher", MB_OKCANCEL,
                              MDF_CHECKBOX, reinterpret_cast<LPARAM>(checkText), nullptr,
                              &checkState);
      },
      [&](HWND box, DWORD) {
        HWND check = ::GetDlgItem(box, IDC_MD_CHECK);
        visible = ::IsWindowVisible(check) != FALSE;
        label = WindowText(check);
        atStart = checkState;
        for (int click = 0; click < 3; ++click) {
          ::SendMessageA(check, BM_CLICK, 0, 0);  // returns after the box has handled it
          afterClicks.push_back(checkState);
          shownChecks.push_back(::SendMessageA(check, BM_GETCHECK, 0, 0));
        }
        ::SendMessageA(::GetDlgItem(box, IDC_MD_BTN2), BM_CLICK, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  EXPECT_TRUE(visible);
  EXPECT_EQ(checkText, label);
  EXPECT_EQ(0, atStart) << "MDF_CHECKBOX clears the caller's variable when the box is built";
  EXPECT_EQ((std::vector<int>{1, 0, 1}), afterClicks);
  EXPECT_EQ((std::vector<LRESULT>{BST_CHECKED, BST_UNCHECKED, BST_CHECKED}), shownChecks);
  EXPECT_EQ(IDCANCEL, outcome.result) << "the check box does not end the box";
  EXPECT_EQ(1, checkState);
}

TEST(MessageDlgCheckBox, CheckedOptionStartsChecked) {
  int checkState = -1;
  LRESULT shown = -1;
  int atStart = -1;
  const char* checkText = "Remember";
  BoxOutcome outcome = RunBox(
      [&] {
        return ShowMessageDlg(nullptr, "Checked", "", MB_OK, MDF_CHECKBOX_CHECKED,
                              reinterpret_cast<LPARAM>(checkText), nullptr, &checkState);
      },
      [&](HWND box, DWORD) {
        atStart = checkState;
        shown = ::SendMessageA(::GetDlgItem(box, IDC_MD_CHECK), BM_GETCHECK, 0, 0);
        ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
      });
  ASSERT_TRUE(outcome.found);
  EXPECT_EQ(1, atStart);
  EXPECT_EQ(BST_CHECKED, shown);
  EXPECT_EQ(1, checkState) << "unchanged without a click";
}

TEST(MessageDlgCheckBox, BoxesWithoutAVisibleCheckBox) {
  struct Row {
    UINT options;
    const char* checkText;
    LPARAM value;
    int expectedState;
    const char* what;
  };
  const char* empty = "";
  const Row rows[] = {
      {MDF_CHECKBOX_CHECKED, empty, 0, 1, "empty text: no check box, the state still set"},
      {MDF_CHECKBOX, nullptr, 0, 0, "null text pointer: no check box, no crash"},
      {MDF_COUNTDOWN | MDF_CHECKBOX_CHECKED, nullptr, 1, 0,
       "countdown beside a check box: the value is seconds, the check box is dropped"},
  };
  for (const Row& row : rows) {
    int checkState = -5;
    bool visible = true;
    const LPARAM value = row.checkText ? reinterpret_cast<LPARAM>(row.checkText) : row.value;
    BoxOutcome outcome = RunBox(
        [&] {
          return ShowMessageDlg(nullptr, "No check box", "ZU Launcher", MB_OK, row.options, value,
                                nullptr, &checkState);
        },
        [&](HWND box, DWORD) {
          visible = ::IsWindowVisible(::GetDlgItem(box, IDC_MD_CHECK)) != FALSE;
          if (!(row.options & MDF_COUNTDOWN)) ::PostMessageA(box, WM_ZMESSAGEBOX_CLOSE, 0, 0);
        });
    ASSERT_TRUE(outcome.found) << row.what;
    EXPECT_FALSE(outcome.forced) << row.what;
    EXPECT_FALSE(visible) << row.what;
    EXPECT_EQ(row.expectedState, checkState) << row.what;
    EXPECT_EQ(IDOK, outcome.result) << row.what;
  }
}

TEST(MessageDlgCaptions, CustomCaptionsSplitAtCommas) {
  const Captions twoWords = CaptionsOfBox(MB_YESNOCANCEL, MDF_CUSTOMCAPTIONS, "Save,,Discard");
  EXPECT_EQ("Save", twoWords.btn1);
  EXPECT_EQ("Discard", twoWords.btn2);
  EXPECT_EQ("", twoWords.btn3);
  EXPECT_TRUE(twoWords.visible1 && twoWords.visible2);

  const Captions one = CaptionsOfBox(MB_YESNO, MDF_CUSTOMCAPTIONS, "Only one");
  EXPECT_EQ("Only one", one.btn1);
  EXPECT_EQ("", one.btn2);
}

TEST(MessageDlgCaptions, CustomCaptionsFlagWithoutCaptionsKeepsTheLanguagesCaptions) {
  const Captions captions = CaptionsOfBox(MB_YESNO, MDF_CUSTOMCAPTIONS, nullptr);
  EXPECT_EQ("&Yes", captions.btn1);
  EXPECT_EQ("&No", captions.btn2);
}

TEST(MessageDlgCaptions, EnglishUserSeesTheThirdTable) {
  ASSERT_EQ(0x0409, ::GetUserDefaultLangID()) << "run with LC_ALL=en_US.UTF-8";
  const Captions okCancel = CaptionsOfBox(MB_OKCANCEL);
  EXPECT_EQ("&OK", okCancel.btn1);
  EXPECT_EQ("&Cancel", okCancel.btn2);
  EXPECT_FALSE(okCancel.visible3);
  const Captions yesNoCancel = CaptionsOfBox(MB_YESNOCANCEL);
  EXPECT_EQ("&Yes", yesNoCancel.btn1);
  EXPECT_EQ("&No", yesNoCancel.btn2);
  EXPECT_EQ("&Cancel", yesNoCancel.btn3);
  EXPECT_TRUE(yesNoCancel.visible3);
}

TEST(MessageDlgCaptionsCp949, KoreanUserSeesKoreanCaptions) {
  ASSERT_EQ(0x0412, ::GetUserDefaultLangID()) << "run with LC_ALL=ko_KR.UTF-8";
  const Captions yesNo = CaptionsOfBox(MB_YESNO);
  EXPECT_EQ("\xbf\xb9", yesNo.btn1);                       // "예"
  EXPECT_EQ("\xbe\xc6\xb4\xcf\xbf\xe4", yesNo.btn2);       // "아니요"
  const Captions okCancel = CaptionsOfBox(MB_OKCANCEL);
  EXPECT_EQ("\xc8\xae\xc0\xce", okCancel.btn1);            // "확인"
  EXPECT_EQ("\xc3\xeb\xbc\xd2", okCancel.btn2);            // "취소"
  const Captions custom =
      CaptionsOfBox(MB_YESNO, MDF_CUSTOMCAPTIONS, "\xc0\xfa\xc0\xe5,\xc3\xeb\xbc\xd2");
  EXPECT_EQ("\xc0\xfa\xc0\xe5", custom.btn1);              // "저장"
  EXPECT_EQ("\xc3\xeb\xbc\xd2", custom.btn2);
}

TEST(MessageDlgCaptionsCp1251, RussianUserSeesTheThirdTable) {
  ASSERT_EQ(0x0419, ::GetUserDefaultLangID()) << "run with LC_ALL=ru_RU.UTF-8";
  const Captions yesNo = CaptionsOfBox(MB_YESNO);
  EXPECT_EQ("&Yes", yesNo.btn1);
  EXPECT_EQ("&No", yesNo.btn2);
}

TEST(MessageDlgCaptionsCp932, JapaneseUserSeesJapaneseCaptions) {
  ASSERT_EQ(0x0411, ::GetUserDefaultLangID()) << "run with LC_ALL=ja_JP.UTF-8";
  const Captions yesNoCancel = CaptionsOfBox(MB_YESNOCANCEL);
  EXPECT_EQ("\x82\xcd\x82\xa2", yesNoCancel.btn1);                          // "はい"
  EXPECT_EQ("\x82\xa2\x82\xa2\x82\xa6", yesNoCancel.btn2);                  // "いいえ"
  EXPECT_EQ("\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b", yesNoCancel.btn3);  // "キャンセル"
  const Captions ok = CaptionsOfBox(MB_OK);
  EXPECT_EQ("OK", ok.btn1);
}

}  // namespace

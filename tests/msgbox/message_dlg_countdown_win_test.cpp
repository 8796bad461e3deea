// Real boxes under Wine: the countdown shows the seconds left and presses the default button.
#include <windows.h>

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "msgbox/message_dlg_win.h"
#include "tests/msgbox/box_driver_win.h"

namespace {

// Every distinct text the box's text control shows until the box closes.
std::vector<std::string> WatchText(HWND box) {
  std::vector<std::string> seen;
  HWND text = ::GetDlgItem(box, IDC_MD_TEXT);
  for (;;) {
    const std::string now = WindowText(text);
    // A text read while the box was being destroyed is not one it showed.
    if (!::IsWindow(text) || !::IsWindow(box)) break;
    if (seen.empty() || seen.back() != now) seen.push_back(now);
    ::Sleep(20);
  }
  return seen;
}

TEST(MessageDlgCountdown, TextShowsFiveToOneThenTheDefaultButtonAnswers) {
  std::vector<std::string> seen;
  BoxOutcome outcome = RunBox(
      [] {
        return ShowPlainBox("Closing in %d s", MB_YESNO | MB_DEFBUTTON2, MDF_COUNTDOWN, 5);
      },
      [&](HWND box, DWORD) { seen = WatchText(box); }, 8000);
  ASSERT_TRUE(outcome.found);
  EXPECT_FALSE(outcome.forced);
  EXPECT_EQ(IDNO, outcome.result);
  const std::vector<std::string> expected = {"Closing in 5 s", "Closing in 4 s", "Closing in 3 s",
                                             "Closing in 2 s", "Closing in 1 s"};
  EXPECT_EQ(expected, seen);
  EXPECT_GE(outcome.openMs, 4000u) << "five ticks of one second";
}

TEST(MessageDlgCountdown, TextWithoutConversionStaysAndTheBoxClosesWithOk) {
  std::vector<std::string> seen;
  BoxOutcome outcome = RunBox(
      [] { return ShowPlainBox("No number here", MB_OK, MDF_COUNTDOWN, 5); },
      [&](HWND box, DWORD) { seen = WatchText(box); }, 8000);
  ASSERT_TRUE(outcome.found);
  EXPECT_FALSE(outcome.forced);
  EXPECT_EQ(IDOK, outcome.result);
  EXPECT_EQ(std::vector<std::string>{"No number here"}, seen);
  EXPECT_GE(outcome.openMs, 4000u);
}

TEST(MessageDlgCountdown, ZeroOrNegativeSecondsCloseAtTheFirstTick) {
  for (int seconds : {0, -3, INT_MIN}) {
    std::string shown;
    BoxOutcome outcome = RunBox(
        [&] { return ShowPlainBox("Gone in %d", MB_YESNOCANCEL | MB_DEFBUTTON3, MDF_COUNTDOWN, seconds); },
        [&](HWND box, DWORD) { shown = ItemText(box, IDC_MD_TEXT); }, 3000);
    ASSERT_TRUE(outcome.found);
    EXPECT_FALSE(outcome.forced) << seconds;
    EXPECT_EQ(IDCANCEL, outcome.result) << "BTN3 is the default";
    EXPECT_EQ("Gone in " + std::to_string(seconds), shown);
  }
}

TEST(MessageDlgCountdown, HostileFormatsAreShownAsTheyStand) {
  const char* const texts[] = {"%s%s%s%s%n", "100% sure %d", "%d of %d", "%x %p %f", "%"};
  for (const char* text : texts) {
    std::string shown;
    BoxOutcome outcome = RunBox([&] { return ShowPlainBox(text, MB_OK, MDF_COUNTDOWN, 1); },
                                [&](HWND box, DWORD) { shown = ItemText(box, IDC_MD_TEXT); },
                                3000);
    ASSERT_TRUE(outcome.found) << text;
    EXPECT_FALSE(outcome.forced) << text;
    EXPECT_EQ(IDOK, outcome.result) << text;
    EXPECT_EQ(text, shown);
  }
}

TEST(MessageDlgCountdown, NoButtonsBoxClosesByItself) {
  BoxOutcome outcome = RunBox(
      [] {
        return ShowPlainBox("Please wait %d", MB_YESNO | MB_DEFBUTTON2,
                            MDF_COUNTDOWN | MDF_NOBUTTONS, 1);
      },
      [](HWND box, DWORD) { PressButton(box, IDC_MD_BTN1); }, 3000);
  ASSERT_TRUE(outcome.found);
  EXPECT_FALSE(outcome.forced);
  EXPECT_EQ(IDNO, outcome.result) << "the click was ignored; the countdown pressed BTN2";
}

TEST(MessageDlgCountdown, FirstEndingWinsOverLaterOnes) {
  // A click, the close message and a last countdown tick all queued as sent messages: the box
  // handles them in one wait of its modal loop, before the loop sees that the box has ended.
  // The click came first, so its answer stands.
  BoxOutcome outcome = RunBox(
      [] { return ShowPlainBox("%d", MB_YESNO | MB_DEFBUTTON2, MDF_COUNTDOWN, 1); },
      [](HWND box, DWORD) {
        ::SendNotifyMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_MD_BTN1, BN_CLICKED), 0);
        ::SendNotifyMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_MD_BTN2, BN_CLICKED), 0);
        ::SendNotifyMessageA(box, WM_TIMER, IDT_MD_COUNTDOWN, 0);
      });
  ASSERT_TRUE(outcome.found);
  EXPECT_EQ(IDYES, outcome.result);
}

}  // namespace

// The download dialog in a language chosen by LANGUAGE: its title and Cancel button (dialog 129
// is written in Russian) and the confirmation over it, read from the open windows.
#include <gtest/gtest.h>

#include "res/text_language.h"
#include "tests/installer/setup_dialog_fixture_win.h"

namespace {

class SetupDownloadDialogLanguage : public SetupDownloadDialogTest {
 protected:
  void TearDown() override {
    StopUsingTextLanguage();
    SetupDownloadDialogTest::TearDown();  // its settings file must not outlive the test
  }

  void Use(const char* tag) {
    TextId lost = TextId::None;
    ASSERT_TRUE(UseTextLanguage(*FindLanguageByTag(tag), lost)) << TextNumber(lost);
  }
};

TEST_F(SetupDownloadDialogLanguage, GermanTitleButtonAndConfirmation) {
  ASSERT_EQ(1252u, ::GetACP());
  Use("de");
  ObservedSetupDownloadDlg dialog(Request(InstallerUrl(TrickleQuery(3))));
  std::string title, cancel, question, yes, no;
  const INT_PTR end = Run(dialog, [&] {
    HWND window = WaitForDialog();
    if (!window) return Fail("no dialog");
    title = WindowText(window);
    cancel = ItemText(window, IDCANCEL);
    if (!WaitFor([&] { return dialog.m_progresses > 0; })) return Fail("no progress");
    PressButton(window, IDCANCEL);
    HWND box = WaitForBox();
    if (!box) return Fail("no confirmation");
    question = ItemText(box, IDC_MD_TEXT);
    yes = ItemText(box, IDC_MD_BTN1);
    no = ItemText(box, IDC_MD_BTN2);
    PressButton(box, IDC_MD_BTN1);
    return WaitGone(window);
  });
  EXPECT_EQ("", m_failure);
  EXPECT_EQ(CSetupDownloadDlg::kEndFailed, end);
  EXPECT_TRUE(dialog.Cancelled());
  EXPECT_EQ("Installationsdatei wird heruntergeladen", title);
  EXPECT_EQ("Abbrechen", cancel);
  EXPECT_EQ("Download abbrechen?", question);
  EXPECT_EQ("&Ja", yes);
  EXPECT_EQ("&Nein", no);
}

}  // namespace

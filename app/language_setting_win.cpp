#include "app/language_setting_win.h"

#include <windows.h>

#include <string>

#include "common/codepage.h"
#include "env/log.h"
#include "res/language_table.h"
#include "res/text_language.h"

void ApplyLanguageSetting(const IniDocument& launcherIni) {
  const std::string setting = launcherIni.GetValue("GENERAL", "LANGUAGE", "");
  const LanguageChoice choice = ChooseLanguage(setting, ::GetUserDefaultUILanguage());
  if (!choice.table) return;
  if (choice.unknownSetting)
    LogLine("LANGUAGE=%s is not a language the launcher carries: English", setting.c_str());
  TextId lostId = TextId::None;
  if (UseTextLanguage(*choice.table, lostId)) {
    LogLine("language: %s", choice.table->tag);
    return;
  }
  LogLine("language %s cannot be shown in code page %u (text %d): English", choice.table->tag,
          ActiveCodePage(), TextNumber(lostId));
  UseTextLanguage(EnglishLanguage(), lostId);  // ASCII: every code page holds it
}

#include "msgbox/button_captions.h"

#include <vector>

#include "common/text.h"
#include "msgbox/message_dlg_options.h"
#include "res/text_language.h"

namespace {

// Code page 949 bytes: "확인", "취소", "중지", "재시도", "무시", "예", "아니요".
const char* const kKoreanCaptions[8] = {
    "",
    "\xc8\xae\xc0\xce",
    "\xc3\xeb\xbc\xd2",
    "\xc1\xdf\xc1\xf6",
    "\xc0\xe7\xbd\xc3\xb5\xb5",
    "\xb9\xab\xbd\xc3",
    "\xbf\xb9",
    "\xbe\xc6\xb4\xcf\xbf\xe4",
};

// Code page 932 bytes: "OK", "キャンセル", "Abort", "Retry", "Ignore", "はい", "いいえ".
const char* const kJapaneseCaptions[8] = {
    "",
    "OK",
    "\x83\x4c\x83\x83\x83\x93\x83\x5a\x83\x8b",
    "Abort",
    "Retry",
    "Ignore",
    "\x82\xcd\x82\xa2",
    "\x82\xa2\x82\xa2\x82\xa6",
};

const char* const kOtherCaptions[8] = {
    "", "&OK", "&Cancel", "&Abort", "&Retry", "&Ignore", "&Yes", "&No",
};

}  // namespace

const char* const* CaptionTableForLanguage(unsigned short languageId) {
  if (languageId == kLanguageKorean) return kKoreanCaptions;
  if (languageId == kLanguageJapanese) return kJapaneseCaptions;
  return kOtherCaptions;
}

ButtonCaptions CaptionsForButtonSet(int buttonSet, unsigned short languageId) {
  return CaptionsFromTable(buttonSet, CaptionTableForLanguage(languageId));
}

ButtonCaptions CaptionsFromTable(int buttonSet, const char* const* table) {
  switch (buttonSet) {
    case kButtonSetOk:
      return {table[kResultOk], "", ""};
    case kButtonSetOkCancel:
      return {table[kResultOk], table[kResultCancel], ""};
    case kButtonSetYesNo:
      return {table[kResultYes], table[kResultNo], ""};
    case kButtonSetYesNoCancel:
      return {table[kResultYes], table[kResultNo], table[kResultCancel]};
    default:
      return {};
  }
}

bool CaptionsOfLanguageInUse(int buttonSet, ButtonCaptions& captions) {
  if (!TextLanguageInUse()) return false;
  auto caption = [](TextId id) {
    const std::string* text = TextInUse(id);
    return text ? text->c_str() : "";
  };
  // Abort, Retry and Ignore are never shown: no button set uses them.
  const char* const table[8] = {
      "", caption(TextId::OkCaption),  caption(TextId::CancelCaption), "", "",
      "", caption(TextId::YesCaption), caption(TextId::NoCaption),
  };
  captions = CaptionsFromTable(buttonSet, table);
  return true;
}

ButtonCaptions SplitCustomCaptions(const std::string& captions) {
  ButtonCaptions result;
  std::vector<std::string> tokens = Tokenize(captions, ",");
  for (size_t i = 0; i < result.size() && i < tokens.size(); ++i) result[i] = tokens[i];
  return result;
}

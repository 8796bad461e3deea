#include "res/text_language.h"

#include <utility>
#include <vector>

#include "common/codepage.h"

namespace {

struct TextInCodePage {
  TextId id;
  std::string ansi;
};

const LanguageTable* g_languageInUse = nullptr;
std::vector<TextInCodePage> g_textsInUse;

// True when `utf8` has an exact equivalent in the active code page: the system conversion
// puts '?' for a missing character and a best-fit look-alike ('l' for 'ł') where it has one,
// and either shows in the way back.
bool ConvertExactly(const char* utf8, std::string& ansi) {
  std::string back;
  return Utf8ToAnsi(utf8, ansi) && AnsiToUtf8(ansi, back) && back == utf8;
}

}  // namespace

bool UseTextLanguage(const LanguageTable& table, TextId& lostId) {
  std::vector<TextInCodePage> texts;
  texts.reserve(table.count);
  for (size_t i = 0; i < table.count; ++i) {
    TextInCodePage text{table.texts[i].id, std::string()};
    if (!ConvertExactly(table.texts[i].utf8, text.ansi)) {
      lostId = text.id;
      return false;
    }
    texts.push_back(std::move(text));
  }
  g_textsInUse.swap(texts);
  g_languageInUse = &table;
  return true;
}

const LanguageTable* TextLanguageInUse() {
  return g_languageInUse;
}

const std::string* TextInUse(TextId id) {
  if (!g_languageInUse) return nullptr;
  for (const TextInCodePage& text : g_textsInUse) {
    if (text.id == id) return &text.ansi;
  }
  return nullptr;
}

void StopUsingTextLanguage() {
  g_languageInUse = nullptr;
  g_textsInUse.clear();
}

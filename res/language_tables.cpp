#include <cctype>
#include <iterator>

#include "res/language_table.h"

// A language is added with its file in res/languages/ and three lines here: its texts, its
// table (tag, primary language id, ANSI code page) and its row in kCarriedLanguages.
namespace {

// clang-format off
const LanguageText kEnglishTexts[] = {
#include "res/languages/en.inc"
};
const LanguageText kRussianTexts[] = {
#include "res/languages/ru.inc"
};
const LanguageText kUkrainianTexts[] = {
#include "res/languages/uk.inc"
};
const LanguageText kGermanTexts[] = {
#include "res/languages/de.inc"
};
const LanguageText kFrenchTexts[] = {
#include "res/languages/fr.inc"
};
const LanguageText kSpanishTexts[] = {
#include "res/languages/es.inc"
};
const LanguageText kPortugueseTexts[] = {
#include "res/languages/pt.inc"
};
const LanguageText kItalianTexts[] = {
#include "res/languages/it.inc"
};
const LanguageText kPolishTexts[] = {
#include "res/languages/pl.inc"
};
const LanguageText kTurkishTexts[] = {
#include "res/languages/tr.inc"
};
const LanguageText kKoreanTexts[] = {
#include "res/languages/ko.inc"
};
const LanguageText kJapaneseTexts[] = {
#include "res/languages/ja.inc"
};
const LanguageText kChineseTexts[] = {
#include "res/languages/zh.inc"
};
// clang-format on

#define ZU_LANGUAGE(name, tag, primary, codePage) \
  const LanguageTable name = {tag, primary, codePage, name##Texts, std::size(name##Texts)}

ZU_LANGUAGE(kEnglish, "en", 0x09, 1252);
ZU_LANGUAGE(kRussian, "ru", 0x19, 1251);
ZU_LANGUAGE(kUkrainian, "uk", 0x22, 1251);
ZU_LANGUAGE(kGerman, "de", 0x07, 1252);
ZU_LANGUAGE(kFrench, "fr", 0x0C, 1252);
ZU_LANGUAGE(kSpanish, "es", 0x0A, 1252);
ZU_LANGUAGE(kPortuguese, "pt", 0x16, 1252);
ZU_LANGUAGE(kItalian, "it", 0x10, 1252);
ZU_LANGUAGE(kPolish, "pl", 0x15, 1250);
ZU_LANGUAGE(kTurkish, "tr", 0x1F, 1254);
ZU_LANGUAGE(kKorean, "ko", 0x12, 949);
ZU_LANGUAGE(kJapanese, "ja", 0x11, 932);
ZU_LANGUAGE(kChinese, "zh", 0x04, 936);
#undef ZU_LANGUAGE

constexpr unsigned short kPrimaryChinese = 0x04;
constexpr unsigned short kSublanguageChinaSimplified = 0x02;      // zh-CN
constexpr unsigned short kSublanguageSingaporeSimplified = 0x04;  // zh-SG

bool EqualsAsciiNoCase(const std::string& a, const char* b) {
  size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  }
  return i == a.size() && !b[i];
}

std::string TrimBlanks(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

const LanguageTable* const kCarriedLanguages[] = {
    &kEnglish, &kRussian, &kUkrainian, &kGerman, &kFrench,   &kSpanish, &kPortuguese,
    &kItalian, &kPolish,  &kTurkish,   &kKorean, &kJapanese, &kChinese,
};
const size_t kCarriedLanguageCount = std::size(kCarriedLanguages);

const LanguageTable& EnglishLanguage() {
  return kEnglish;
}

const LanguageTable* FindLanguageByTag(const std::string& tag) {
  for (const LanguageTable* table : kCarriedLanguages) {
    if (EqualsAsciiNoCase(tag, table->tag)) return table;
  }
  return nullptr;
}

const LanguageTable* FindLanguageByUiLanguage(unsigned short languageId) {
  const unsigned short primary = languageId & 0x3FF;
  const unsigned short sublanguage = languageId >> 10;
  if (primary == kPrimaryChinese && sublanguage != kSublanguageChinaSimplified &&
      sublanguage != kSublanguageSingaporeSimplified)
    return nullptr;  // Taiwan, Hong Kong, Macao: traditional script
  for (const LanguageTable* table : kCarriedLanguages) {
    if (table->primaryLanguage == primary) return table;
  }
  return nullptr;
}

const char* FindLanguageText(const LanguageTable& table, TextId id) {
  for (size_t i = 0; i < table.count; ++i) {
    if (table.texts[i].id == id) return table.texts[i].utf8;
  }
  return nullptr;
}

LanguageChoice ChooseLanguage(const std::string& setting, unsigned short uiLanguageId) {
  LanguageChoice choice;
  const std::string value = TrimBlanks(setting);
  if (value.empty()) return choice;
  if (EqualsAsciiNoCase(value, "auto")) {
    choice.table = FindLanguageByUiLanguage(uiLanguageId);
  } else {
    choice.table = FindLanguageByTag(value);
    choice.unknownSetting = choice.table == nullptr;
  }
  if (!choice.table) choice.table = &kEnglish;
  return choice;
}

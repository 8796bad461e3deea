// The languages the launcher carries besides its string table: one file per language in
// res/languages/ (UTF-8), each holding every text id of the string table and the interface
// texts of text_id.h. LANGUAGE in [GENERAL] of the launcher INI chooses one; without it the
// string table speaks, as it always has. Portable.
#pragma once

#include <cstddef>
#include <string>

#include "res/text_id.h"

struct LanguageText {
  TextId id;
  const char* utf8;
};

struct LanguageTable {
  const char* tag;                 // "de": what LANGUAGE names it by
  unsigned short primaryLanguage;  // the primary language id of Windows (LANG_GERMAN, 0x07)
  unsigned ansiCodePage;           // the ANSI code page of its users (German: 1252)
  const LanguageText* texts;
  size_t count;
};

// Every language carried, English first.
extern const LanguageTable* const kCarriedLanguages[];
extern const size_t kCarriedLanguageCount;

const LanguageTable& EnglishLanguage();

// The carried language of a tag (ASCII letters in either case), or null.
const LanguageTable* FindLanguageByTag(const std::string& tag);
// The carried language of a Windows language id (GetUserDefaultUILanguage), or null. Chinese
// counts only in its simplified script (China, Singapore): the table is written in it.
const LanguageTable* FindLanguageByUiLanguage(unsigned short languageId);

// The UTF-8 text of `id` in `table`, or null when the table lacks it.
const char* FindLanguageText(const LanguageTable& table, TextId id);

// What LANGUAGE asks for. `table` null: the setting is absent or empty and the string table
// speaks. "auto": the user's interface language when carried, else English. A tag: its table;
// an unknown value gives English with `unknownSetting` set, so the caller can log it.
struct LanguageChoice {
  const LanguageTable* table = nullptr;
  bool unknownSetting = false;
};
LanguageChoice ChooseLanguage(const std::string& setting, unsigned short uiLanguageId);

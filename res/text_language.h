// The language in use for the process: the chosen table converted once into the active ANSI
// code page. Until one is used (no LANGUAGE), LoadText reads the string table and the message
// box takes its button captions from its built-in tables. Portable; set on the user-interface
// thread before the first text is shown, read there afterwards.
#pragma once

#include <string>

#include "res/language_table.h"

// Converts every text of `table` into the active code page and makes it the language in use.
// A text that the code page cannot represent (the round trip back to UTF-8 differs) leaves
// the language in use as it was: false, with `lostId` naming the first such text.
bool UseTextLanguage(const LanguageTable& table, TextId& lostId);

// The language in use, or null.
const LanguageTable* TextLanguageInUse();

// The text of `id` in the language in use, in the active code page; null when no language is
// in use or it lacks the id.
const std::string* TextInUse(TextId id);

// Back to no language (tests).
void StopUsingTextLanguage();

// Button captions of the message box: the built-in tables chosen by the user's language,
// and the caller's comma-separated custom captions. Texts are narrow, in the code page of
// their language (Korean 949, Japanese 932). Portable.
#pragma once

#include <array>
#include <string>

using ButtonCaptions = std::array<std::string, 3>;  // BTN1, BTN2, BTN3

constexpr unsigned short kLanguageKorean = 0x0412;
constexpr unsigned short kLanguageJapanese = 0x0411;

// The caption table of a user default language id: eight texts indexed by dialog result
// (IDOK = 1 ... IDNO = 7; index 0 is empty). Korean and Japanese have tables of their own;
// every other language gets the third one.
const char* const* CaptionTableForLanguage(unsigned short languageId);

// Captions of the button set's buttons from the language's table; sets without a table
// entry get three empty captions.
ButtonCaptions CaptionsForButtonSet(int buttonSet, unsigned short languageId);
// The same from any eight-text table indexed by dialog result.
ButtonCaptions CaptionsFromTable(int buttonSet, const char* const* table);

// With a language chosen by LANGUAGE (res/text_language.h): its OK, Cancel, Yes and No
// captions for the button set, in the active code page. False when no language is in use.
bool CaptionsOfLanguageInUse(int buttonSet, ButtonCaptions& captions);

// Splits the caller's captions at commas (a comma inside a double-byte character of the
// active code page does not split; empty tokens are dropped; blanks stay). BTN1..BTN3 take
// the first three tokens; missing ones are empty, further ones are ignored.
ButtonCaptions SplitCustomCaptions(const std::string& captions);

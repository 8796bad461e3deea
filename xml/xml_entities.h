// The five character entities of the XML parameter parser. Portable.
#pragma once

#include <string>

// Decodes one token, left to right: "&&" gives "&" (two bytes consumed), then "&amp;",
// "&gt;", "&lt;", "&quot;" and "&apos;" give their character; any other "&" stays as it is.
// Numeric character references are not known.
std::string DecodeEntities(const std::string& token);

// The second pass over an assembled text run: replaces every "&amp;", "&gt;", "&lt;",
// "&quot;" and "&apos;", in that order, each pattern across the whole text.
void ReplaceTextEntities(std::string& text);

// A version file as zupublish edits it: the text of a narrow file as it stands, or the text
// of a UTF-16LE file (with its FF FE mark) as UTF-8, turned back into UTF-16LE on writing.
// Either way the bytes written back are the bytes read, apart from the edits.
#pragma once

#include <string>

struct VersionText {
  bool utf16 = false;
  std::string text;  // narrow as read, or UTF-8 for a UTF-16LE file (without the mark)
};

// False for UTF-16LE text that is not well-formed (an odd length, a lone surrogate).
bool DecodeVersionText(const std::string& bytes, VersionText& version);

// The file bytes of `text` in `version`'s encoding; a UTF-16LE file gets its mark only
// when `withMark` (the start of a file, not an appended part).
std::string EncodeVersionText(const VersionText& version, const std::string& text, bool withMark);

// Changing one key of an INI text while every other byte stays as it was, for the vendor's
// tool that stamps and signs version files. Lines, sections and keys are recognised as the
// INI document reader recognises them. Portable.
#pragma once

#include <string>

// Sets `key` in section `section` (both compared without regard to case). The first entry
// with that key keeps its line up to and including its "=" and its line ending; only the
// value between changes. Without such an entry a line "key=value" is added after the last
// entry of the first section of that name (or after its header), with the line ending the
// text uses most. False, with `text` untouched, when there is no such section.
bool SetIniValue(std::string& text, const std::string& section, const std::string& key,
                 const std::string& value);

// "\r\n" when the first line of `text` ends so, otherwise "\n".
std::string LineEndingOf(const std::string& text);

// The text of a countdown box: the caller's text is a format with one "%d" for the seconds
// left. Only a text whose conversions are exactly one "%d" (with any number of "%%"
// escapes) is formatted; every other text, whatever it holds, is shown as it stands.
// Portable.
#pragma once

#include <string>

// True when the text's only conversion is one "%d" ("%%" escapes aside).
bool IsCountdownFormat(const std::string& text);

// The text to show with `seconds` left: the format filled in when IsCountdownFormat,
// otherwise the text unchanged.
std::string CountdownText(const std::string& text, int seconds);

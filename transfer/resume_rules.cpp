#include "transfer/resume_rules.h"

#include <cstring>

#include "common/text.h"

namespace {

bool IsBlank(char ch) {
  return ch == ' ' || ch == '\t';
}

char Lower(char ch) {
  return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// True when the comma-separated list holds `token`, case ignored.
bool ListHasToken(const std::string& list, const std::string& token) {
  size_t position = 0;
  while (position <= list.size()) {
    size_t end = list.find(',', position);
    if (end == std::string::npos) end = list.size();
    size_t first = position;
    size_t last = end;
    while (first < last && IsBlank(list[first])) ++first;
    while (last > first && IsBlank(list[last - 1])) --last;
    if (EqualsNoCase(list.substr(first, last - first), token)) return true;
    position = end + 1;
  }
  return false;
}

// Reads decimal digits at `text`; -1 when there are none or they overflow 63 bits.
int64_t ReadNumber(const char*& text) {
  if (*text < '0' || *text > '9') return -1;
  int64_t value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    if (value > (INT64_MAX - (*text - '0')) / 10) return -1;
    value = value * 10 + (*text - '0');
  }
  return value;
}

// Parses "bytes FIRST-LAST/TOTAL" (TOTAL may be "*"); false when it is not of that shape.
bool ParseContentRange(const char* text, int64_t& first, int64_t& total) {
  if (!text) return false;
  while (IsBlank(*text)) ++text;
  for (const char* unit = "bytes"; *unit; ++unit, ++text) {
    if (Lower(*text) != *unit) return false;
  }
  if (!IsBlank(*text)) return false;
  while (IsBlank(*text)) ++text;
  first = ReadNumber(text);
  if (first < 0 || *text++ != '-') return false;
  const int64_t last = ReadNumber(text);
  if (last < first || *text++ != '/') return false;
  if (*text == '*') {
    total = -1;
    return true;
  }
  total = ReadNumber(text);
  return total > last;
}

}  // namespace

std::string ResumeValidator(const std::string& acceptRanges, const std::string& etag,
                            const std::string& lastModified) {
  if (!ListHasToken(acceptRanges, "bytes")) return std::string();
  if (!etag.empty() && etag.compare(0, 2, "W/") != 0) return etag;
  return lastModified;
}

std::string ResumeRequestHeaders(const std::string& extraHeaders, int64_t offset,
                                 const std::string& validator) {
  std::string headers = extraHeaders;
  if (!headers.empty() && headers.back() != '\n') headers += "\r\n";
  headers += "Range: bytes=" + std::to_string(offset) + "-\r\n";
  headers += "If-Range: " + validator + "\r\n";
  return headers;
}

ResumedAnswer JudgeResumedAnswer(const char* statusText, const char* contentRange, int64_t offset) {
  if (!statusText) return ResumedAnswer::Refuse;
  if (std::strcmp(statusText, "200") == 0) return ResumedAnswer::Restart;
  if (std::strcmp(statusText, "206") == 0 && ContentRangeFirst(contentRange) == offset) {
    return ResumedAnswer::Continue;
  }
  return ResumedAnswer::Refuse;
}

int64_t ContentRangeFirst(const char* contentRange) {
  int64_t first = -1;
  int64_t total = -1;
  return ParseContentRange(contentRange, first, total) ? first : -1;
}

int64_t ContentRangeTotal(const char* contentRange) {
  int64_t first = -1;
  int64_t total = -1;
  return ParseContentRange(contentRange, first, total) ? total : -1;
}

int64_t ExpectedEndAfterResume(int64_t offset, int contentLength, const char* contentRange) {
  if (contentLength >= 0) return offset + contentLength;
  return ContentRangeTotal(contentRange);
}

// The code-page layer of the native build: a settable code page, lead bytes from the
// code pages' published ranges, conversions through iconv.
#ifndef _WIN32

#include <errno.h>
#include <iconv.h>

#include <string>

#include "common/codepage.h"
#include "common/unicode.h"

namespace {

unsigned g_activeCodePage = 1252;

std::string IconvName(unsigned codePage) {
  if (codePage == 65001) return "UTF-8";
  return "CP" + std::to_string(codePage);
}

class Converter {
 public:
  Converter(const std::string& to, const std::string& from)
      : m_handle(iconv_open(to.c_str(), from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(m_handle);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return m_handle != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return m_handle; }

 private:
  iconv_t m_handle;
};

// Runs the whole input through iconv. A sequence the target lacks becomes '?' and the
// converter skips `illegalStride` input bytes; with a stride of 0 it fails the conversion.
bool Convert(const Converter& converter, std::string input, size_t illegalStride,
             std::string& output) {
  output.clear();
  char* in = input.data();
  size_t inLeft = input.size();
  char buffer[4096];
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    size_t result = iconv(converter.get(), &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<size_t>(out - buffer));
    if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
    if (errno != EILSEQ || illegalStride == 0 || inLeft < illegalStride) return false;
    output += '?';
    in += illegalStride;
    inLeft -= illegalStride;
  }
  char* out = buffer;
  size_t outLeft = sizeof buffer;
  iconv(converter.get(), nullptr, nullptr, &out, &outLeft);
  output.append(buffer, static_cast<size_t>(out - buffer));
  return true;
}

// Encodes code points into the active code page; a code point the code page lacks becomes
// '?', as the system conversion without a default character gives.
bool EncodeToActiveCodePage(const std::u32string& codePoints, std::string& ansi) {
  Converter converter(IconvName(g_activeCodePage), "UTF-32LE");
  if (!converter.ok()) return false;
  std::string input;
  input.reserve(codePoints.size() * 4);
  for (char32_t codePoint : codePoints) {
    for (int shift = 0; shift < 32; shift += 8) input += static_cast<char>((codePoint >> shift) & 0xFF);
  }
  std::string output;
  if (!Convert(converter, std::move(input), 4, output)) return false;
  ansi.swap(output);
  return true;
}

}  // namespace

unsigned ActiveCodePage() { return g_activeCodePage; }

void SetActiveCodePage(unsigned codePage) { g_activeCodePage = codePage; }

bool IsLeadByte(unsigned char byte) {
  switch (g_activeCodePage) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

bool Utf8ToAnsi(const std::string& utf8, std::string& ansi) {
  std::u32string codePoints;
  if (!DecodeUtf8(utf8, codePoints)) return false;
  return EncodeToActiveCodePage(codePoints, ansi);
}

bool Utf16LeToAnsi(const void* bytes, size_t byteCount, std::string& ansi) {
  std::u32string codePoints;
  if (!DecodeUtf16Le(bytes, byteCount, codePoints)) return false;
  return EncodeToActiveCodePage(codePoints, ansi);
}

bool AnsiToUtf8(const std::string& ansi, std::string& utf8) {
  Converter converter("UTF-8", IconvName(g_activeCodePage));
  if (!converter.ok()) return false;
  std::string output;
  if (!Convert(converter, ansi, 0, output)) return false;
  utf8.swap(output);
  return true;
}

#endif  // !_WIN32

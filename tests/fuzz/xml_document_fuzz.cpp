// Feeds arbitrary text to the XML parameter parser, as an untrusted command line would, and
// walks whatever tree comes out. The input's length picks the ANSI code page, so double-byte
// code pages and the UTF-8 conversion get their share.
#include <cstddef>
#include <cstdint>
#include <string>

#include "common/codepage.h"
#include "xml/xml_document.h"

namespace {

const unsigned kCodePages[] = {1252, 949, 932, 1251};

// Returns a count derived from everything read, so nothing is optimised away.
size_t Walk(const XmlNode& node) {
  size_t seen = node.GetName().size() + node.Text().size() + node.RawText().size();
  std::string value;
  int number = 0;
  unsigned unsignedNumber = 0;
  for (const char* name : {"Command", "ProgramID", "SilentMessage", "a", "b", "v"}) {
    if (node.GetAttribute(name, value)) seen += value.size();
    if (node.GetAttributeInt(name, number)) seen += static_cast<size_t>(number & 1);
    if (node.GetAttributeUInt(name, unsignedNumber)) seen += unsignedNumber & 1;
    seen += node.GetAttributeOr(name, "default").size();
  }
  for (size_t i = 0; i < node.ChildCount(); ++i) seen += Walk(*node.Child(i));
  if (node.Child(node.ChildCount()) != nullptr) __builtin_trap();
  return seen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetActiveCodePage(kCodePages[size % 4]);
  // A command line ends at its first NUL, and so does the parser's input.
  std::string text(reinterpret_cast<const char*>(data), size);

  XmlDocument document;
  bool parsed = document.Parse(text.c_str());
  int errorCode = document.ErrorCode();
  std::string detail = document.ErrorDetail();
  size_t seen = XmlErrorText(errorCode)[0] == '\0' ? 1 : 0;
  if (document.Declaration()) seen += Walk(*document.Declaration());
  if (document.Root()) seen += Walk(*document.Root());

  // Parsing again starts from scratch and must come to the same end.
  if (document.Parse(text.c_str()) != parsed || document.ErrorCode() != errorCode ||
      document.ErrorDetail() != detail) {
    __builtin_trap();
  }
  if (parsed && !document.Root()) __builtin_trap();
  return seen == static_cast<size_t>(-1) ? 1 : 0;
}

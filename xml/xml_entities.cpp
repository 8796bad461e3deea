#include "xml/xml_entities.h"

#include <cstring>

#include "common/text.h"

namespace {

struct Entity {
  const char* name;  // with its "&" and ";"
  size_t length;
  char character;
};

const Entity kEntities[] = {
    {"&amp;", 5, '&'}, {"&gt;", 4, '>'}, {"&lt;", 4, '<'}, {"&quot;", 6, '"'}, {"&apos;", 6, '\''},
};

}  // namespace

std::string DecodeEntities(const std::string& token) {
  size_t ampersand = token.find('&');
  if (ampersand == std::string::npos) return token;

  std::string decoded(token, 0, ampersand);
  decoded.reserve(token.size());
  size_t position = ampersand;
  while (position < token.size()) {
    char byte = token[position];
    if (byte != '&') {
      decoded += byte;
      ++position;
      continue;
    }
    const char* rest = token.c_str() + position;
    if (rest[1] == '&') {
      decoded += '&';
      position += 2;
      continue;
    }
    size_t consumed = 1;
    char replacement = '&';
    for (const Entity& entity : kEntities) {
      if (std::strncmp(rest, entity.name, entity.length) == 0) {
        consumed = entity.length;
        replacement = entity.character;
        break;
      }
    }
    decoded += replacement;
    position += consumed;
  }
  return decoded;
}

void ReplaceTextEntities(std::string& text) {
  if (text.find('&') == std::string::npos) return;
  for (const Entity& entity : kEntities) {
    ReplaceAll(text, std::string(entity.name, entity.length), std::string(1, entity.character));
  }
}

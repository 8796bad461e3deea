#include "app/agent_name.h"

bool IsUsableAgentName(const std::string& name) {
  for (char ch : name) {
    const unsigned char byte = static_cast<unsigned char>(ch);
    if (byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

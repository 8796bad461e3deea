#include "app/command_result.h"

#include "app/load_text.h"

bool FailWith(std::string& messageText, int& resultCode, int textId, int code) {
  messageText = LoadText(textId);
  resultCode = code;
  return false;
}

bool SucceedWith(std::string& messageText, int& resultCode, int textId, int code) {
  messageText = LoadText(textId);
  resultCode = code;
  return true;
}

// How the commands report an outcome: the text from the string table into the message text
// they were handed, the code into the result code. User-interface thread; Windows only.
#pragma once

#include <string>

// Sets both and gives false.
bool FailWith(std::string& messageText, int& resultCode, int textId, int code);
// Sets both and gives true (an informative success, such as checkversion's answers).
bool SucceedWith(std::string& messageText, int& resultCode, int textId, int code);

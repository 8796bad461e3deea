// Base64 as the vendor's tools print it (RFC 4648 alphabet, '=' padding, one line): the text
// form of public keys and signatures. Decoding is strict, so one text has one meaning.
// Portable.
#pragma once

#include <string>
#include <string_view>

// Accepts only complete groups of four characters from the standard alphabet, with at most
// two '=' at the very end and zero bits in what padding leaves over; no blanks, no line
// breaks. True and the bytes; anything else gives false and leaves `bytes` untouched.
// Empty text decodes to no bytes.
bool DecodeBase64(std::string_view text, std::string& bytes);

std::string EncodeBase64(std::string_view bytes);

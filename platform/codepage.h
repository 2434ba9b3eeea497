#pragma once

#include <string>
#include <string_view>

// Windows-1252, the code page of the places whose format is defined in it: the narrow
// texts of the portfolio file, the configuration export file, and pages while they are
// converted and searched. Everywhere else texts are UTF-8 (platform/utf8.h); these
// conversions are the only crossings.
namespace tarvelo {

std::string cp1252ToUtf8(std::string_view text);
// For searching a page: a character that Windows-1252 cannot hold becomes '?', which
// a Windows-1252 page cannot hold at that place either. Never for a text that is kept.
std::string utf8ToCp1252(std::string_view text);
// True when Windows-1252 holds every character of the UTF-8 text.
bool fitsCp1252(std::string_view text);
// The characters of the UTF-8 text that Windows-1252 cannot hold, each once, in the
// order they come, separated by blanks: what a message names when it refuses a text.
std::string charactersBeyondCp1252(std::string_view text);

// A file path (the file system's bytes, UTF-8 as a rule) as a text for messages.
std::string pathText(std::string_view path);

// The value of a hexadecimal digit, or -1 for any other character.
int hexDigit(char c);

// One code point <-> one Windows-1252 byte; '?' when there is none.
char32_t cp1252ToCodePoint(unsigned char byte);
char codePointToCp1252(char32_t codePoint);

} // namespace tarvelo

#pragma once

#include <string>
#include <string_view>

// Windows-1252 is the code page of every text in the core. These conversions are the
// only place where texts cross to UTF-8 or UTF-16. A character that Windows-1252 cannot
// hold becomes '?'.
namespace tarvelo {

std::string cp1252ToUtf8(std::string_view text);
std::string utf8ToCp1252(std::string_view text);
std::u16string cp1252ToUtf16(std::string_view text);
std::string utf16ToCp1252(std::u16string_view text);

// A file path (the file system's bytes, UTF-8) as a text of the code page, for
// messages that name a file.
inline std::string pathText(std::string_view path)
{
    return utf8ToCp1252(path);
}

// The value of a hexadecimal digit, or -1 for any other character.
int hexDigit(char c);

// One code point <-> one Windows-1252 byte; '?' when there is none.
char32_t cp1252ToCodePoint(unsigned char byte);
char codePointToCp1252(char32_t codePoint);

} // namespace tarvelo

#pragma once

#include <string>
#include <string_view>

// Downloaded pages before they are searched: the three conversions, loading for a
// search, and lower-casing by the Windows-1252 rules.
namespace tarvelo {

enum PageConversion { kConversionNone = 0, kConversionSemiHtml = 1, kConversionTextOnly = 2 };

// The converted text of a page; an unknown code gives an empty text.
std::string ConvertPageText(int code, std::string_view page);

// Reads the source file, writes the converted text to the destination (created or
// truncated). When the source cannot be read the destination is left empty. Returns
// false when the destination could not be written.
bool ConvertPage(int code, const std::string& source, const std::string& destination);

// Reads a page for searching; every NUL byte inside it reads as a blank, so the page is
// one string of its full length (std::string keeps the terminating NUL after it).
bool LoadPageForSearch(const std::string& path, std::string& page);
void BlankNulBytes(std::string& page);

// Letters lowered by the Windows-1252 rules: ASCII and the accented letters.
char LowerCp1252(char c);
void LowerCp1252InPlace(std::string& text);
std::string LowerCp1252Copy(std::string_view text);

} // namespace tarvelo

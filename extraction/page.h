#pragma once

#include "model/serverconfig.h"
#include "platform/mappedfile.h"

#include <string>
#include <string_view>

// Downloaded pages before they are searched: the three conversions, loading for a
// search, and lower-casing by the Windows-1252 rules.
namespace tarvelo {

// The converted text of a page; an unknown conversion gives an empty text.
std::string convertPageText(Conversion conversion, std::string_view page);

// Reads the source file, writes the converted text to the destination (created or
// truncated). When the source cannot be read the destination is left empty. Returns
// false when the destination could not be written.
bool convertPage(Conversion conversion, const std::string& source, const std::string& destination);

// A page loaded for searching: its NUL bytes read as blanks, so it is one string of
// its full length, and a NUL follows its last byte.
class SearchPage {
public:
    bool load(const std::string& path);
    std::string_view text() const { return std::string_view(m_file.data(), m_file.size()); }

private:
    MappedFile m_file;
};

bool loadPageForSearch(const std::string& path, SearchPage& page);
void blankNulBytes(char* text, std::size_t size);
inline void blankNulBytes(std::string& text) { blankNulBytes(text.data(), text.size()); }

// Letters lowered by the Windows-1252 rules: ASCII and the accented letters.
char lowerCp1252(char c);
void lowerCp1252(const char* from, std::size_t n, char* to);
void lowerCp1252InPlace(std::string& text);
std::string lowerCp1252Copy(std::string_view text);

// The text with its line breaks and other control characters read as one blank each run.
std::string oneLine(std::string_view text);

} // namespace tarvelo

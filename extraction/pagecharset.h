#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The character set a downloaded page declares, and the turning of a UTF-8 page into
// Windows-1252, the code page in which the conversions and searches read a page. A
// byte that is no part of valid UTF-8 (by the rule of platform/utf8.h) stays as it is:
// such a page is most likely Windows-1252 after all.
namespace tarvelo {

enum class PageCharset {
    Undeclared,  // no declaration: the page is searched as it is
    Utf8,        // converted to Windows-1252 before it is searched
    Windows1252, // ISO-8859-1, Windows-1252, US-ASCII and their aliases: searched as it is
    Other,       // any other declared set: searched as it is
};

struct CharsetDeclaration {
    PageCharset charset = PageCharset::Undeclared;
    std::string name;   // the declared name in lower case ("utf-8"); empty when undeclared
    std::string source; // "header" or "meta"; empty when undeclared
};

// How much of the start of a page is looked at for a meta charset.
inline constexpr std::size_t kCharsetSniffBytes = 4096;

// The charset parameter of the Content-Type header, or else that of the first
// <meta charset="..."> or <meta http-equiv="Content-Type" content="...; charset=...">
// in the first kCharsetSniffBytes bytes of the page (names and quotes in any case).
CharsetDeclaration declaredCharset(std::string_view contentType, std::string_view pageStart);

// Converts UTF-8 to Windows-1252 one piece at a time; a sequence cut between two pieces
// is completed by the next. A character that Windows-1252 lacks becomes '?'; a byte
// that is not part of a valid UTF-8 sequence stays as it is.
class Utf8ToCp1252 {
public:
    // Appends the piece, converted, to out.
    void convert(std::string_view piece, std::string& out);
    // Appends what is left of a sequence cut at the end of the last piece (its bytes
    // as they are).
    void finish(std::string& out);

private:
    char m_pending[4] = {};
    std::size_t m_pendingSize = 0;
};

// A whole page converted with Utf8ToCp1252.
std::string utf8PageToCp1252(std::string_view page);

} // namespace tarvelo

#include "platform/codepage.h"

#include "platform/utf8.h"

#include <array>

namespace tarvelo {

namespace {

// 0x80..0x9F. The five bytes that Windows-1252 leaves undefined map to the C1 control
// with the same number, as the Windows conversion functions do, so they round-trip.
constexpr std::array<char16_t, 32> kHighTable = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The Windows-1252 byte of a code point, or -1 when it has none.
int cp1252Byte(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == cp)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

char32_t cp1252ToCodePoint(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighTable[byte - 0x80];
    return byte;
}

char codePointToCp1252(char32_t cp)
{
    const int byte = cp1252Byte(cp);
    return byte < 0 ? '?' : static_cast<char>(byte);
}

std::string cp1252ToUtf8(std::string_view text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    std::size_t at = 0;
    while (at < text.size()) {
        // Runs of ASCII are copied as they are.
        std::size_t end = at;
        while (end < text.size() && static_cast<unsigned char>(text[end]) < 0x80)
            ++end;
        out.append(text, at, end - at);
        if (end == text.size())
            break;
        appendUtf8(out, cp1252ToCodePoint(static_cast<unsigned char>(text[end])));
        at = end + 1;
    }
    return out;
}

std::string utf8ToCp1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size())
        out.push_back(codePointToCp1252(nextCodePoint(text, pos)));
    return out;
}

bool fitsCp1252(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80) {
            ++pos;
            continue;
        }
        // A broken byte reads as U+FFFD, which Windows-1252 lacks too.
        if (cp1252Byte(nextCodePoint(text, pos)) < 0)
            return false;
    }
    return true;
}

std::string charactersBeyondCp1252(std::string_view text)
{
    std::u32string seen;
    std::string out;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t cp = nextCodePoint(text, pos);
        if (cp1252Byte(cp) >= 0 || seen.find(cp) != std::u32string::npos)
            continue;
        seen.push_back(cp);
        if (!out.empty())
            out.push_back(' ');
        appendUtf8(out, cp);
    }
    return out;
}

std::string pathText(std::string_view path)
{
    return validUtf8(path);
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace tarvelo

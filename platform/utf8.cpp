#include "platform/utf8.h"

namespace tarvelo {

namespace {

bool isHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}

bool isLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

const unsigned char* bytes(std::string_view text)
{
    return reinterpret_cast<const unsigned char*>(text.data());
}

} // namespace

char32_t nextCodePoint(std::string_view text, std::size_t& pos)
{
    char32_t codePoint = 0;
    const int length = decodeUtf8Sequence(bytes(text) + pos, bytes(text) + text.size(), codePoint);
    if (length <= 0) {
        ++pos;
        return kReplacementCharacter;
    }
    pos += static_cast<std::size_t>(length);
    return codePoint;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool isValidUtf8(std::string_view text)
{
    const unsigned char* p = bytes(text);
    const unsigned char* const end = p + text.size();
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            continue;
        }
        char32_t ignored = 0;
        const int length = decodeUtf8Sequence(p, end, ignored);
        if (length <= 0)
            return false;
        p += length;
    }
    return true;
}

std::string validUtf8(std::string_view text)
{
    if (isValidUtf8(text))
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 8);
    for (std::size_t pos = 0; pos < text.size();)
        appendUtf8(out, nextCodePoint(text, pos));
    return out;
}

std::size_t utf8Length(std::string_view text)
{
    std::size_t characters = 0;
    for (std::size_t pos = 0; pos < text.size(); ++characters)
        nextCodePoint(text, pos);
    return characters;
}

std::size_t utf8Prefix(std::string_view text, std::size_t characters)
{
    std::size_t pos = 0;
    for (std::size_t n = 0; n < characters && pos < text.size(); ++n)
        nextCodePoint(text, pos);
    return pos;
}

std::string_view utf8Cut(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text;
    std::size_t end = maxBytes;
    // Back over the continuation bytes of a character that would be cut, to its lead.
    const auto continuation = [&](std::size_t at) { return (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80; };
    while (end > 0 && maxBytes - end < 3 && continuation(end))
        --end;
    return text.substr(0, end);
}

std::u16string utf8ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t cp = nextCodePoint(text, pos);
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = text[i++];
        if (isHighSurrogate(c) && i < text.size() && isLowSurrogate(text[i]))
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
        else if (isHighSurrogate(c) || isLowSurrogate(c))
            c = kReplacementCharacter;
        appendUtf8(out, c);
    }
    return out;
}

} // namespace tarvelo

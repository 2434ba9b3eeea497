#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// UTF-8, the encoding of every text in the core. This is the program's one decoder:
// every reader of UTF-8 (settings, pages, file names, command lines) goes through
// decodeUtf8Sequence, so all of them agree on what is broken.
//
// The rule: a sequence is valid only in its shortest form, for a code point up to
// U+10FFFF that is not a surrogate. Anything else is invalid at its first byte: a
// continuation byte without a lead, a lead byte without all its continuation bytes, an
// overlong form (C0, C1, E0 80..9F, F0 80..8F), a surrogate (ED A0..BF), a code point
// beyond U+10FFFF (F4 90.., F5..FF). An invalid byte counts as one character on its own,
// which the text functions below replace by U+FFFD; decoding goes on at the next byte.
namespace tarvelo {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

enum : int {
    kUtf8Incomplete = 0, // a valid beginning of a sequence that goes on past the end
    kUtf8Invalid = -1,
};

// Decodes the sequence whose lead byte is at p (p < end). Returns its length in bytes
// (1 to 4) with the code point in codePoint; kUtf8Incomplete when the bytes up to end
// are a valid beginning of a longer sequence; kUtf8Invalid when the byte at p starts no
// valid sequence. Inline: page conversion calls it for every non-ASCII character.
inline int decodeUtf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& codePoint)
{
    const unsigned char b0 = p[0];
    if (b0 < 0x80) {
        codePoint = b0;
        return 1;
    }
    const auto continuation = [](unsigned char b) { return (b & 0xC0) == 0x80; };
    const std::ptrdiff_t available = end - p;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (available < 2)
            return kUtf8Incomplete;
        if (!continuation(p[1]))
            return kUtf8Invalid;
        codePoint = ((b0 & 0x1Fu) << 6) | (p[1] & 0x3Fu);
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (available < 2)
            return kUtf8Incomplete;
        // E0 would be overlong below A0; ED followed by A0..BF is a surrogate.
        const unsigned char low = b0 == 0xE0 ? 0xA0 : 0x80;
        const unsigned char high = b0 == 0xED ? 0x9F : 0xBF;
        if (p[1] < low || p[1] > high)
            return kUtf8Invalid;
        if (available < 3)
            return kUtf8Incomplete;
        if (!continuation(p[2]))
            return kUtf8Invalid;
        codePoint = ((b0 & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (available < 2)
            return kUtf8Incomplete;
        // F0 would be overlong below 90; F4 beyond 8F goes past U+10FFFF.
        const unsigned char low = b0 == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = b0 == 0xF4 ? 0x8F : 0xBF;
        if (p[1] < low || p[1] > high)
            return kUtf8Invalid;
        if (available < 3)
            return kUtf8Incomplete;
        if (!continuation(p[2]))
            return kUtf8Invalid;
        if (available < 4)
            return kUtf8Incomplete;
        if (!continuation(p[3]))
            return kUtf8Invalid;
        codePoint = ((b0 & 0x07u) << 18) | ((p[1] & 0x3Fu) << 12) | ((p[2] & 0x3Fu) << 6) | (p[3] & 0x3Fu);
        return 4;
    }
    return kUtf8Invalid;
}

// The code point at text[pos], moving pos past it; an invalid or cut-off sequence is
// U+FFFD and moves pos by one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& pos);

void appendUtf8(std::string& out, char32_t codePoint);

bool isValidUtf8(std::string_view text);
// The text with every invalid byte replaced by U+FFFD; a valid text comes back as it is.
std::string validUtf8(std::string_view text);

// The number of characters of the text (a broken byte counts as one).
std::size_t utf8Length(std::string_view text);
// The bytes of the first `characters` characters of the text (all of it when it has fewer).
std::size_t utf8Prefix(std::string_view text, std::size_t characters);
// The text cut to at most maxBytes bytes, never inside a character.
std::string_view utf8Cut(std::string_view text, std::size_t maxBytes);

std::u16string utf8ToUtf16(std::string_view text);
// A surrogate without its partner becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

} // namespace tarvelo

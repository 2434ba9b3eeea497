#include "extraction/pagecharset.h"

#include "platform/codepage.h"
#include "platform/utf8.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tarvelo {

namespace {

// ---------------------------------------------------------------------------
// Declarations
// ---------------------------------------------------------------------------

unsigned char lowerAscii(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord)
{
    if (text.size() != lowerWord.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (lowerAscii(static_cast<unsigned char>(text[i])) != static_cast<unsigned char>(lowerWord[i]))
            return false;
    }
    return true;
}

bool startsWithIgnoringCase(std::string_view text, std::size_t pos, std::string_view lowerWord)
{
    return pos <= text.size() && text.size() - pos >= lowerWord.size()
           && equalsIgnoringCase(text.substr(pos, lowerWord.size()), lowerWord);
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::size_t skipSpaces(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isSpace(text[pos]))
        ++pos;
    return pos;
}

// The charset parameter of a media type such as `text/html; Charset="UTF-8"`, as
// written; empty when there is none. A quoted value without its closing quote runs
// to the end. Every position is visited a bounded number of times.
std::string_view charsetParameter(std::string_view type)
{
    std::size_t pos = type.find(';');
    while (pos != std::string_view::npos) {
        const std::size_t nameStart = skipSpaces(type, pos + 1);
        std::size_t nameEnd = nameStart;
        while (nameEnd < type.size() && type[nameEnd] != '=' && type[nameEnd] != ';')
            ++nameEnd;
        if (nameEnd >= type.size() || type[nameEnd] == ';') {
            pos = nameEnd < type.size() ? nameEnd : std::string_view::npos;
            continue;
        }
        const bool isCharset = equalsIgnoringCase(trimmed(type.substr(nameStart, nameEnd - nameStart)), "charset");
        std::size_t valueStart = skipSpaces(type, nameEnd + 1);
        std::string_view value;
        std::size_t next = std::string_view::npos;
        if (valueStart < type.size() && (type[valueStart] == '"' || type[valueStart] == '\'')) {
            ++valueStart;
            const std::size_t close = type.find(type[valueStart - 1], valueStart);
            if (close == std::string_view::npos) {
                value = type.substr(valueStart);
            } else {
                value = type.substr(valueStart, close - valueStart);
                next = type.find(';', close + 1);
            }
        } else {
            next = type.find(';', valueStart);
            value = type.substr(valueStart, next == std::string_view::npos ? next : next - valueStart);
        }
        if (isCharset)
            return trimmed(value);
        pos = next;
    }
    return {};
}

struct MetaAttribute {
    std::string_view name;
    std::string_view value;
};

// Reads the attribute at pos inside a tag and moves pos past it. Returns false at the
// end of the tag ('>'); sets `broken` when a quoted value never closes, after which
// nothing further in the text can be trusted to be markup.
bool nextAttribute(std::string_view text, std::size_t& pos, MetaAttribute& attribute, bool& broken)
{
    while (pos < text.size() && (isSpace(text[pos]) || text[pos] == '/'))
        ++pos;
    if (pos >= text.size() || text[pos] == '>')
        return false;
    const std::size_t nameStart = pos;
    while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '=' && text[pos] != '>' && text[pos] != '/')
        ++pos;
    attribute.name = text.substr(nameStart, pos - nameStart);
    attribute.value = {};
    const std::size_t afterName = skipSpaces(text, pos);
    if (afterName >= text.size() || text[afterName] != '=')
        return true;
    pos = skipSpaces(text, afterName + 1);
    if (pos >= text.size())
        return true;
    if (text[pos] == '"' || text[pos] == '\'') {
        const std::size_t close = text.find(text[pos], pos + 1);
        if (close == std::string_view::npos) {
            broken = true;
            pos = text.size();
            return false;
        }
        attribute.value = text.substr(pos + 1, close - pos - 1);
        pos = close + 1;
        return true;
    }
    const std::size_t valueStart = pos;
    while (pos < text.size() && !isSpace(text[pos]) && text[pos] != '>')
        ++pos;
    attribute.value = text.substr(valueStart, pos - valueStart);
    return true;
}

// The charset of the first meta element in the text that declares one, as written.
std::string_view metaCharset(std::string_view text)
{
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string_view::npos) {
        if (startsWithIgnoringCase(text, pos, "<!--")) {
            const std::size_t close = text.find("-->", pos + 4);
            if (close == std::string_view::npos)
                return {};
            pos = close + 3;
            continue;
        }
        if (!startsWithIgnoringCase(text, pos, "<meta") || pos + 5 >= text.size()
            || !(isSpace(text[pos + 5]) || text[pos + 5] == '/')) {
            ++pos;
            continue;
        }
        pos += 5;
        std::string_view charset, httpEquiv, content;
        MetaAttribute attribute;
        bool broken = false;
        while (nextAttribute(text, pos, attribute, broken)) {
            if (equalsIgnoringCase(attribute.name, "charset") && charset.empty())
                charset = attribute.value;
            else if (equalsIgnoringCase(attribute.name, "http-equiv") && httpEquiv.empty())
                httpEquiv = attribute.value;
            else if (equalsIgnoringCase(attribute.name, "content") && content.empty())
                content = attribute.value;
        }
        // A tag cut off by the end of the text (or by a quote that never closes) is
        // not taken at its word.
        if (broken || pos >= text.size())
            return {};
        if (!trimmed(charset).empty())
            return trimmed(charset);
        if (equalsIgnoringCase(trimmed(httpEquiv), "content-type")) {
            const std::string_view declared = charsetParameter(content);
            if (!declared.empty())
                return declared;
        }
    }
    return {};
}

PageCharset charsetNamed(std::string_view lowerName)
{
    if (lowerName == "utf-8" || lowerName == "utf8")
        return PageCharset::Utf8;
    for (std::string_view alias : {"iso-8859-1", "iso_8859-1", "latin1", "l1", "windows-1252", "cp1252", "us-ascii",
                                   "ascii"}) {
        if (lowerName == alias)
            return PageCharset::Windows1252;
    }
    return PageCharset::Other;
}

CharsetDeclaration declaration(std::string_view name, const char* source)
{
    CharsetDeclaration result;
    result.name.reserve(name.size());
    for (char c : name)
        result.name.push_back(static_cast<char>(lowerAscii(static_cast<unsigned char>(c))));
    result.charset = charsetNamed(result.name);
    result.source = source;
    return result;
}

// ---------------------------------------------------------------------------
// UTF-8 to Windows-1252
// ---------------------------------------------------------------------------

// The Windows-1252 byte of every code point of the Basic Multilingual Plane, so that
// two- and three-byte sequences cost one load. Built once, on first use.
const std::array<char, 0x10000>& bmpTable()
{
    static const auto table = [] {
        auto t = std::make_unique<std::array<char, 0x10000>>();
        for (char32_t cp = 0; cp < 0x10000; ++cp)
            (*t)[cp] = codePointToCp1252(cp);
        return t;
    }();
    return *table;
}

// Decodes the sequence whose lead byte (0x80 or above) is at p: its length, with its
// Windows-1252 byte in `out`, or kUtf8Incomplete / kUtf8Invalid.
inline int decodeSequence(const unsigned char* p, const unsigned char* end, const char* table, char& out)
{
    char32_t cp = 0;
    const int length = decodeUtf8Sequence(p, end, cp);
    if (length > 0)
        out = cp < 0x10000 ? table[cp] : '?'; // Windows-1252 has nothing beyond the Basic Multilingual Plane
    return length;
}

constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// The number of ASCII bytes before the first other one in a word read from memory,
// given the word's high bits (not zero).
inline int asciiBytes(std::uint64_t highBits)
{
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(highBits) / 8;
    else
        return std::countl_zero(highBits) / 8;
}

} // namespace

CharsetDeclaration declaredCharset(std::string_view contentType, std::string_view pageStart)
{
    const std::string_view fromHeader = charsetParameter(contentType);
    if (!fromHeader.empty())
        return declaration(fromHeader, "header");
    const std::string_view fromMeta = metaCharset(pageStart.substr(0, kCharsetSniffBytes));
    if (!fromMeta.empty())
        return declaration(fromMeta, "meta");
    return {};
}

void Utf8ToCp1252::convert(std::string_view piece, std::string& out)
{
    if (piece.empty())
        return;
    const char* table = bmpTable().data();
    // Every byte gives at most one byte, so this is the most the piece can add.
    out.reserve(out.size() + m_pendingSize + piece.size());

    const auto* p = reinterpret_cast<const unsigned char*>(piece.data());
    const auto* const end = p + piece.size();

    if (m_pendingSize > 0) {
        // Complete the sequence left over from the last piece with the first bytes of
        // this one.
        unsigned char joined[4];
        std::memcpy(joined, m_pending, m_pendingSize);
        const std::size_t taken = std::min<std::size_t>(4 - m_pendingSize, piece.size());
        std::memcpy(joined + m_pendingSize, p, taken);
        char converted = 0;
        const int length = decodeSequence(joined, joined + m_pendingSize + taken, table, converted);
        if (length == kUtf8Incomplete) {
            std::memcpy(m_pending + m_pendingSize, p, taken);
            m_pendingSize += taken;
            return;
        }
        if (length > 0) {
            out.push_back(converted);
            p += static_cast<std::size_t>(length) - m_pendingSize;
        } else {
            // The lead byte and the continuation bytes after it are all kept as they
            // are; the piece is read from its start.
            out.append(m_pending, m_pendingSize);
        }
        m_pendingSize = 0;
    }

    // The output is grown (within the capacity reserved above) one small block at a
    // time, so that the zeros resize() writes are still in the first-level cache when
    // they are overwritten; growing it by the whole piece at once makes the conversion
    // take twice as long as a copy.
    constexpr std::size_t kBlock = 1024;
    std::size_t written = out.size();
    while (p < end) {
        const auto* const blockEnd = p + std::min<std::size_t>(kBlock, static_cast<std::size_t>(end - p));
        out.resize(written + static_cast<std::size_t>(blockEnd - p));
        char* const base = out.data();
        char* dst = base + written;
        // Each step below reads at least as many bytes as it writes, so the block's
        // room is never exceeded; a sequence may run on past blockEnd.
        while (p < blockEnd) {
            // Thirty-two bytes at a time while they are ASCII, then eight at a time. The
            // bytes are stored even when some are not ASCII; dst moves only past the
            // ASCII ones.
            while (blockEnd - p >= 32) {
                std::uint64_t words[4];
                std::memcpy(words, p, 32);
                std::memcpy(dst, words, 32);
                if (((words[0] | words[1] | words[2] | words[3]) & kHighBits) == 0) {
                    p += 32;
                    dst += 32;
                    continue;
                }
                int ascii = 0;
                for (const std::uint64_t word : words) {
                    if (const std::uint64_t high = word & kHighBits) {
                        ascii += asciiBytes(high);
                        break;
                    }
                    ascii += 8;
                }
                p += ascii;
                dst += ascii;
                goto sequence;
            }
            while (blockEnd - p >= 8) {
                std::uint64_t word;
                std::memcpy(&word, p, 8);
                std::memcpy(dst, &word, 8);
                const std::uint64_t high = word & kHighBits;
                if (high == 0) {
                    p += 8;
                    dst += 8;
                    continue;
                }
                p += asciiBytes(high);
                dst += asciiBytes(high);
                goto sequence;
            }
            if (p >= blockEnd)
                break;
            if (*p < 0x80) {
                *dst++ = static_cast<char>(*p++);
                continue;
            }
        sequence:
            char converted = 0;
            const int length = decodeSequence(p, end, table, converted);
            if (length > 0) {
                *dst++ = converted;
                p += length;
            } else if (length == kUtf8Incomplete) {
                m_pendingSize = static_cast<std::size_t>(end - p);
                std::memcpy(m_pending, p, m_pendingSize);
                p = end;
            } else {
                *dst++ = static_cast<char>(*p++);
            }
        }
        written = static_cast<std::size_t>(dst - base);
    }
    out.resize(written);
}

void Utf8ToCp1252::finish(std::string& out)
{
    out.append(m_pending, m_pendingSize);
    m_pendingSize = 0;
}

std::string utf8PageToCp1252(std::string_view page)
{
    std::string out;
    Utf8ToCp1252 converter;
    converter.convert(page, out);
    converter.finish(out);
    return out;
}

} // namespace tarvelo

#include "extraction/page.h"

#include "platform/outputfile.h"

#include <array>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarvelo {

namespace {

constexpr std::array<unsigned char, 256> makeLowerTable()
{
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    for (int c = 0xC0; c <= 0xDE; ++c) {
        if (c != 0xD7) // multiplication sign
            table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c + 32);
    }
    table[0x8A] = 0x9A; // S caron
    table[0x8C] = 0x9C; // OE
    table[0x8E] = 0x9E; // Z caron
    table[0x9F] = 0xFF; // Y diaeresis
    return table;
}

constexpr auto kLower = makeLowerTable();

const char* findChar(const char* from, const char* end, char c)
{
    const void* found = std::memchr(from, c, static_cast<std::size_t>(end - from));
    return found ? static_cast<const char*>(found) : end;
}

} // namespace

char lowerCp1252(char c)
{
    return static_cast<char>(kLower[static_cast<unsigned char>(c)]);
}

void lowerCp1252InPlace(std::string& text)
{
    lowerCp1252(text.data(), text.size(), text.data());
}

void lowerCp1252(const char* from, std::size_t n, char* to)
{
    const char* p = from;
    const char* const end = from + n;
#if defined(__SSE2__)
    // Sixteen bytes at a time: A-Z and 0xC0-0xDE (but 0xD7) gain 0x20; the four
    // letters of 0x8A-0x9F move by their own distances.
    const __m128i upperA = _mm_set1_epi8('A');
    const __m128i upperSpan = _mm_set1_epi8(25);
    const __m128i latinA = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i latinSpan = _mm_set1_epi8(0x1E);
    const __m128i times = _mm_set1_epi8(static_cast<char>(0xD7));
    const __m128i caseBit = _mm_set1_epi8(0x20);
    const __m128i sCaron = _mm_set1_epi8(static_cast<char>(0x8A));
    const __m128i oe = _mm_set1_epi8(static_cast<char>(0x8C));
    const __m128i zCaron = _mm_set1_epi8(static_cast<char>(0x8E));
    const __m128i yDiaeresis = _mm_set1_epi8(static_cast<char>(0x9F));
    const __m128i sixteen = _mm_set1_epi8(0x10);
    const __m128i yShift = _mm_set1_epi8(0x60);
    for (; end - p >= 16; p += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i a = _mm_sub_epi8(v, upperA);
        const __m128i isUpper = _mm_cmpeq_epi8(_mm_min_epu8(a, upperSpan), a);
        const __m128i l = _mm_sub_epi8(v, latinA);
        const __m128i isLatin =
            _mm_andnot_si128(_mm_cmpeq_epi8(v, times), _mm_cmpeq_epi8(_mm_min_epu8(l, latinSpan), l));
        const __m128i isSpecial =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, sCaron), _mm_cmpeq_epi8(v, oe)), _mm_cmpeq_epi8(v, zCaron));
        const __m128i isY = _mm_cmpeq_epi8(v, yDiaeresis);
        __m128i add = _mm_and_si128(_mm_or_si128(isUpper, isLatin), caseBit);
        add = _mm_or_si128(add, _mm_and_si128(isSpecial, sixteen));
        add = _mm_or_si128(add, _mm_and_si128(isY, yShift));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_add_epi8(v, add));
        to += 16;
    }
#endif
    for (; p < end; ++p)
        *to++ = static_cast<char>(kLower[static_cast<unsigned char>(*p)]);
}

std::string lowerCp1252Copy(std::string_view text)
{
    std::string out(text);
    lowerCp1252InPlace(out);
    return out;
}

namespace {

// Runs a conversion over the page, handing each piece of output to emit(begin, end).
template <typename Emit>
void convert(Conversion conversion, std::string_view page, Emit emit)
{
    const char* p = page.data();
    const char* end = page.data() + page.size();
    switch (conversion) {
    case Conversion::None:
        emit(p, end);
        return;
    case Conversion::SemiHtml:
        // Each run goes up to and including the next "<"; the tag's contents are
        // dropped and its ">" starts the next run.
        while (p < end) {
            const char* open = findChar(p, end, '<');
            if (open == end) {
                emit(p, end);
                return;
            }
            emit(p, open + 1);
            p = findChar(open + 1, end, '>');
        }
        return;
    case Conversion::TextOnly: {
        static const char kBlank = ' ';
        while (p < end) {
            const char* open = findChar(p, end, '<');
            if (open != p) {
                emit(p, open);
                emit(&kBlank, &kBlank + 1);
            }
            if (open == end)
                return;
            const char* close = findChar(open + 1, end, '>');
            p = close == end ? end : close + 1;
        }
        return;
    }
    default:
        return;
    }
}

} // namespace

std::string convertPageText(Conversion conversion, std::string_view page)
{
    std::string out;
    out.reserve(page.size());
    convert(conversion, page, [&](const char* from, const char* to) { out.append(from, to); });
    return out;
}

bool convertPage(Conversion conversion, const std::string& source, const std::string& destination)
{
    OutputFile out;
    if (out.open(destination) != FileError::None)
        return false;
    MappedFile page;
    if (page.open(source) == FileError::None) {
        convert(conversion, std::string_view(page.data(), page.size()),
                [&](const char* from, const char* to) { out.write(from, static_cast<std::size_t>(to - from)); });
    }
    return out.close() == FileError::None;
}

void blankNulBytes(char* text, std::size_t size)
{
    char* p = text;
    char* const end = text + size;
    while ((p = static_cast<char*>(std::memchr(p, '\0', static_cast<std::size_t>(end - p)))) != nullptr)
        *p++ = ' ';
}

bool SearchPage::load(const std::string& path)
{
    if (m_file.open(path) != FileError::None)
        return false;
    blankNulBytes(m_file.data(), m_file.size());
    return true;
}

bool loadPageForSearch(const std::string& path, SearchPage& page)
{
    return page.load(path);
}

std::string oneLine(std::string_view text)
{
    std::string line;
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x20)
            line.push_back(c);
        else if (line.empty() || line.back() != ' ')
            line.push_back(' ');
    }
    return line;
}

} // namespace tarvelo

#include "extraction/pagecharset.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace tarvelo {
namespace {

using namespace std::string_literals;

TEST(PageCharset, Declarations)
{
    const struct {
        std::string contentType;
        std::string page;
        PageCharset charset;
        std::string name;
        const char* source;
    } cases[] = {
        // The header wins over the page.
        {"text/html; Charset = \"UTF-8\" ", "<meta charset=windows-1252>", PageCharset::Utf8, "utf-8", "header"},
        {"text/html;charset='latin1';q=1", "", PageCharset::Windows1252, "latin1", "header"},
        {"text/html; charset=\"utf-8", "", PageCharset::Utf8, "utf-8", "header"},
        {"text/html; mycharset=utf-8; charset=Shift_JIS", "", PageCharset::Other, "shift_jis", "header"},
        // Without one there, the first meta that declares a set, in either form.
        {"text/html", "<html><META CharSet='ISO-8859-1'>", PageCharset::Windows1252, "iso-8859-1", "meta"},
        {"", "<meta charset=utf8 />", PageCharset::Utf8, "utf8", "meta"},
        {"text/html; charset=", "<meta name=x><meta content=\"text/html; charset=UTF-8\" HTTP-EQUIV=\"Content-Type\">",
         PageCharset::Utf8, "utf-8", "meta"},
        {"", "<meta\thttp-equiv=content-type content='text/html;charset=koi8-r'><meta charset=utf-8>",
         PageCharset::Other, "koi8-r", "meta"},
        // What is not a declaration.
        {"", "<meta name=\"x\" content=\"text/html; charset=utf-8\"><metadata charset=utf-8>", PageCharset::Undeclared,
         "", ""},
        {"", "<!-- <meta charset=\"utf-8\"> -->", PageCharset::Undeclared, "", ""},
        {"text/plain", "<meta charset=\"\">", PageCharset::Undeclared, "", ""},
        // A quote that never closes swallows the rest of the page.
        {"", "<meta name=\"a><meta charset=utf-8>" + std::string(100, 'x'), PageCharset::Undeclared, "", ""},
        {"", "<meta charset=\"utf-8>" + std::string(5000, 'x'), PageCharset::Undeclared, "", ""},
        // NULs are only bytes.
        {"text/html; charset=utf-8\0x"s, "", PageCharset::Other, "utf-8\0x"s, "header"},
        {"", "\0<meta\0charset=utf-8>\0<meta charset=cp1252>"s, PageCharset::Windows1252, "cp1252", "meta"},
    };
    for (const auto& c : cases) {
        const CharsetDeclaration d = declaredCharset(c.contentType, c.page);
        EXPECT_EQ(d.charset, c.charset) << c.contentType << " | " << c.page;
        EXPECT_EQ(d.name, c.name) << c.contentType << " | " << c.page;
        EXPECT_EQ(d.source, c.source) << c.contentType << " | " << c.page;
    }

    for (const char* alias :
         {"iso-8859-1", "ISO_8859-1", "latin1", "L1", "windows-1252", "CP1252", "us-ascii", "ascii"})
        EXPECT_EQ(declaredCharset("text/html; charset="s + alias, "").charset, PageCharset::Windows1252) << alias;

    // Only the first kCharsetSniffBytes bytes of the page are looked at.
    const std::string meta = "<meta charset=\"utf-8\">";
    EXPECT_EQ(declaredCharset("", std::string(kCharsetSniffBytes - meta.size(), ' ') + meta).charset,
              PageCharset::Utf8);
    EXPECT_EQ(declaredCharset("", std::string(kCharsetSniffBytes - meta.size() + 1, ' ') + meta).charset,
              PageCharset::Undeclared);
    EXPECT_EQ(declaredCharset("", std::string(kCharsetSniffBytes, ' ') + meta).charset, PageCharset::Undeclared);

    // Hostile headers and pages finish; quadratic scanning would not within the timeout.
    std::string header = "text/html";
    for (int i = 0; i < 200'000; ++i)
        header += "; charset";
    EXPECT_EQ(declaredCharset(header, "").charset, PageCharset::Undeclared);
    std::string page;
    while (page.size() < 2'000'000)
        page += "<meta a=b ";
    EXPECT_EQ(declaredCharset(header + "; charset=\"" + page, page).charset, PageCharset::Other);
    EXPECT_EQ(declaredCharset(header, page + "<meta charset=utf-8>").charset, PageCharset::Undeclared);
}

TEST(Utf8ToCp1252, ConvertsValidSequencesAndKeepsInvalidBytes)
{
    const struct {
        std::string utf8;
        std::string cp1252;
    } cases[] = {
        {"22,65 \xE2\x82\xAC", "22,65 \x80"},           // €
        {"M\xC3\xA4rz", "M\xE4rz"},                     // ä
        {"1\xC2\xA0" "000", "1\xA0" "000"},             // no-break space
        {"\xC3\x80\xC3\xBF\xC2\x81", "\xC0\xFF\x81"},   // À, ÿ and a C1 control that round-trips
        {"\xE2\x80\x9C\xE2\x84\xA2", "\x93\x99"},       // “ and ™
        {"a\xE2\x86\x92" "b", "a?b"},                   // →, not in the code page
        {"\xF0\x9F\x98\x80!", "?!"},                    // an emoji
        {"\x80\xBF", "\x80\xBF"},                       // stray continuation bytes
        {"\xC0\xAF\xC1\xBF", "\xC0\xAF\xC1\xBF"},       // overlong two-byte
        {"\xE0\x80\xAF", "\xE0\x80\xAF"},               // overlong three-byte
        {"\xF0\x8F\xBF\xBF", "\xF0\x8F\xBF\xBF"},       // overlong four-byte
        {"\xED\xA0\x80\xED\xBF\xBF", "\xED\xA0\x80\xED\xBF\xBF"}, // surrogates
        {"\xF4\x90\x80\x80\xF5\x80", "\xF4\x90\x80\x80\xF5\x80"}, // beyond U+10FFFF
        {"\xE2\x82" "A\xC3", "\xE2\x82" "A\xC3"},       // cut short, then at the very end
        {"\xF0\x9F\x98" "\xC3\xA4", "\xF0\x9F\x98\xE4"},  // cut short by another sequence
        {"\xFF\xFE", "\xFF\xFE"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(utf8PageToCp1252(c.utf8), c.cp1252) << c.utf8;

    // A character at every offset within and around the runs read 32 and 8 bytes at a time.
    for (std::size_t before = 0; before < 70; ++before) {
        const std::string ascii(before, 'a');
        const std::string tail(before % 37, 'z');
        EXPECT_EQ(utf8PageToCp1252(ascii + "\xE2\x82\xAC" + tail + "\xC3\xA4"), ascii + "\x80" + tail + "\xE4")
            << before;
        EXPECT_EQ(utf8PageToCp1252(ascii + "\x80" + tail), ascii + "\x80" + tail) << before;
    }
}

TEST(Utf8ToCp1252, PiecesGiveTheSameAsTheWholeText)
{
    std::string text;
    const char* parts[] = {"<td>Kurs:</td><td>22,65&nbsp;",
                           "\xE2\x82\xAC",
                           "\xC3\xA4\xC2\xA0",
                           "\xF0\x9F\x98\x80",
                           "\xE2\x86\x92",
                           "\xE2\x82" "x",
                           "\xF0\x9F" "\xC3\xA4",
                           "\xED\xA0\x80",
                           "\x80\xBF\xC0\xAF",
                           "plain ascii text of some length",
                           "\xC3"};
    std::mt19937 random(20240601);
    while (text.size() < 5000)
        text += parts[random() % std::size(parts)];
    text += "\xF0\x9F\x98"; // a sequence cut off at the end, kept as it is by finish()
    const std::string whole = utf8PageToCp1252(text);
    EXPECT_EQ(whole.substr(whole.size() - 3), "\xF0\x9F\x98");

    const auto convertInPieces = [&](auto nextSize) {
        Utf8ToCp1252 converter;
        std::string out = "kept:";
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t size = std::min(nextSize(), text.size() - pos);
            converter.convert(std::string_view(text).substr(pos, size), out);
            pos += size;
        }
        converter.convert({}, out);
        converter.finish(out);
        return out;
    };
    EXPECT_EQ(convertInPieces([] { return std::size_t{1}; }), "kept:" + whole);
    for (int round = 0; round < 20; ++round) {
        const std::size_t longest = round < 10 ? 5 : 64;
        EXPECT_EQ(convertInPieces([&] { return std::size_t{random() % (longest + 1)}; }), "kept:" + whole) << round;
    }
}

} // namespace
} // namespace tarvelo

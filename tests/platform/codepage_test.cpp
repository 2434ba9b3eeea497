#include "platform/codepage.h"
#include "platform/utf8.h"

#include "extraction/pagecharset.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";

// The one rule for broken UTF-8, as every reader applies it: each byte that starts no
// valid sequence is one U+FFFD of its own, and decoding goes on with the next byte.
TEST(Utf8, OneRuleForBrokenSequences)
{
    struct Case {
        const char* what;
        std::string bytes;
        std::string readAs;      // by validUtf8 and every text reader
        std::string inPageAs;    // by the page converter, which keeps broken bytes
    };
    const std::string r = kReplacement;
    const std::vector<Case> cases = {
        {"ASCII and two, three, four bytes", "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80", "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80",
         "a\xE4\x80?"},
        {"overlong NUL", std::string("\xC0\x80", 2), r + r, std::string("\xC0\x80", 2)},
        {"overlong three bytes", "\xE0\x80\xAF", r + r + r, "\xE0\x80\xAF"},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", r + r + r + r, "\xF0\x8F\xBF\xBF"},
        {"surrogate", "\xED\xA0\x80", r + r + r, "\xED\xA0\x80"},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", r + r + r + r, "\xF4\x90\x80\x80"},
        {"stray continuation", "a\x80" "b", "a" + r + "b", "a\x80" "b"},
        {"lead without continuation", "\xC3" "a", r + "a", "\xC3" "a"},
        {"cut short inside the text", "\xE2\x82" "x", r + r + "x", "\xE2\x82" "x"},
        {"cut short at the end", "x\xE2\x82", "x" + r + r, "x\xE2\x82"},
        {"bytes no UTF-8 has", "\xF8\xFF", r + r, "\xF8\xFF"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(validUtf8(c.bytes), c.readAs);
        EXPECT_EQ(isValidUtf8(c.bytes), c.readAs == c.bytes);
        EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(c.bytes)), c.readAs);
        EXPECT_EQ(utf8PageToCp1252(c.bytes), c.inPageAs);
    }
    // Only a valid beginning is incomplete; a streaming reader waits for the rest.
    char32_t cp = 0;
    const auto decode = [&cp](const char* bytes, std::size_t n) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes);
        return decodeUtf8Sequence(p, p + n, cp);
    };
    EXPECT_EQ(decode("\xF0\x9F\x98", 3), kUtf8Incomplete);
    EXPECT_EQ(decode("\xE0\x80", 2), kUtf8Invalid);
    EXPECT_EQ(decode("\xF0\x9F\x98\x80", 4), 4);
    EXPECT_EQ(cp, U'\U0001F600');
}

TEST(CodePage, EveryByteRoundTripsAndOnlyItsCharactersFit)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_TRUE(fitsCp1252(cp1252ToUtf8(all)));
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(cp1252ToUtf8("\x80\x9FM\xC4RZ"), "\xE2\x82\xAC\xC5\xB8M\xC3\x84RZ");

    // Złoty, 日経平均 and ₿: named once each, in order, for a message that refuses them.
    const std::string mixed = "Z\xC5\x82oty \xE6\x97\xA5\xE7\xB5\x8C \xE2\x82\xBF \xC5\x82";
    EXPECT_FALSE(fitsCp1252(mixed));
    EXPECT_EQ(charactersBeyondCp1252(mixed), "\xC5\x82 \xE6\x97\xA5 \xE7\xB5\x8C \xE2\x82\xBF");
    EXPECT_FALSE(fitsCp1252("a\xC3"));
    // Searching a page: a character it cannot hold matches nothing but a '?'.
    EXPECT_EQ(utf8ToCp1252("\xE2\x80\x9Cx\xE2\x80\x9D \xF0\x9F\x98\x80"), "\x93x\x94 ?");
}

} // namespace
} // namespace tarvelo

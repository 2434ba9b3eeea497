#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

TEST(CodePage, EveryByteRoundTripsThroughUtf8AndUtf16)
{
    std::string all;
    for (int b = 1; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(utf16ToCp1252(cp1252ToUtf16(all)), all);
}

TEST(CodePage, HighRangeUsesWindowsMapping)
{
    EXPECT_EQ(cp1252ToUtf8("\x80"), "\xE2\x82\xAC");   // euro sign
    EXPECT_EQ(cp1252ToUtf8("\x9F"), "\xC5\xB8");       // Y with diaeresis
    EXPECT_EQ(cp1252ToUtf8("M\xC4RZ"), "M\xC3\x84RZ"); // A umlaut
    EXPECT_EQ(utf8ToCp1252("\xE2\x80\x9C" "x" "\xE2\x80\x9D"), "\x93x\x94");
}

TEST(CodePage, CharactersOutsideTheCodePageBecomeQuestionMarks)
{
    EXPECT_EQ(utf8ToCp1252("\xE6\x97\xA5"), "?");          // CJK
    EXPECT_EQ(utf8ToCp1252("\xF0\x9F\x98\x80"), "?");      // emoji: one character, one '?'
    EXPECT_EQ(utf16ToCp1252(u"\U0001F600a"), "?a");        // surrogate pair
    EXPECT_EQ(utf8ToCp1252("a\xC3"), "a?");                // truncated sequence
    EXPECT_EQ(utf8ToCp1252("\xC0\x80"), "?");              // overlong form is not a NUL
}

} // namespace
} // namespace tarvelo

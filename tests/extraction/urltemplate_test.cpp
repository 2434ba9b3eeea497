#include "extraction/urltemplate.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tarvelo {
namespace {

class UrlTemplateTest : public ::testing::Test {
protected:
    test::ScopedTimeZone m_zone{"Europe/Berlin"};
};

TEST_F(UrlTemplateTest, ItemVariablesReplaceOnlyTheirFirstOccurrence)
{
    bool replaced = false;
    EXPECT_EQ(expandItemVariables("q?s=[&symbol]&n=[&symbol]", "IBM", "870747", &replaced), "q?s=870747&n=[&symbol]");
    EXPECT_TRUE(replaced);
    EXPECT_EQ(expandItemVariables("[&name]/[&name]", "A.B", "", &replaced), "A.B/[&name]");
    // The symbol is looked for in the text as the name left it.
    EXPECT_EQ(expandItemVariables("[&name]", "[&symbol]", "X"), "X");
    EXPECT_EQ(expandItemVariables("[&Name] [&sym]", "a", "b", &replaced), "[&Name] [&sym]");
    EXPECT_FALSE(replaced);
}

TEST_F(UrlTemplateTest, DateVariablesFollowThePassOrderAndOffsetRule)
{
    const TimeStamp july9 = makeLocalTime(2003, 7, 9, 14, 5, 30); // a Wednesday
    const TimeStamp march1 = makeLocalTime(2003, 3, 1, 0, 30);
    const struct {
        const char* text;
        int offset;
        TimeStamp now;
        const char* expected;
    } cases[] = {
        {"[&d]/[&m]/[&y] [&h]:[&min] [&dw] [&mstr]", 0, july9, "09/07/2003 14:05 3 Jul"},
        {"[&d][&d]", 0, july9, "0909"},
        {"[&d].[&m].[&y]", 1, march1, "28.02.2003"},
        {"[&y][&m][&d]", 1, march1, "20030228"},
        // The hour moves into the day before; month and year were taken before it.
        {"[&y][&m][&h]", 2, march1, "20030322"},
        {"[&m]/[&y] [&mstr]", 5, march1, "03/2003 Mar"},
        {"[&min]", 31, march1, "59"},
        {"[&dw][&d]", 1, march1, "528"}, // Friday the 28th
        {"plain", 3, july9, "plain"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(expandDateVariables(c.text, c.offset, c.now), c.expected) << c.text;
}

TEST_F(UrlTemplateTest, ReplacedFlagTellsWhetherARetryCanDiffer)
{
    bool replaced = true;
    expandDateVariables("http://x/quote?s=1", 0, 0, &replaced);
    EXPECT_FALSE(replaced);
    expandDateVariables("http://x/[&y]", 0, 0, &replaced);
    EXPECT_TRUE(replaced);
}

TEST_F(UrlTemplateTest, ImportRangeReplacesEveryOccurrence)
{
    const CalendarDate begin{2003, 1, 5};
    const CalendarDate end{2003, 3, 31};
    EXPECT_EQ(expandImportRange("a=[&day_begin]&b=[&month_begin]&c=[&month_begin-1]&d=[&year_begin]"
                                "&e=[&day_end]&f=[&month_end]&g=[&month_end-1]&h=[&year_end]&i=[&day_begin]",
                                begin, end),
              "a=5&b=1&c=0&d=2003&e=31&f=3&g=2&h=2003&i=5");
}

TEST_F(UrlTemplateTest, ExpansionsAreCutAt259Characters)
{
    const std::string longName(400, 'n');
    EXPECT_EQ(expandItemVariables("x[&name]", longName, "").size(), 259u);
    const std::string many(300, 'y');
    EXPECT_EQ(expandDateVariables(many + "[&y]", 0, 0).size(), 259u);
    std::string manyVariables;
    for (int i = 0; i < 200; ++i)
        manyVariables += "[&day_end]";
    std::string expected;
    while (expected.size() < 259)
        expected += "31";
    expected.resize(259);
    EXPECT_EQ(expandImportRange(manyVariables, {2003, 1, 5}, {2003, 12, 31}), expected);
}

} // namespace
} // namespace tarvelo

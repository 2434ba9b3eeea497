#include "extraction/search.h"

#include "extraction/page.h"
#include "platform/files.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

namespace tarvelo {
namespace {

StandardRule ruleFor(const char* text, int tags, int numbers, bool caseInsensitive = false)
{
    StandardRule rule;
    rule.textBeforeValue = text;
    rule.decimal = ",";
    rule.tagsToSkip = tags;
    rule.numbersToSkip = numbers;
    rule.caseInsensitive = caseInsensitive;
    return rule;
}

struct SearchCase {
    const char* page;
    StandardRule rule;
    int code;
    double value;
    const char* message;
};

TEST(standardSearch, WithoutTags)
{
    const SearchCase cases[] = {
        {"Last Trade: <b>22,65</b> EUR", ruleFor("Last Trade:", 0, 0), kFound, 22.65, ""},
        {"x: 1 2 3,5 EUR", ruleFor("x:", 0, 2), kFound, 3.5, ""},
        {"x: 1 2", ruleFor("x:", 0, 5), kNotFound, 0, "EOF"},
        {"x: - 7 EUR", ruleFor("x:", 0, 0), kFound, 7, ""}, // a lone minus is no number
        {"x: -7 EUR", ruleFor("x:", 0, 0), kFound, -7, ""},
        {"Kurs 1", ruleFor("Preis", 0, 0), kTextNotFound, 0, ""},
        {"Last Trade: 3,5 ", ruleFor("LAST TRADE", 0, 0, true), kFound, 3.5, ""},
        {"Last Trade: 3,5 ", ruleFor("LAST TRADE", 0, 0, false), kTextNotFound, 0, ""},
        {"M\xC4RZ 4,5 ", ruleFor("m\xE4rz", 0, 0, true), kFound, 4.5, ""},
        {"value 12", ruleFor("value", 0, 0), kNotFound, 0, "12"},
        {"v: -x", ruleFor("v:", 0, 0), kNotFound, 0, ""},
        {"v: 1", ruleFor("", 0, 0), kNotFound, 0, "1"},
    };
    for (const SearchCase& c : cases) {
        std::string page = c.page;
        const ExtractionResult r = standardSearchInPage(page, c.rule);
        EXPECT_EQ(r.code, c.code) << c.page;
        EXPECT_DOUBLE_EQ(r.value, c.value) << c.page;
        EXPECT_EQ(r.message, c.message) << c.page;
    }
}

TEST(standardSearch, WithTagsOnSemiHtmlPages)
{
    const SearchCase cases[] = {
        {"Last Trade: <>22,65<> EUR", ruleFor("Last Trade:", 0, 0), kNotFound, 0, "<>22,65<> EUR"},
        {"Last Trade: <>22,65<> EUR", ruleFor("Last Trade:", 1, 0), kFound, 22.65, ""},
        {"a: <>1<>2<>3,5 x", ruleFor("a:", 3, 0), kFound, 3.5, ""},
        {"a: <>1 2 3,5 x", ruleFor("a:", 1, 2), kFound, 3.5, ""},
        {"a: <>1 2<>3,5 x", ruleFor("a:", 1, 2), kNotFound, 0, "<>3,5 x"}, // a tag ends the run
        {"x: 1 2", ruleFor("x:", 0, 5), kNotFound, 0, ""},
        {"a: <>1", ruleFor("a:", 4, 0), kNotFound, 0, "EOF"},
        {"a: no tags", ruleFor("a:", 1, 0), kNotFound, 0, "EOF"},
        {"missing", ruleFor("a:", 1, 0), kTextNotFound, 0, ""},
    };
    for (const SearchCase& c : cases) {
        std::string page = c.page;
        const ExtractionResult r = standardSearchWithTagsInPage(page, c.rule);
        EXPECT_EQ(r.code, c.code) << c.page;
        EXPECT_DOUBLE_EQ(r.value, c.value) << c.page;
        EXPECT_EQ(r.message, c.message) << c.page;
    }
}

TEST(standardSearch, CaseInsensitiveTextFoundAcrossEveryBlockBoundary)
{
    // The lowered page is searched in blocks of 64 KiB; put the text across the seam
    // at every offset.
    const std::string text = "LAST TRADE:";
    for (std::size_t shift = 0; shift <= text.size(); ++shift) {
        std::string page(65536 - shift, 'x');
        page += "Last Trade: 3,5 EUR";
        const ExtractionResult r = standardSearchInPage(page, ruleFor(text.c_str(), 0, 0, true));
        EXPECT_EQ(r.code, kFound) << shift;
        EXPECT_DOUBLE_EQ(r.value, 3.5) << shift;
    }
    // The page itself is not changed, and the excerpt reads lowered.
    std::string page = "Kurs: <>ABC";
    const ExtractionResult r = standardSearchWithTagsInPage(page, ruleFor("KURS:", 0, 0, true));
    EXPECT_EQ(r.message, "<>abc");
    EXPECT_EQ(page, "Kurs: <>ABC");
    // A separator that is a letter compares without regard to case too.
    StandardRule letter = ruleFor("v:", 0, 0, true);
    letter.decimal = "D";
    EXPECT_DOUBLE_EQ(standardSearchInPage("v: 12d5 x", letter).value, 12.5);
}

TEST(standardSearch, ExcerptsAreCutAtFiftyCharacters)
{
    std::string page = "v: <>" + std::string(60, 'y');
    const ExtractionResult r = standardSearchWithTagsInPage(page, ruleFor("v: ", 0, 0));
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message, "<>" + std::string(48, 'y') + " [...]");
    EXPECT_EQ(excerpt(std::string(50, 'z')), std::string(50, 'z'));
}

TEST(standardSearch, NumbersBeyondTheRangeOfADoubleAreInvalidValues)
{
    const std::string nines(400, '9');
    const std::string page = "Kurs: " + nines + " EUR";
    ExtractionResult r = standardSearchInPage(page, ruleFor("Kurs:", 0, 0));
    EXPECT_EQ(r.code, kInvalidNumber);
    EXPECT_EQ(r.value, 0.0);
    EXPECT_EQ(r.message, excerpt(nines + " EUR"));
    RegExpRule expression;
    expression.expression = "Kurs: ([0-9]+)";
    r = regExpSearchInPage(page, expression, 0);
    EXPECT_EQ(r.code, kInvalidNumber);
    EXPECT_FALSE(r.success);
}

class RegExpSearchTest : public ::testing::Test {
protected:
    test::ScopedTimeZone m_zone{"Europe/Berlin"};
    void SetUp() override { m_now = makeLocalTime(2003, 7, 9, 14, 5, 42); }
    static RegExpRule ruleFor(const char* expression)
    {
        RegExpRule rule;
        rule.expression = expression;
        return rule;
    }
    TimeStamp m_now = 0;
};

TEST_F(RegExpSearchTest, ValueCaptureMarksWhereTheNumberBegins)
{
    const ExtractionResult r = regExpSearchInPage("Kurs: 22,65 EUR", ruleFor("Kurs: ([0-9]+)"), m_now);
    EXPECT_EQ(r.code, kFound);
    EXPECT_TRUE(r.success);
    EXPECT_DOUBLE_EQ(r.value, 22.65);
    EXPECT_EQ(r.time, makeLocalTime(2003, 7, 9, 14, 5, 0)); // seconds dropped
}

TEST_F(RegExpSearchTest, FailuresHaveTheirCodesAndMessages)
{
    RegExpRule rule = ruleFor("a(b)(c)");
    rule.quotationIndex = 3;
    ExtractionResult r = regExpSearchInPage("abc 1", rule, m_now);
    EXPECT_EQ(r.code, kMatchIndexMissing);
    EXPECT_FALSE(r.success);
    EXPECT_EQ(r.message, "RegExp Match index doesn't exist (max match index = 2).");

    r = regExpSearchInPage("page", ruleFor("Kurs: ([0-9]+)"), m_now);
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message, "No RegExp match found for 'Kurs: ([0-9]+)'");

    r = regExpSearchInPage("page", ruleFor("Kurs: ([0-9]+"), m_now);
    EXPECT_EQ(r.code, kRegExpCompileFailed);
    EXPECT_EQ(r.message.rfind("RegExp compilation failed at pos. 13: ", 0), 0u) << r.message;

    r = regExpSearchInPage("(*CRLF)", ruleFor("(*CRLF)x(" ), m_now);
    EXPECT_EQ(r.code, kRegExpCompileFailed);
    EXPECT_EQ(r.message.rfind("RegExp compilation failed at pos. 9: ", 0), 0u) << r.message;

    r = regExpSearchInPage("v=abc", ruleFor("v=(\\w+)"), m_now);
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message, "abc");

    r = regExpSearchInPage(std::string(30, 'a'), ruleFor("(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)(a)"),
                           m_now);
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message, "RegExp output vector has space for only 19 captured substrings\r\n");
}

TEST_F(RegExpSearchTest, DateAndTimeCaptures)
{
    RegExpRule rule = ruleFor("(\\S+) (\\S*) (\\S+) (\\S+):(\\S+) v=(\\d+)");
    rule.quotationIndex = 6;
    rule.extractDate = true;
    rule.dayIndex = 1;
    rule.monthIndex = 2;
    rule.yearIndex = 3;
    rule.extractTime = true;
    rule.hourIndex = 4;
    rule.minuteIndex = 5;
    const struct {
        const char* page;
        TimeStamp expected;
    } cases[] = {
        {"3 Mai 03 17:45 v=5 EUR", makeLocalTime(2003, 5, 3, 17, 45)},
        {"3 Ma 99 17:45 v=5 EUR", makeLocalTime(1999, 3, 3, 17, 45)},
        {"3 M 2001 17:45 v=5 EUR", makeLocalTime(2001, 3, 3, 17, 45)},
        {"3 Okt 2001 17:45 v=5 EUR", makeLocalTime(2001, 10, 3, 17, 45)},
        {"3 07 2001 17:45 v=5 EUR", makeLocalTime(2001, 7, 3, 17, 45)},
        {"3 13 2001 17:45 v=5 EUR", makeLocalTime(2001, 7, 3, 17, 45)},  // month left as it was
        {"32 M\xC4RZ 2001 17:45 v=5 EUR", makeLocalTime(2001, 3, 9, 17, 45)}, // day left as it was
        {"3  2001 8:5 v=5 EUR", makeLocalTime(2001, 1, 3, 8, 5)},      // an empty capture names January
        {"1 dezember 2001 25:00 v=5 EUR", makeLocalTime(2001, 12, 2, 1, 0)}, // hours run on
    };
    for (const auto& c : cases) {
        const ExtractionResult r = regExpSearchInPage(c.page, rule, m_now);
        EXPECT_EQ(r.code, kFound) << c.page << r.message;
        EXPECT_EQ(r.time, c.expected) << c.page;
        EXPECT_DOUBLE_EQ(r.value, 5) << c.page;
    }
}

TEST_F(RegExpSearchTest, DatesAndTimesThatMakeNoTimeStampFailNamingTheCapture)
{
    RegExpRule rule = ruleFor("v=(\\d+) y=(\\d+) h=(\\d+)");
    rule.extractDate = true;
    rule.dayIndex = -1;
    rule.monthIndex = -1;
    rule.yearIndex = 2;
    rule.extractTime = true;
    rule.hourIndex = 3;
    rule.minuteIndex = -1;
    const struct {
        const char* page;
        const char* message;
    } cases[] = {
        {"v=5 y=99999 h=10", "Invalid date/time from RegExp capture 2 (year): '99999'"},
        {"v=5 y=2003 h=2147483647", "Invalid date/time from RegExp capture 3 (hour): '2147483647'"},
        // Each alone makes a time stamp, together they run past 2038.
        {"v=5 y=2037 h=8784", "Invalid date/time from RegExp captures 2 (year): '2037', 3 (hour): '8784'"},
    };
    for (const auto& c : cases) {
        const ExtractionResult r = regExpSearchInPage(c.page, rule, m_now);
        EXPECT_EQ(r.code, kNotFound) << c.page;
        EXPECT_FALSE(r.success) << c.page;
        EXPECT_EQ(r.message, c.message) << c.page;
    }
    EXPECT_EQ(regExpSearchInPage("v=5 y=2003 h=10", rule, m_now).time, makeLocalTime(2003, 7, 9, 10, 5));

    // The import passes over that line, says why, and goes on.
    const ImportLines lines = importLinesInText("v=1 y=2003 h=10\nv=2 y=99999 h=10\nv=3 y=2003 h=11", rule, m_now);
    ASSERT_EQ(lines.records.size(), 2u);
    EXPECT_EQ(lines.records[0].time, makeLocalTime(2003, 7, 30, 10, 0));
    EXPECT_EQ(lines.records[1].time, makeLocalTime(2003, 7, 30, 11, 0));
    ASSERT_EQ(lines.skipped.size(), 1u);
    EXPECT_EQ(lines.skipped[0].line, 2u);
    EXPECT_EQ(lines.skipped[0].reason, "99999-07-30 is after 2038-01-19");
}

TEST_F(RegExpSearchTest, MonthNames)
{
    const struct {
        const char* capture;
        int month;
    } cases[] = {{"Mai", 5}, {"Ma", 3}, {"M", 3}, {"Okt", 10}, {"07", 7}, {"13", 0},  {"Janu", 1},
                 {"", 1},    {"m\xE4r", 3}, {"MAR\xC7O", 3}, {"out", 10}, {"Dez", 12}, {"x", 0}, {"fev", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(monthFromName(c.capture), c.month) << c.capture;
}

TEST_F(RegExpSearchTest, CatastrophicPatternsEndAsMatchingErrors)
{
    // Exponential backtracking at one starting position hits the match limit.
    ExtractionResult r = regExpSearchInPage(std::string(100000, 'a') + "!", ruleFor("(a+)+$"), m_now);
    EXPECT_EQ(r.message.rfind("RegExp matching error -", 0), 0u) << r.message;
    // Moderate work at each of a million starting positions hits the deadline.
    const std::string page(1000000, 'a');
    const auto started = std::chrono::steady_clock::now();
    r = regExpSearchInPage(page, ruleFor("a.*[!?]"), m_now);
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    EXPECT_EQ(r.code, kNotFound);
    EXPECT_EQ(r.message.rfind("RegExp matching error -", 0), 0u) << r.message;
    EXPECT_LT(seconds, 10.0); // bounded, never a hang
}

TEST_F(RegExpSearchTest, ImportMatchesEveryLine)
{
    RegExpRule rule = ruleFor("(\\d+)\\.(\\d+)\\.(\\d+);([0-9,]+)");
    rule.quotationIndex = 4;
    rule.extractDate = true;
    rule.dayIndex = 1;
    rule.monthIndex = 2;
    rule.yearIndex = 3;
    ImportLines lines = importLinesInText("01.02.2003;1,5\n02.02.2003;2,5\n", rule, m_now);
    EXPECT_EQ(lines.code, kNotFound);
    EXPECT_EQ(lines.message, "No match found!");
    EXPECT_FALSE(lines.stopped);
    ASSERT_EQ(lines.records.size(), 2u);
    EXPECT_EQ(lines.records[0].time, makeLocalTime(2003, 2, 1, 20, 0));
    EXPECT_DOUBLE_EQ(lines.records[1].value, 2.5);

    // The position moves to the end of the last substring, so a match whose last
    // capture takes the line break along consumes the whole text.
    rule.expression += "(\n)";
    lines = importLinesInText("01.02.2003;1,5\n02.02.2003;2,5\n", rule, m_now);
    EXPECT_EQ(lines.code, kFound);
    EXPECT_EQ(lines.records.size(), 2u);
}

TEST_F(RegExpSearchTest, ImportStopsOnlyForTheTemplate)
{
    RegExpRule rule = ruleFor("(\\d+);");
    rule.quotationIndex = 0;
    ImportLines lines = importLinesInText("\n12;\n13;", rule, m_now);
    EXPECT_EQ(lines.code, kMatchIndexMissing);
    EXPECT_EQ(lines.message, "Quotation value match place holder missing!");
    EXPECT_TRUE(lines.stopped);
    EXPECT_EQ(lines.stopLine, 2u);
    EXPECT_TRUE(lines.records.empty());

    rule.quotationIndex = 2;
    lines = importLinesInText("12;", rule, m_now);
    EXPECT_EQ(lines.message, "RegExp Match index doesn't exist (max match index = 1).");

    lines = importLinesInText("12;", ruleFor("(\\d+"), m_now);
    EXPECT_EQ(lines.code, kRegExpCompileFailed);

    // Defaults for parts not captured: day 30, this month and year, 20:00.
    lines = importLinesInText("11 22 ", ruleFor("(\\d+)"), m_now);
    ASSERT_EQ(lines.records.size(), 2u);
    EXPECT_EQ(lines.records[0].time, makeLocalTime(2003, 7, 30, 20, 0));

    lines = importLines("/nonexistent/file.csv", RegExpRule{}, 0);
    EXPECT_EQ(lines.code, kImportFileUnreadable);
    EXPECT_EQ(lines.message, "Could not open file!\n");
    EXPECT_TRUE(lines.stopped);
}

TEST_F(RegExpSearchTest, ImportAlwaysMovesOn)
{
    // Empty value captures give no number: each is passed over, one step at a time.
    ImportLines lines = importLinesInText("ab\ncd", ruleFor("(\\d*)"), m_now);
    EXPECT_TRUE(lines.records.empty());
    EXPECT_EQ(lines.skippedLines, 2u); // a line counts once however often it matched
    ASSERT_EQ(lines.skipped.size(), 2u);
    EXPECT_EQ(lines.skipped[1].line, 2u);
    EXPECT_EQ(lines.skipped[1].reason, "no value");

    lines = importLinesInText(std::string(1000, 'x'), ruleFor("(?=x)|(\\d+)?"), m_now);
    EXPECT_LE(lines.skipped.size(), ImportLines::kReportedSkips);
}

} // namespace
} // namespace tarvelo

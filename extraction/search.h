#pragma once

#include "extraction/numberparser.h"
#include "model/quotation.h"
#include "platform/localtime.h"
#include "platform/translation.h"

#include <string>
#include <string_view>
#include <vector>

// The extraction rules: where in a (converted) page the quotation stands.
namespace tarvelo {

struct ExtractionResult {
    int code = kNotFound;
    std::string message; // at most 259 characters; empty on success
    double value = 0.0;
    TimeStamp time = 0; // regular-expression search: the composed time, seconds 0
    bool success = false;
};

// The message of a regular-expression search without a match; "%1" is the expression.
inline constexpr const char* kNoRegExpMatch = TARVELO_TRANSLATE_NOOP("Search", "No RegExp match found for '%1'");

struct StandardRule {
    std::string textBeforeValue;
    std::string thousands;
    std::string decimal;
    int tagsToSkip = 0;
    int numbersToSkip = 0;
    bool caseInsensitive = true;
};

struct RegExpRule {
    std::string expression;
    int quotationIndex = 1;
    bool extractDate = false;
    int dayIndex = 2;
    int monthIndex = 3;
    int yearIndex = 4;
    bool extractTime = false;
    int hourIndex = 5;
    int minuteIndex = 6;
    bool caseInsensitive = true;
    std::string thousands;
    std::string decimal = ",";
};

// Where a standard search reads its number. code is kFound when the walk reached the
// place (at: where the number parser starts), kTextNotFound when the text before value
// is not in the page, kNotFound when the walk ran out of page or into a tag first (at:
// where it stopped; endOfPage when it ran off the page). textAt is where the text before
// value starts, when found. Case-insensitive rules find the text in the lowered page.
struct SearchWalk {
    int code = kTextNotFound;
    std::size_t textAt = std::string_view::npos;
    std::size_t at = 0;
    bool endOfPage = false;
};
SearchWalk walkStandardSearch(std::string_view page, const StandardRule& rule, bool withTags);

// The searches over a page in memory. The page holds no NUL bytes (loadPageForSearch
// blanks them) and a NUL follows its last byte, as in a std::string. Case-insensitive
// standard searches read the page's letters lowered; their excerpts are lowered too.
ExtractionResult standardSearchInPage(std::string_view page, const StandardRule& rule);
ExtractionResult standardSearchWithTagsInPage(std::string_view page, const StandardRule& rule);
ExtractionResult regExpSearchInPage(std::string_view page, const RegExpRule& rule, TimeStamp now);

// A line of an import file that matched but gave no quotation: its number (from 1) and
// why ("day 32 does not exist").
struct SkippedLine {
    std::size_t line = 0;
    std::string reason;
};

// What the repeated matching of an import found. A match whose date does not exist (day
// 32, 29 February 2005), whose moment no time stamp can hold, or whose value is not a
// finite number above 0 gives no record: its line is counted as skipped, the first
// kReportedSkips with their reasons, and the matching goes on. The matching ends at the
// end of the text or where no further match is found (code kNotFound, "No match
// found!"); it stops early, with stopped set and the code and message of the stop, at a
// matching error or when the template's captures do not fit the match.
struct ImportLines {
    static constexpr std::size_t kReportedSkips = 10;
    std::vector<Quotation> records; // in match order
    std::size_t skippedLines = 0;
    std::vector<SkippedLine> skipped;
    int code = kFound;
    std::string message;
    bool stopped = false;
    std::size_t stopLine = 0; // where it stopped
};
ImportLines importLinesInText(std::string_view text, const RegExpRule& rule, TimeStamp now);

// The same on a page file. A page file that cannot be read is searched as an empty page.
ExtractionResult standardSearch(const std::string& pageFile, const StandardRule& rule);
ExtractionResult standardSearchWithTags(const std::string& pageFile, const StandardRule& rule);
ExtractionResult regExpSearch(const std::string& pageFile, const RegExpRule& rule, TimeStamp now);
// A file that cannot be read stops with kImportFileUnreadable, "Could not open file!\n".
ImportLines importLines(const std::string& file, const RegExpRule& rule, TimeStamp now);

// The month (1 to 12) that a month capture names, or 0.
int monthFromName(std::string_view capture);

// The failure excerpt: the text cut to 50 characters, " [...]" when it was longer.
std::string excerpt(std::string_view text);

} // namespace tarvelo

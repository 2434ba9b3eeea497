#include "extraction/search.h"

#include "extraction/page.h"
#include "extraction/regexp.h"
#include "platform/translation.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <limits>

namespace tarvelo {

namespace {

constexpr std::size_t kMaxMessage = 259;
constexpr std::size_t kExcerptLength = 50;

std::string bounded(std::string text)
{
    if (text.size() > kMaxMessage)
        text.resize(kMaxMessage);
    return text;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isNumberRunChar(char c)
{
    return isDigit(c) || c == ',' || c == '.' || c == '-' || c == '+';
}

std::size_t nextNumberStart(std::string_view page, std::size_t p, bool tagAware)
{
    const std::size_t n = page.size();
    while (p < n && !isDigit(page[p])) {
        const char c = page[p];
        if ((c == '+' || c == '-') && (p + 1 == n || isDigit(page[p + 1])))
            break;
        if (tagAware && c == '<')
            break;
        ++p;
    }
    return p;
}

std::size_t passNumberRun(std::string_view page, std::size_t p)
{
    while (p < page.size() && isNumberRunChar(page[p]))
        ++p;
    return p;
}

struct PreparedRule {
    std::string text;
    std::string thousands;
    std::string decimal;
    bool lowered;
};

PreparedRule prepare(const StandardRule& rule)
{
    PreparedRule prepared{rule.textBeforeValue, rule.thousands, rule.decimal, rule.caseInsensitive};
    if (prepared.lowered) {
        lowerCp1252InPlace(prepared.text);
        lowerCp1252InPlace(prepared.thousands);
        lowerCp1252InPlace(prepared.decimal);
    }
    return prepared;
}

// Position just after the first occurrence of the text, or npos. Lowered, the page is
// lowered block by block into a buffer that overlaps the next block by the text's
// length, so the page itself stays untouched.
std::size_t findAfter(std::string_view page, const PreparedRule& rule)
{
    const std::string& text = rule.text;
    if (text.empty())
        return 0;
    if (!rule.lowered) {
        const void* found = memmem(page.data(), page.size(), text.data(), text.size());
        if (!found)
            return std::string_view::npos;
        return static_cast<std::size_t>(static_cast<const char*>(found) - page.data()) + text.size();
    }
    constexpr std::size_t kBlock = 64 * 1024;
    std::string lowered(kBlock + text.size(), '\0');
    for (std::size_t at = 0; at < page.size(); at += kBlock) {
        const std::size_t n = std::min(page.size() - at, kBlock + text.size() - 1);
        if (n < text.size())
            break;
        lowerCp1252(page.data() + at, n, lowered.data());
        const void* found = memmem(lowered.data(), n, text.data(), text.size());
        if (found)
            return at + static_cast<std::size_t>(static_cast<const char*>(found) - lowered.data()) + text.size();
    }
    return std::string_view::npos;
}

std::string excerptAt(std::string_view page, std::size_t p, const PreparedRule& rule)
{
    const std::string text = excerpt(page.substr(p));
    return rule.lowered ? lowerCp1252Copy(text) : text;
}

ExtractionResult parsed(std::string_view page, std::size_t p, const PreparedRule& rule)
{
    ExtractionResult result;
    const std::string_view at = page.substr(p);
    result.code = rule.lowered ? parseQuotationLowered(at, rule.thousands, rule.decimal, result.value)
                               : parseQuotation(at, rule.thousands, rule.decimal, result.value);
    if (result.code != kFound)
        result.message = excerptAt(page, p, rule);
    result.success = result.code == kFound;
    return result;
}

ExtractionResult failure(int code, std::string message)
{
    ExtractionResult result;
    result.code = code;
    result.message = bounded(std::move(message));
    return result;
}

// atoi: leading blanks and a sign, then digits; no digits reads 0. Saturates.
int readInteger(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    while (i < text.size() && isDigit(text[i])) {
        value = value * 10 + (text[i++] - '0');
        if (value > INT_MAX)
            value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// Where a captured part of a moment came from: the capture's index and text (a view
// into the text searched, which outlives the moment).
struct PartSource {
    int index = -1; // -1: not captured
    std::string_view text;
};

struct Moment {
    int year = 1970, month = 1, day = 1, hour = 0, minute = 0;
    PartSource yearFrom, monthFrom, dayFrom, hourFrom, minuteFrom;
};

struct MomentPart {
    const char* name;
    int Moment::*value;
    PartSource Moment::*source;
};

constexpr MomentPart kMomentParts[] = {
    {TARVELO_TRANSLATE_NOOP("Search", "year"), &Moment::year, &Moment::yearFrom},
    {TARVELO_TRANSLATE_NOOP("Search", "month"), &Moment::month, &Moment::monthFrom},
    {TARVELO_TRANSLATE_NOOP("Search", "day"), &Moment::day, &Moment::dayFrom},
    {TARVELO_TRANSLATE_NOOP("Search", "hour"), &Moment::hour, &Moment::hourFrom},
    {TARVELO_TRANSLATE_NOOP("Search", "minute"), &Moment::minute, &Moment::minuteFrom},
};

Moment momentOf(TimeStamp now)
{
    const std::tm f = breakLocalTime(now);
    Moment m;
    m.year = f.tm_year + 1900;
    m.month = f.tm_mon + 1;
    m.day = f.tm_mday;
    m.hour = f.tm_hour;
    m.minute = f.tm_min;
    return m;
}

TimeStamp compose(const Moment& m)
{
    return makeLocalTime(m.year, m.month, m.day, m.hour, m.minute, 0);
}

// Composes the moment. When its parts make no time stamp (year 99999, hour 2147483647),
// the message names the captures to blame: each captured part that alone, put into the
// starting moment, makes none; or every captured part when only together they do.
bool composeCaptured(const Moment& moment, const Moment& start, TimeStamp& time, std::string& message)
{
    time = compose(moment);
    if (time != -1)
        return true;
    time = 0;
    std::vector<const MomentPart*> blamed;
    std::vector<const MomentPart*> captured;
    for (const MomentPart& part : kMomentParts) {
        if ((moment.*part.source).index < 0)
            continue;
        captured.push_back(&part);
        Moment alone = start;
        alone.*part.value = moment.*part.value;
        if (compose(alone) == -1)
            blamed.push_back(&part);
    }
    if (blamed.empty())
        blamed = captured;
    std::string parts;
    for (std::size_t i = 0; i < blamed.size(); ++i) {
        const PartSource& source = moment.*blamed[i]->source;
        parts += fill(i > 0 ? translate("Search", ", %1 (%2): '%3'") : translate("Search", "%1 (%2): '%3'"),
                      {std::to_string(source.index), translate("Search", blamed[i]->name), excerpt(source.text)});
    }
    message = blamed.empty()        ? translate("Search", "Invalid date/time")
            : blamed.size() == 1 ? fill(translate("Search", "Invalid date/time from RegExp capture %1"), {parts})
                                 : fill(translate("Search", "Invalid date/time from RegExp captures %1"), {parts});
    return false;
}

// One substring of a match: whether it took part, its text, and the text from its
// start onwards (what the number readers read).
struct Capture {
    bool set = false;
    std::string_view text;
    std::string_view onwards;
};

Capture captureOf(const RegExp& re, int i, std::string_view subject, std::string_view text)
{
    const std::size_t start = re.start(i);
    const std::size_t end = re.end(i);
    Capture c;
    c.set = start != std::string_view::npos && start <= text.size();
    if (c.set) {
        c.text = subject.substr(start, end - start);
        c.onwards = text.substr(start);
    }
    return c;
}

// Takes the date or time part that substring i names into the moment. A year below
// twoDigitYears counts from 1900 (50 and above) or 2000. A day, month or year that
// cannot be is left out; when why is given, it says which.
void takeMomentPart(const RegExpRule& rule, int i, const Capture& c, int twoDigitYears, Moment& moment,
                    std::string* why)
{
    const auto take = [&](int Moment::*part, PartSource Moment::*source, int value) {
        moment.*part = value;
        moment.*source = {i, c.text};
    };
    if (rule.extractDate) {
        if (i == rule.dayIndex) {
            const int day = readInteger(c.onwards);
            if (day >= 1 && day <= 31)
                take(&Moment::day, &Moment::dayFrom, day);
            else if (why && c.set)
                *why = fill(translate("Search", "day %1 does not exist"), {std::to_string(day)});
        } else if (i == rule.monthIndex) {
            if (const int month = monthFromName(c.text); month != 0)
                take(&Moment::month, &Moment::monthFrom, month);
            else if (why)
                *why = fill(translate("Search", "month %1 does not exist"), {excerpt(c.text)});
        } else if (i == rule.yearIndex) {
            int year = readInteger(c.onwards);
            if (year >= 0) {
                if (year < twoDigitYears)
                    year += year < 50 ? 2000 : 1900;
                take(&Moment::year, &Moment::yearFrom, year);
            } else if (why) {
                *why = fill(translate("Search", "year %1 does not exist"), {std::to_string(year)});
            }
        }
    }
    if (rule.extractTime) {
        if (i == rule.hourIndex)
            take(&Moment::hour, &Moment::hourFrom, readInteger(c.onwards));
        else if (i == rule.minuteIndex)
            take(&Moment::minute, &Moment::minuteFrom, readInteger(c.onwards));
    }
}

// Handles the substrings of one match: the value, and the date and time parts.
// Returns the parser's code for the value (kNotFound when the value index named no
// substring); message holds the excerpt when the value did not parse.
int takeSubstrings(const RegExp& re, int count, std::string_view subject, std::string_view text,
                   const RegExpRule& rule, int valueIndex, double& value, Moment& moment, std::string& message)
{
    int code = kNotFound;
    for (int i = 0; i < count; ++i) {
        const Capture c = captureOf(re, i, subject, text);
        if (i == valueIndex) {
            code = parseQuotation(c.onwards, rule.thousands, rule.decimal, value);
            message = code == kFound ? std::string() : excerpt(c.text);
        }
        takeMomentPart(rule, i, c, 1900, moment, nullptr);
    }
    return code;
}

// A negative index stands for a part the rule does not capture (the import's template
// without hour and minute, say): the part keeps its default and is not checked.
bool indicesExist(const RegExpRule& rule, int valueIndex, int count)
{
    const auto inRange = [&](int i) { return i < 0 || i <= count - 1; };
    if (!inRange(valueIndex))
        return false;
    if (rule.extractDate && !(inRange(rule.dayIndex) && inRange(rule.monthIndex) && inRange(rule.yearIndex)))
        return false;
    if (rule.extractTime && !(inRange(rule.hourIndex) && inRange(rule.minuteIndex)))
        return false;
    return true;
}

std::string matchError(int rc)
{
    if (rc == 0)
        return fill(translate("Search", "RegExp output vector has space for only %1 captured substrings"),
                    {std::to_string(RegExp::kMaxSubstrings - 1)})
             + "\r\n";
    return fill(translate("Search", "RegExp matching error %1"), {std::to_string(rc)});
}

std::string indexError(int count)
{
    return fill(translate("Search", "RegExp Match index doesn't exist (max match index = %1)."),
                {std::to_string(count - 1)});
}

bool compile(RegExp& re, const RegExpRule& rule, ExtractionResult& result)
{
    if (re.compile(rule.expression, rule.caseInsensitive))
        return true;
    result = failure(kRegExpCompileFailed, fill(translate("Search", "RegExp compilation failed at pos. %1: %2"),
                                                {std::to_string(re.errorOffset()), re.errorText()}));
    return false;
}

} // namespace

std::string excerpt(std::string_view text)
{
    if (text.size() > kExcerptLength)
        return std::string(text.substr(0, kExcerptLength)) + " [...]";
    return std::string(text);
}

int monthFromName(std::string_view capture)
{
    static const std::vector<std::pair<int, std::vector<std::string_view>>> kNames = {
        {1, {"jan", "january", "januar", "janeiro"}},
        {2, {"feb", "fev", "february", "februar", "fevereiro"}},
        {3, {"mar", "m\xE4r", "march", "m\xE4rz", "mar\xE7o"}},
        {4, {"apr", "abr", "april", "abril"}},
        {5, {"may", "mai", "maio"}},
        {6, {"jun", "june", "juni", "junho"}},
        {7, {"jul", "july", "juli", "julho"}},
        {8, {"aug", "ago", "august", "agosto"}},
        {9, {"sep", "set", "september", "setembro"}},
        {10, {"oct", "okt", "out", "october", "oktober", "outubro"}},
        {11, {"nov", "november", "novembro"}},
        {12, {"dec", "dez", "december", "dezember", "decembro"}},
    };
    const std::string lowered = lowerCp1252Copy(capture);
    for (const auto& [month, names] : kNames) {
        for (const std::string_view name : names) {
            if (name.starts_with(lowered))
                return month;
        }
    }
    const int number = readInteger(capture);
    return number >= 1 && number <= 12 ? number : 0;
}

namespace {

SearchWalk walk(std::string_view view, const PreparedRule& prepared, const StandardRule& rule, bool withTags)
{
    SearchWalk w;
    std::size_t p = findAfter(view, prepared);
    if (p == std::string_view::npos)
        return w;
    w.textAt = p - prepared.text.size();
    w.code = kNotFound;
    const auto stop = [&](std::size_t at, bool endOfPage) {
        w.at = at;
        w.endOfPage = endOfPage;
        return w;
    };
    if (!withTags) {
        if (rule.numbersToSkip > 0) {
            for (int skipped = 0;;) {
                p = passNumberRun(view, nextNumberStart(view, p, false));
                if (p < view.size() && ++skipped == rule.numbersToSkip)
                    break;
                if (p >= view.size())
                    return stop(view.size(), true);
            }
        }
    } else {
        for (int i = 0; i < rule.tagsToSkip && p < view.size(); ++i) {
            const std::size_t tag = view.find("<>", p);
            if (tag == std::string_view::npos)
                return stop(view.size(), true);
            p = tag + 2;
        }
        p = nextNumberStart(view, p, true);
        if (rule.numbersToSkip > 0) {
            for (int skipped = 0;;) {
                p = passNumberRun(view, p);
                if (p < view.size() && ++skipped == rule.numbersToSkip)
                    break;
                if (p >= view.size() || view[p] == '<')
                    return stop(p, false);
                p = nextNumberStart(view, p, true);
            }
        }
        if (p < view.size() && view[p] == '<')
            return stop(p, false);
    }
    w.code = kFound;
    w.at = nextNumberStart(view, p, false);
    return w;
}

ExtractionResult walkAndParse(std::string_view view, const StandardRule& rule, bool withTags)
{
    const PreparedRule prepared = prepare(rule);
    const SearchWalk w = walk(view, prepared, rule, withTags);
    if (w.code == kTextNotFound)
        return failure(kTextNotFound, "");
    if (w.code != kFound)
        return failure(kNotFound, w.endOfPage ? "EOF" : excerptAt(view, w.at, prepared));
    return parsed(view, w.at, prepared);
}

} // namespace

SearchWalk walkStandardSearch(std::string_view page, const StandardRule& rule, bool withTags)
{
    return walk(page, prepare(rule), rule, withTags);
}

ExtractionResult standardSearchInPage(std::string_view view, const StandardRule& rule)
{
    return walkAndParse(view, rule, false);
}

ExtractionResult standardSearchWithTagsInPage(std::string_view view, const StandardRule& rule)
{
    return walkAndParse(view, rule, true);
}

ExtractionResult regExpSearchInPage(std::string_view page, const RegExpRule& rule, TimeStamp now)
{
    ExtractionResult result;
    const Moment start = momentOf(now);
    Moment moment = start;
    RegExp re;
    if (!compile(re, rule, result))
        return result;
    // The whole page, its terminating NUL included.
    const std::string_view subject(page.data(), page.size() + 1);
    const int rc = re.match(subject, 0);
    if (rc == RegExp::kErrorNoMatch)
        return failure(kNotFound, fill(translate("Search", kNoRegExpMatch), {rule.expression}));
    if (rc <= 0)
        return failure(kNotFound, matchError(rc));

    std::string message;
    double value = 0.0;
    const int code =
        takeSubstrings(re, rc, subject, page, rule, rule.quotationIndex, value, moment, message);
    result.value = value;
    std::string timeMessage;
    const bool composed = composeCaptured(moment, start, result.time, timeMessage);
    if (!indicesExist(rule, rule.quotationIndex, rc)) {
        result.code = kMatchIndexMissing;
        result.message = bounded(indexError(rc));
        return result;
    }
    if (code == kFound && !composed) {
        result.code = kNotFound;
        result.message = bounded(timeMessage);
        return result;
    }
    result.code = code;
    result.message = bounded(message);
    result.success = code == kFound;
    return result;
}

namespace {

// Line numbers (from 1) of positions in a text, counted on as the positions grow. A
// line ends with "\n", "\r\n" or a lone "\r".
class LineCounter {
public:
    explicit LineCounter(std::string_view text) : m_text(text) {}
    std::size_t lineAt(std::size_t position)
    {
        for (; m_at < position && m_at < m_text.size(); ++m_at) {
            const char c = m_text[m_at];
            if (c == '\n' || (c == '\r' && (m_at + 1 == m_text.size() || m_text[m_at + 1] != '\n')))
                ++m_line;
        }
        return m_line;
    }

private:
    std::string_view m_text;
    std::size_t m_at = 0;
    std::size_t m_line = 1;
};

bool isLeapYear(std::int64_t year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

std::string twoDigits(int n)
{
    return (n < 10 ? "0" : "") + std::to_string(n);
}

std::string dateText(int year, int month, int day)
{
    return std::to_string(year) + "-" + twoDigits(month) + "-" + twoDigits(day);
}

// The first and the last moment a time stamp can hold, in local time, for the reasons
// that name them: a date, with its time when the moment refused falls on that date.
struct TimeLimit {
    std::tm fields;
    std::string text(int year, int month, int day, int hour, int minute) const
    {
        const int limitYear = fields.tm_year + 1900;
        const int limitMonth = fields.tm_mon + 1;
        std::string moment = dateText(year, month, day);
        std::string limit = dateText(limitYear, limitMonth, fields.tm_mday);
        if (year == limitYear && month == limitMonth && day == fields.tm_mday) {
            moment += " " + twoDigits(hour) + ":" + twoDigits(minute);
            limit += " " + twoDigits(fields.tm_hour) + ":" + twoDigits(fields.tm_min);
        }
        return fill(year < 1970 ? translate("Search", "%1 is before %2") : translate("Search", "%1 is after %2"),
                    {moment, limit});
    }
};

// One match of the import read into a moment and a value; reason is empty when the
// match gives a record. Parts that the match captures replace those of the moment;
// captures that take part but name no day, month or year make the reason. A day never
// captured is the start's 30th, taken as the month's last day where the month is
// shorter.
std::string readImportMatch(const RegExp& re, int count, std::string_view text, const RegExpRule& rule, Moment& moment,
                            double& value)
{
    std::string reason;
    const auto problem = [&](std::string why) {
        if (reason.empty())
            reason = std::move(why);
    };
    std::string valueProblem;
    for (int i = 0; i < count; ++i) {
        const Capture c = captureOf(re, i, text, text);
        if (i == rule.quotationIndex) {
            std::size_t read = 0;
            const int code = parseImportValue(c.onwards, rule.thousands, rule.decimal, value, read);
            if (code != kFound || !(value > 0.0)) {
                const std::string shown = excerpt(read > 0 ? c.onwards.substr(0, read) : c.text);
                if (code == kNotFound)
                    valueProblem = shown.empty() ? translate("Search", "no value")
                                                 : fill(translate("Search", "value %1 is not a number"), {shown});
                else if (code != kFound)
                    valueProblem = fill(translate("Search", "value %1 is not a finite number"), {shown});
                else
                    valueProblem = fill(translate("Search", "value %1 is not above 0"), {shown});
            }
        }
        // Two or three digits count from 1900 or 2000; four are the year.
        std::string why;
        takeMomentPart(rule, i, c, 1000, moment, &why);
        if (!why.empty())
            problem(std::move(why));
    }
    if (reason.empty() && moment.day > daysInMonth(moment.year, moment.month) && moment.dayFrom.index >= 0)
        problem(fill(translate("Search", "%1 does not exist"), {dateText(moment.year, moment.month, moment.day)}));
    if (reason.empty())
        reason = std::move(valueProblem);
    return reason;
}

} // namespace

ImportLines importLinesInText(std::string_view text, const RegExpRule& rule, TimeStamp now)
{
    ImportLines lines;
    const auto stop = [&](int code, std::string message) {
        lines.code = code;
        lines.message = bounded(std::move(message));
        lines.stopped = true;
        return std::move(lines);
    };
    Moment start = momentOf(now);
    start.day = 30;
    start.hour = 20;
    start.minute = 0;
    Moment moment = start;
    RegExp re;
    ExtractionResult compiled;
    if (!compile(re, rule, compiled))
        return stop(compiled.code, compiled.message);
    LocalTimeConverter converter;
    const TimeLimit first{breakLocalTime(std::numeric_limits<TimeStamp>::min())};
    const TimeLimit last{breakLocalTime(std::numeric_limits<TimeStamp>::max())};
    LineCounter counter(text);
    std::size_t lastSkipped = 0;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::string_view rest = text.substr(position);
        const int rc = re.match(rest, 0);
        if (rc == RegExp::kErrorNoMatch) {
            lines.code = kNotFound;
            lines.message = translate("Search", "No match found!");
            return lines;
        }
        // The line a match stands on: that of its first character that ends no line.
        const auto lineOfMatch = [&] {
            std::size_t at = position + (rc > 0 ? re.start(0) : 0);
            while (at < text.size() && (text[at] == '\r' || text[at] == '\n'))
                ++at;
            return counter.lineAt(at);
        };
        if (rc <= 0) {
            lines.stopLine = lineOfMatch();
            return stop(kNotFound, matchError(rc));
        }
        if (!indicesExist(rule, rule.quotationIndex, rc)) {
            lines.stopLine = lineOfMatch();
            return stop(kMatchIndexMissing, indexError(rc));
        }
        if (rule.quotationIndex < 1) {
            lines.stopLine = lineOfMatch();
            return stop(kMatchIndexMissing, translate("Search", "Quotation value match place holder missing!"));
        }
        double value = 0.0;
        std::string reason = readImportMatch(re, rc, rest, rule, moment, value);
        if (reason.empty()) {
            int day = moment.day;
            if (moment.dayFrom.index < 0)
                day = std::min(day, daysInMonth(moment.year, moment.month));
            const TimeStamp time = converter.makeLocalTime(moment.year, moment.month, day, moment.hour, moment.minute, 0);
            if (time != -1)
                lines.records.push_back(Quotation{time, value});
            else
                reason = (moment.year < 1970 ? first : last).text(moment.year, moment.month, day, moment.hour,
                                                                   moment.minute);
        }
        if (!reason.empty()) {
            const std::size_t line = lineOfMatch();
            if (line != lastSkipped) {
                ++lines.skippedLines;
                lastSkipped = line;
                if (lines.skipped.size() < ImportLines::kReportedSkips)
                    lines.skipped.push_back({line, std::move(reason)});
            }
        }
        // An empty match at the position would not move on; step over one character.
        const std::size_t advance = re.end(rc - 1);
        position += advance > 0 ? advance : 1;
    }
    return lines;
}

ExtractionResult standardSearch(const std::string& pageFile, const StandardRule& rule)
{
    SearchPage page;
    loadPageForSearch(pageFile, page);
    return standardSearchInPage(page.text(), rule);
}

ExtractionResult standardSearchWithTags(const std::string& pageFile, const StandardRule& rule)
{
    SearchPage page;
    loadPageForSearch(pageFile, page);
    return standardSearchWithTagsInPage(page.text(), rule);
}

ExtractionResult regExpSearch(const std::string& pageFile, const RegExpRule& rule, TimeStamp now)
{
    SearchPage page;
    loadPageForSearch(pageFile, page);
    return regExpSearchInPage(page.text(), rule, now);
}

ImportLines importLines(const std::string& file, const RegExpRule& rule, TimeStamp now)
{
    SearchPage text;
    if (!loadPageForSearch(file, text)) {
        ImportLines lines;
        lines.code = kImportFileUnreadable;
        lines.message = translate("Search", "Could not open file!") + "\n";
        lines.stopped = true;
        return lines;
    }
    return importLinesInText(text.text(), rule, now);
}

} // namespace tarvelo

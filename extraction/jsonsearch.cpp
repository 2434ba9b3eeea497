#include "extraction/jsonsearch.h"

#include "platform/codepage.h"
#include "platform/localtime.h"
#include "platform/translation.h"
#include "platform/utf8.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

namespace tarvelo {

namespace {

constexpr std::size_t kMaxMessage = 259;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string cut(std::string message)
{
    return std::string(utf8Cut(message, kMaxMessage));
}

ExtractionResult failure(int code, std::string message)
{
    ExtractionResult result;
    result.code = code;
    result.message = cut(std::move(message));
    return result;
}

// A quoted key at path[i] (the quote); i is left after the closing quote.
bool quotedKey(std::string_view path, std::size_t& i, std::string& key)
{
    const char quote = path[i++];
    while (i < path.size() && path[i] != quote) {
        if (path[i] == '\\' && i + 1 < path.size())
            ++i;
        key.push_back(path[i++]);
    }
    if (i >= path.size())
        return false;
    ++i;
    return true;
}

bool bracketStep(std::string_view path, std::size_t& i, JsonStep& step, std::string& problem)
{
    const std::size_t open = i++;
    if (i < path.size() && (path[i] == '"' || path[i] == '\'')) {
        if (!quotedKey(path, i, step.key)) {
            problem = fill(translate("Search", "the quoted key at %1 does not end"), {std::to_string(open + 1)});
            return false;
        }
    } else {
        const std::size_t start = i;
        if (i < path.size() && path[i] == '-')
            ++i;
        const std::size_t digits = i;
        while (i < path.size() && isDigit(path[i]))
            ++i;
        if (i == digits || i - digits > 15) {
            problem = fill(translate("Search", "expected a number or a quoted key after the \"[\" at %1"),
                           {std::to_string(open + 1)});
            return false;
        }
        step.isIndex = true;
        step.index = std::stoll(std::string(path.substr(start, i - start)));
    }
    if (i >= path.size() || path[i] != ']') {
        problem = fill(translate("Search", "expected \"]\" at %1"), {std::to_string(i + 1)});
        return false;
    }
    ++i;
    return true;
}

// The rule's value of a JSON value found.
struct ReadValue {
    int code = kNotFound;
    double value = 0.0;
    std::string message;
};

std::string kindName(JsonValue::Kind kind)
{
    switch (kind) {
    case JsonValue::Kind::Null:
        return "null";
    case JsonValue::Kind::Boolean:
        return translate("Search", "true or false");
    case JsonValue::Kind::Array:
        return translate("Search", "an array");
    case JsonValue::Kind::Object:
        return translate("Search", "an object");
    default:
        return translate("Search", "no number");
    }
}

ReadValue readNumber(const JsonValue& found, const JsonRule& rule, std::string_view path)
{
    ReadValue read;
    if (found.kind == JsonValue::Kind::Number) {
        read.code = std::isfinite(found.number) ? kFound : kInvalidNumber;
        read.value = read.code == kFound ? found.number : 0.0;
        return read;
    }
    if (found.kind != JsonValue::Kind::Text) {
        read.code = kInvalidNumber;
        read.message = fill(translate("Search", "JSON path %1 holds %2, not a number"),
                            {std::string(path), kindName(found.kind)});
        return read;
    }
    std::string_view text = found.text;
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    std::size_t used = 0;
    read.code = parseImportValue(text, rule.thousands, rule.decimal, read.value, used);
    // The number must take the whole figure: "1.234,56" read with a "." decimal stops
    // at the comma, and "1 234.5" read with a "," thousands separator at the blank;
    // neither is a quotation.
    std::size_t after = used;
    while (after < text.size() && isBlank(text[after]))
        ++after;
    const bool separatorFollows = used < text.size() && (text[used] == '.' || text[used] == ',');
    const bool digitsFollow = after < text.size() && isDigit(text[after]);
    if (read.code == kFound && (separatorFollows || digitsFollow))
        read.code = kInvalidNumber;
    if (read.code != kFound) {
        read.code = kInvalidNumber;
        read.value = 0.0;
        read.message = excerpt(found.text);
    }
    return read;
}

// "HH:MM" or "HH:MM:SS" at the start of text; i is left after it.
bool readClock(std::string_view text, std::size_t& i, int& hour, int& minute, int& second)
{
    const auto two = [&](int& field, int high) {
        if (i + 2 > text.size() || !isDigit(text[i]) || !isDigit(text[i + 1]))
            return false;
        field = (text[i] - '0') * 10 + (text[i + 1] - '0');
        i += 2;
        return field <= high;
    };
    second = 0;
    if (!two(hour, 23) || i >= text.size() || text[i] != ':' || (++i, !two(minute, 59)))
        return false;
    if (i < text.size() && text[i] == ':') {
        ++i;
        if (!two(second, 60))
            return false;
        if (i < text.size() && (text[i] == '.' || text[i] == ',')) {
            ++i;
            while (i < text.size() && isDigit(text[i]))
                ++i;
        }
    }
    return true;
}

constexpr std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2;
    const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool validDay(int year, int month, int day)
{
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1])
        return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month != 2 || day <= 28 || leap;
}

bool readIsoDate(std::string_view text, std::int64_t& time, bool& hasTime)
{
    std::size_t i = 0;
    const auto digits = [&](std::size_t n, int& field) {
        if (i + n > text.size())
            return false;
        field = 0;
        for (std::size_t k = 0; k < n; ++k) {
            if (!isDigit(text[i + k]))
                return false;
            field = field * 10 + (text[i + k] - '0');
        }
        i += n;
        return true;
    };
    int year = 0, month = 0, day = 0;
    if (!digits(4, year) || i >= text.size() || text[i++] != '-' || !digits(2, month) || i >= text.size()
        || text[i++] != '-' || !digits(2, day) || !validDay(year, month, day))
        return false;
    int hour = 0, minute = 0, second = 0;
    hasTime = false;
    if (i < text.size() && (text[i] == 'T' || text[i] == 't' || text[i] == ' ')) {
        ++i;
        if (!readClock(text, i, hour, minute, second))
            return false;
        hasTime = true;
    }
    std::optional<int> offsetMinutes;
    if (i < text.size() && (text[i] == 'Z' || text[i] == 'z')) {
        offsetMinutes = 0;
        ++i;
    } else if (hasTime && i < text.size() && (text[i] == '+' || text[i] == '-')) {
        const int sign = text[i++] == '-' ? -1 : 1;
        int offsetHours = 0, offsetMinute = 0;
        if (!digits(2, offsetHours))
            return false;
        if (i < text.size() && text[i] == ':')
            ++i;
        if (i < text.size() && !digits(2, offsetMinute))
            return false;
        offsetMinutes = sign * (offsetHours * 60 + offsetMinute);
    }
    if (i != text.size())
        return false;
    if (offsetMinutes) {
        time = daysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second
               - std::int64_t{*offsetMinutes} * 60;
        return true;
    }
    const TimeStamp local = makeLocalTime(year, month, day, hour, minute, second);
    if (local == -1 && !(year == 1969 && month == 12 && day == 31))
        return false;
    time = local;
    return true;
}

bool readUnixTime(double number, std::int64_t& time)
{
    if (!std::isfinite(number))
        return false;
    if (std::fabs(number) >= 1e11)
        number /= 1000.0;
    if (number < std::numeric_limits<TimeStamp>::min() || number > std::numeric_limits<TimeStamp>::max())
        return false;
    time = static_cast<std::int64_t>(std::floor(number));
    return true;
}

// The JSON data of a page: the page itself, or a value inside one of its scripts.
struct Located {
    const JsonReader* reader = nullptr;
    JsonValue value;
    std::string refusal; // why the data was not read
};

// Finds a tag ("<script", "</script": marks, then a lower-case word) in a page, its word
// in lower case, upper case or capitalised, as pages write tag names. The word is looked
// for with memmem in each spelling, which passes over a page full of tags quickly, and
// the marks are checked in front of it. Each spelling's next place is kept between
// calls, so a page of many scripts is still read once per spelling, also for spellings
// it never uses.
class TagFinder {
public:
    TagFinder(std::string_view text, std::string_view what) : m_text(text)
    {
        const std::size_t marks = what.find_first_of("abcdefghijklmnopqrstuvwxyz");
        m_prefix = what.substr(0, marks);
        for (std::string& spelling : m_spellings)
            spelling = std::string(what.substr(marks));
        for (char& c : m_spellings[1])
            c = static_cast<char>(c - 32);
        m_spellings[2][0] = static_cast<char>(m_spellings[2][0] - 32);
    }

    // Where the tag stands from `from` on; `from` never goes back between calls.
    std::size_t find(std::size_t from)
    {
        for (int spelling = 0; spelling < 3; ++spelling) {
            if (!m_searched || (m_found[spelling] != std::string_view::npos && m_found[spelling] < from))
                m_found[spelling] = next(spelling, from);
        }
        m_searched = true;
        for (;;) {
            const int spelling = static_cast<int>(std::min_element(m_found, m_found + 3) - m_found);
            const std::size_t at = m_found[spelling];
            if (at == std::string_view::npos || m_text.compare(at, m_prefix.size(), m_prefix) == 0)
                return at;
            m_found[spelling] = next(spelling, at + 1);
        }
    }

private:
    std::size_t next(int spelling, std::size_t at) const
    {
        at += m_prefix.size();
        if (at >= m_text.size())
            return std::string_view::npos;
        const std::string& word = m_spellings[spelling];
        const void* hit = memmem(m_text.data() + at, m_text.size() - at, word.data(), word.size());
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - m_text.data()) - m_prefix.size()
                   : std::string_view::npos;
    }

    std::string_view m_text;
    std::string_view m_prefix;
    std::string m_spellings[3];
    std::size_t m_found[3] = {};
    bool m_searched = false;
};

// Whether a JSON object or array may begin at text[i]: "{" before a key or "}", "["
// before a value or "]". Script code has many brackets that open no JSON at all.
bool mayOpenJson(std::string_view text, std::size_t i)
{
    std::size_t k = i + 1;
    while (k < text.size() && isBlank(text[k]))
        ++k;
    if (k >= text.size())
        return false;
    const char next = text[k];
    if (text[i] == '{')
        return next == '"' || next == '}';
    return next == '"' || next == '{' || next == '[' || next == ']' || next == '-' || isDigit(next)
           || next == 't' || next == 'f' || next == 'n';
}

const char* kTooDeep = TARVELO_TRANSLATE_NOOP("Search", "The JSON data nests deeper than 256 levels; it is not read");

// Parses the value at text[0] into reader; an empty refusal and Ok when it is JSON.
JsonReader::Status parseAt(std::string_view text, JsonReader& reader, std::size_t& length)
{
    const JsonExtent extent = jsonValueExtent(text);
    if (extent.depth > kMaxJsonDepth)
        return JsonReader::Status::TooDeep;
    length = extent.length;
    if (extent.length == 0)
        return JsonReader::Status::Invalid;
    return reader.parse(text.substr(0, extent.length));
}

// The page as UTF-8: as it is when it is valid UTF-8, else read as Windows-1252.
std::string_view recodedPage(std::string_view page, std::string& recoded)
{
    if (isValidUtf8(page))
        return page;
    recoded = cp1252ToUtf8(page);
    return recoded;
}

// How a page's JSON data was looked through.
struct JsonScan {
    bool pageIsJson = false; // the page is one JSON value itself
    JsonReader::Status status = JsonReader::Status::Ok; // the page's, when it is JSON
    std::string error;       // why the page is no valid JSON, and where
    std::size_t errorAt = 0;
    std::size_t scripts = 0; // the scripts looked through, in an HTML page
    bool tooDeep = false;    // data nested too deep was met (in a script: the rest of it was passed over)
    bool tooMuch = false;    // the scripts' brackets took more walking than the budget allows
    bool stopped = false;    // visit returned true
};

// How many bytes the walks and parses of a page's scripts may take together, as a
// multiple of the page's size: script code nests values that are no JSON around ones
// that are, and each level is walked again.
constexpr std::size_t kScanBudgetFactor = 8;
constexpr std::size_t kScanBudgetMinimum = std::size_t{1} << 20;

// Parses into reader the page (UTF-8) when it is JSON, else each JSON object or array
// in its scripts in turn, and calls visit with each until it returns true.
JsonScan scanPageJson(std::string_view page, JsonReader& reader, const std::function<bool(const JsonReader&)>& visit)
{
    JsonScan scan;
    std::size_t start = 0;
    if (page.substr(0, 3) == "\xEF\xBB\xBF")
        start = 3;
    while (start < page.size() && isBlank(page[start]))
        ++start;
    if (start < page.size() && (page[start] == '{' || page[start] == '[')) {
        scan.pageIsJson = true;
        std::size_t length = 0;
        scan.status = parseAt(page.substr(start), reader, length);
        scan.tooDeep = scan.status == JsonReader::Status::TooDeep;
        if (scan.status == JsonReader::Status::Ok) {
            scan.stopped = visit(reader);
        } else if (!scan.tooDeep) {
            scan.error = length == 0 ? translate("Search", "its brackets do not close") : reader.error();
            scan.errorAt = length == 0 ? page.size() : start + reader.offset();
        }
        return scan;
    }
    const std::size_t budget = std::max(kScanBudgetMinimum, page.size() * kScanBudgetFactor);
    std::size_t spent = 0;
    TagFinder scriptStart(page, "<script");
    TagFinder scriptEnd(page, "</script");
    for (std::size_t at = scriptStart.find(0); at != std::string_view::npos; at = scriptStart.find(at)) {
        const std::size_t open = page.find('>', at);
        if (open == std::string_view::npos)
            break;
        std::size_t close = scriptEnd.find(open);
        if (close == std::string_view::npos)
            close = page.size();
        ++scan.scripts;
        const std::string_view script = page.substr(open + 1, close - open - 1);
        for (std::size_t i = 0; i < script.size();) {
            const std::size_t next = script.find_first_of("{[", i);
            if (next == std::string_view::npos)
                break;
            i = next + 1;
            if (!mayOpenJson(script, next))
                continue;
            std::size_t length = 0;
            const JsonReader::Status status = parseAt(script.substr(next), reader, length);
            if (status == JsonReader::Status::TooDeep) {
                // This script is passed over; a later one may still hold the data.
                scan.tooDeep = true;
                break;
            }
            // The walk and the parse each went over the value's extent (or, for brackets
            // that never close, the rest of the script).
            spent += 2 * (length == 0 ? script.size() - next : length);
            if (spent > budget) {
                scan.tooMuch = true;
                return scan;
            }
            if (status != JsonReader::Status::Ok)
                continue;
            if (visit(reader)) {
                scan.stopped = true;
                return scan;
            }
            i = next + length; // a whole value done with: go on after it
        }
        at = close;
    }
    return scan;
}

} // namespace

bool parseJsonPath(std::string_view path, std::vector<JsonStep>& steps, std::string& problem)
{
    steps.clear();
    std::size_t i = 0;
    while (i < path.size() && isBlank(path[i]))
        ++i;
    while (!path.empty() && isBlank(path.back()))
        path.remove_suffix(1);
    if (i >= path.size() || path[i] != '$') {
        problem = translate("Search", "a JSON path begins with \"$\"");
        return false;
    }
    ++i;
    while (i < path.size()) {
        JsonStep step;
        if (path[i] == '.') {
            ++i;
            if (i < path.size() && path[i] == '[') {
                if (!bracketStep(path, i, step, problem))
                    return false;
            } else {
                const std::size_t start = i;
                while (i < path.size() && path[i] != '.' && path[i] != '[')
                    ++i;
                if (i == start) {
                    problem = fill(translate("Search", "expected a key after the \".\" at %1"), {std::to_string(start)});
                    return false;
                }
                step.key = std::string(path.substr(start, i - start));
            }
        } else if (path[i] == '[') {
            if (!bracketStep(path, i, step, problem))
                return false;
        } else {
            problem = fill(translate("Search", "expected \".\" or \"[\" at %1"), {std::to_string(i + 1)});
            return false;
        }
        steps.push_back(std::move(step));
    }
    return true;
}

std::string expandJsonPathVariables(std::string_view path, std::string_view name, std::string_view symbol)
{
    constexpr std::string_view kName = "[&name]";
    constexpr std::string_view kSymbol = "[&symbol]";
    bool nameDone = false;
    bool symbolDone = false;
    std::string out;
    char quote = 0;
    for (std::size_t i = 0; i < path.size();) {
        std::string_view value;
        std::size_t length = 0;
        if (!nameDone && path.substr(i, kName.size()) == kName) {
            value = name;
            length = kName.size();
            nameDone = true;
        } else if (!symbolDone && path.substr(i, kSymbol.size()) == kSymbol) {
            value = symbol;
            length = kSymbol.size();
            symbolDone = true;
        }
        if (length == 0) {
            const char c = path[i++];
            out.push_back(c);
            if (quote) {
                if (c == '\\' && i < path.size())
                    out.push_back(path[i++]);
                else if (c == quote)
                    quote = 0;
            } else if ((c == '"' || c == '\'') && out.size() >= 2 && out[out.size() - 2] == '[') {
                quote = c;
            }
            continue;
        }
        i += length;
        const auto escaped = [&](char q) {
            std::string text;
            for (char c : value) {
                if (c == '\\' || c == q)
                    text.push_back('\\');
                text.push_back(c);
            }
            return text;
        };
        if (quote) {
            out += escaped(quote);
        } else if (!out.empty() && (out.back() == '.' || out.back() == '$' || out.back() == ']')) {
            if (out.back() == '.')
                out.pop_back();
            out += "[\"" + escaped('"') + "\"]";
        } else {
            out += value;
        }
    }
    return out;
}

bool readJsonDate(const JsonValue& value, std::int64_t& time, bool& hasTime)
{
    hasTime = true;
    if (value.kind == JsonValue::Kind::Number)
        return readUnixTime(value.number, time);
    if (value.kind != JsonValue::Kind::Text)
        return false;
    std::string_view text = value.text;
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.size() <= 15 && std::all_of(text.begin(), text.end(), isDigit))
        return readUnixTime(std::stod(std::string(text)), time);
    return readIsoDate(text, time, hasTime);
}

void forEachJsonInPage(std::string_view page, const std::function<bool(const JsonReader&)>& visit)
{
    // No bracket, no JSON: most pages of tags and numbers are passed over at once.
    if (page.size() > kMaxJsonBytes
        || (std::memchr(page.data(), '{', page.size()) == nullptr && std::memchr(page.data(), '[', page.size()) == nullptr))
        return;
    std::string recoded;
    JsonReader reader;
    scanPageJson(recodedPage(page, recoded), reader, visit);
}

ExtractionResult jsonSearchInPage(std::string_view page, const JsonRule& rule, TimeStamp now)
{
    if (page.size() > kMaxJsonBytes)
        return failure(kNotFound,
                       translate("Search", "The page is larger than 64 MiB; JSON data is read from smaller pages only"));
    std::vector<JsonStep> valueSteps, dateSteps, timeSteps;
    std::string problem;
    if (!parseJsonPath(rule.valuePath, valueSteps, problem))
        return failure(kNotFound, fill(translate("Search", "JSON path %1: %2"), {rule.valuePath, problem}));
    if (!rule.datePath.empty() && !parseJsonPath(rule.datePath, dateSteps, problem))
        return failure(kNotFound, fill(translate("Search", "JSON date path %1: %2"), {rule.datePath, problem}));
    if (!rule.timePath.empty() && !parseJsonPath(rule.timePath, timeSteps, problem))
        return failure(kNotFound, fill(translate("Search", "JSON time path %1: %2"), {rule.timePath, problem}));

    std::string recoded;
    const std::string_view text = recodedPage(page, recoded);
    JsonReader reader;
    JsonValue found;
    const JsonScan scan = scanPageJson(text, reader, [&](const JsonReader& data) {
        found = data.find(valueSteps);
        return found.kind != JsonValue::Kind::Missing;
    });
    if (!scan.stopped && scan.tooDeep)
        return failure(kNotFound, translate("Search", kTooDeep));
    if (!scan.stopped && scan.tooMuch)
        return failure(kNotFound, translate("Search", "The page's scripts are too tangled to look through for JSON data; "
                                                      "it is not read"));
    if (scan.pageIsJson && scan.status != JsonReader::Status::Ok)
        return failure(kNotFound, fill(translate("Search", "The page is not valid JSON (%1 at byte %2)"),
                                       {scan.error, std::to_string(scan.errorAt)}));
    if (!scan.stopped) {
        if (scan.pageIsJson)
            return failure(kNotFound, fill(translate("Search", "JSON path %1 not found in the page"), {rule.valuePath}));
        if (scan.scripts == 0)
            return failure(kNotFound, fill(translate("Search", "JSON path %1 not found: the page is no JSON and has no script"),
                                           {rule.valuePath}));
        return failure(kNotFound, fill(translate("Search", "JSON path %1 not found in the page's %2 script(s)"),
                                       {rule.valuePath, std::to_string(scan.scripts)}));
    }

    const ReadValue read = readNumber(found, rule, rule.valuePath);
    ExtractionResult result;
    result.code = read.code;
    result.value = read.value;
    result.message = cut(read.message);
    if (result.code != kFound)
        return result;

    // The moment: the date path's, the time path's hour and minute on the date's day.
    std::int64_t time = now;
    bool dated = false;
    bool hasTime = false;
    if (!rule.datePath.empty()) {
        const JsonValue date = reader.find(dateSteps);
        if (date.kind == JsonValue::Kind::Missing)
            return failure(kNotFound, fill(translate("Search", "JSON date path %1 not found beside the value"), {rule.datePath}));
        if (!readJsonDate(date, time, hasTime))
            return failure(kInvalidNumber, fill(translate("Search", "JSON date path %1 holds no date: %2"),
                                                {rule.datePath, date.kind == JsonValue::Kind::Text ? excerpt(date.text)
                                                                                                   : kindName(date.kind)}));
        // Checked before the time of day is put in: that works on the moment as a TimeStamp.
        if (time < std::numeric_limits<TimeStamp>::min() || time > std::numeric_limits<TimeStamp>::max())
            return failure(kInvalidNumber,
                           fill(translate("Search", "JSON date path %1 holds a date out of range"), {rule.datePath}));
        dated = true;
    }
    if (!rule.timePath.empty()) {
        const JsonValue clock = reader.find(timeSteps);
        if (clock.kind == JsonValue::Kind::Missing)
            return failure(kNotFound, fill(translate("Search", "JSON time path %1 not found beside the value"), {rule.timePath}));
        int hour = 0, minute = 0, second = 0;
        std::size_t i = 0;
        std::string_view text = clock.text;
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        if (clock.kind != JsonValue::Kind::Text || !readClock(text, i, hour, minute, second))
            return failure(kInvalidNumber, fill(translate("Search", "JSON time path %1 holds no time of day: %2"),
                                                {rule.timePath, clock.kind == JsonValue::Kind::Text ? excerpt(clock.text)
                                                                                                    : kindName(clock.kind)}));
        const std::tm day = breakLocalTime(static_cast<TimeStamp>(time));
        const TimeStamp composed = makeLocalTime(day.tm_year + 1900, day.tm_mon + 1, day.tm_mday, hour, minute);
        if (composed == -1)
            return failure(kInvalidNumber, fill(translate("Search", "JSON time path %1 holds no time of day: %2"),
                                                {rule.timePath, excerpt(clock.text)}));
        time = composed;
        dated = true;
    } else if (dated && !hasTime) {
        // A date without a time of day: the time now, on that day.
        const std::tm clockNow = breakLocalTime(now);
        const std::tm day = breakLocalTime(static_cast<TimeStamp>(time));
        time = makeLocalTime(day.tm_year + 1900, day.tm_mon + 1, day.tm_mday, clockNow.tm_hour, clockNow.tm_min);
    }
    if (time < std::numeric_limits<TimeStamp>::min() || time > std::numeric_limits<TimeStamp>::max())
        return failure(kInvalidNumber,
                           fill(translate("Search", "JSON date path %1 holds a date out of range"), {rule.datePath}));
    if (dated)
        time -= breakLocalTime(static_cast<TimeStamp>(time)).tm_sec;
    result.time = static_cast<TimeStamp>(time);
    result.success = true;
    return result;
}

} // namespace tarvelo

#include "cli/commandoptions.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace tarvelo {

std::optional<long long> parseInteger(const std::string& text, long long low, long long high)
{
    long long value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end || begin == end || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<double> parseNumber(const std::string& text)
{
    double value = 0;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::fixed);
    if (ec != std::errc() || ptr != end || begin == end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool CommandOptions::parse(const std::vector<std::string>& args, const std::set<std::string>& known,
                           const std::set<std::string>& knownFlags)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() > 2 && arg.starts_with("--")) {
            const std::string name = arg.substr(2);
            if (knownFlags.count(name)) {
                m_flags.insert(name);
                continue;
            }
            if (!known.count(name)) {
                m_error = "unknown option '" + arg + "'";
                return false;
            }
            if (i + 1 >= args.size()) {
                m_error = "option '" + arg + "' needs a value";
                return false;
            }
            m_values[name] = args[++i];
        } else {
            m_positional.push_back(arg);
        }
    }
    return true;
}

std::optional<std::string> CommandOptions::text(const std::string& name) const
{
    const auto found = m_values.find(name);
    if (found == m_values.end())
        return std::nullopt;
    return found->second;
}

bool CommandOptions::integer(const std::string& name, int low, int high, std::optional<int>& value)
{
    value.reset();
    const auto raw = text(name);
    if (!raw)
        return true;
    const auto number = parseInteger(*raw, low, high);
    if (!number) {
        m_error = "--" + name + " takes a whole number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    value = static_cast<int>(*number);
    return true;
}

bool CommandOptions::integers(const std::string& name, std::size_t n, std::optional<std::vector<int>>& values)
{
    values.reset();
    const auto raw = text(name);
    if (!raw)
        return true;
    std::vector<int> parsed;
    std::size_t start = 0;
    for (;;) {
        const auto comma = raw->find(',', start);
        const auto number = parseInteger(raw->substr(start, comma == std::string::npos ? std::string::npos
                                                                                       : comma - start),
                                         -1000000, 1000000);
        if (!number)
            break;
        parsed.push_back(static_cast<int>(*number));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (parsed.size() != n || std::count(raw->begin(), raw->end(), ',') != static_cast<long>(n - 1)) {
        m_error = "--" + name + " takes " + std::to_string(n) + " whole numbers separated by commas";
        return false;
    }
    values = parsed;
    return true;
}

std::optional<CalendarDate> parseDateOption(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    const auto year = parseInteger(text.substr(0, 4), 1900, 9999);
    const auto month = parseInteger(text.substr(5, 2), 1, 12);
    const auto day = parseInteger(text.substr(8, 2), 1, 31);
    if (!year || !month || !day)
        return std::nullopt;
    // The day must exist (no 30 February) and a time stamp must hold it.
    const TimeStamp noon = makeLocalTime(static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day), 12);
    const std::tm fields = breakLocalTime(noon);
    if (noon == -1 || fields.tm_mon + 1 != *month || fields.tm_mday != *day)
        return std::nullopt;
    return CalendarDate{static_cast<int>(*year), static_cast<int>(*month), static_cast<int>(*day)};
}

bool CommandOptions::number(const std::string& name, std::optional<double>& value)
{
    const auto raw = text(name);
    if (!raw)
        return true;
    value = parseNumber(*raw);
    if (!value) {
        m_error = "--" + name + " takes a number such as 12.5";
        return false;
    }
    return true;
}

std::optional<TimeStamp> parseMinuteOption(const std::string& text)
{
    const auto date = parseDateOption(text.substr(0, 10));
    const auto hour = text.size() == 16 && text[10] == ' ' && text[13] == ':' ? parseInteger(text.substr(11, 2), 0, 23)
                                                                              : std::nullopt;
    const auto minute = hour ? parseInteger(text.substr(14, 2), 0, 59) : std::nullopt;
    if (!date || !minute)
        return std::nullopt;
    const TimeStamp time =
        makeLocalTime(date->year, date->month, date->day, static_cast<int>(*hour), static_cast<int>(*minute));
    if (time == -1) // beyond 2038-01-19 03:14 UTC on the last day
        return std::nullopt;
    return time;
}

namespace {

// Whether the text is a day of the calendar written YYYY-MM-DD, whatever its year.
bool isCalendarDate(const std::string& text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    const auto year = parseInteger(text.substr(0, 4), 1, 9999);
    const auto month = parseInteger(text.substr(5, 2), 1, 12);
    const auto day = parseInteger(text.substr(8, 2), 1, 31);
    if (!year || !month || !day)
        return false;
    constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (*year % 4 == 0 && *year % 100 != 0) || *year % 400 == 0;
    return *day <= (*month == 2 && !leap ? 28 : kDays[*month - 1]);
}

} // namespace

std::string dateOptionProblem(const std::string& option, const std::string& text, bool minutes,
                              const std::string& formatProblem)
{
    const bool wellFormed =
        isCalendarDate(text.substr(0, 10))
        && (!minutes ? text.size() == 10
                     : text.size() == 16 && text[10] == ' ' && text[13] == ':' && parseInteger(text.substr(11, 2), 0, 23)
                           && parseInteger(text.substr(14, 2), 0, 59));
    if (!wellFormed)
        return formatProblem;
    return "--" + option + ": " + text + " is out of range; dates from 1901-12-14 to 2038-01-19 can be stored";
}

} // namespace tarvelo

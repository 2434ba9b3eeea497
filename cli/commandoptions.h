#pragma once

#include "extraction/urltemplate.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tarvelo {

// "--name value" options and plain arguments of one command.
class CommandOptions {
public:
    // Splits args; options must be among known (names without "--"), flags among
    // knownFlags. Returns false with error set on an unknown or incomplete option.
    bool parse(const std::vector<std::string>& args, const std::set<std::string>& known,
               const std::set<std::string>& knownFlags = {});

    const std::vector<std::string>& positional() const { return m_positional; }
    bool has(const std::string& name) const { return m_values.count(name) != 0; }
    bool flag(const std::string& name) const { return m_flags.count(name) != 0; }
    std::optional<std::string> text(const std::string& name) const;
    // An integer option within [low, high]; false with error set when it is not one.
    bool integer(const std::string& name, int low, int high, std::optional<int>& value);
    // A finite number option ("12.5"); false with error set when it is not one.
    bool number(const std::string& name, std::optional<double>& value);
    // A comma-separated list of exactly n integers.
    bool integers(const std::string& name, std::size_t n, std::optional<std::vector<int>>& values);
    const std::string& error() const { return m_error; }

private:
    std::vector<std::string> m_positional;
    std::map<std::string, std::string> m_values;
    std::set<std::string> m_flags;
    std::string m_error;
};

// A date written YYYY-MM-DD that exists and that a time stamp can hold, or nothing.
std::optional<CalendarDate> parseDateOption(const std::string& text);
// A local time written "YYYY-MM-DD HH:MM" that a time stamp can hold, or nothing.
std::optional<TimeStamp> parseMinuteOption(const std::string& text);
// Why parseDateOption (minutes false) or parseMinuteOption (true) refused the text of
// the option: its date lies outside what a time stamp holds (1901-12-14 to 2038-01-19),
// or else formatProblem.
std::string dateOptionProblem(const std::string& option, const std::string& text, bool minutes,
                              const std::string& formatProblem);

// A finite decimal number written with a point, whatever the locale, or nothing.
std::optional<double> parseNumber(const std::string& text);

// A whole decimal integer within [low, high].
std::optional<long long> parseInteger(const std::string& text, long long low, long long high);

} // namespace tarvelo

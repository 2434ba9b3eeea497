#include "extraction/urltemplate.h"

#include <array>
#include <string>

namespace tarvelo {

namespace {

void bound(std::string& text)
{
    if (text.size() > kMaxExpandedText)
        text.resize(kMaxExpandedText);
}

bool replaceFirst(std::string& text, std::string_view variable, std::string_view value)
{
    const auto at = text.find(variable);
    if (at == std::string::npos)
        return false;
    text.replace(at, variable.size(), value);
    return true;
}

std::string twoDigits(int n)
{
    std::string s = std::to_string(n);
    return s.size() < 2 ? "0" + s : s;
}

constexpr std::array<const char*, 12> kMonthShort = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

} // namespace

std::string expandItemVariables(std::string_view text, std::string_view name, std::string_view symbol,
                                bool* replaced)
{
    std::string out(text);
    bool any = replaceFirst(out, "[&name]", name);
    any = replaceFirst(out, "[&symbol]", symbol) || any;
    bound(out);
    if (replaced)
        *replaced = any;
    return out;
}

std::string expandDateVariables(std::string_view text, int offset, TimeStamp now, bool* replaced)
{
    std::string out(text);
    std::int64_t time = now;
    int pendingOffset = offset;
    bool first = true;
    bool replacedInFirstPass = false;
    // Each pass replaces the first occurrence of every variable; passes repeat until
    // one replaces nothing. Every replacement removes a variable from the text, so
    // the passes end; the bound keeps a template of many variables from growing.
    for (;;) {
        bool any = false;
        const auto fields = [&] { return breakLocalTime(static_cast<TimeStamp>(time)); };
        const auto shift = [&](std::int64_t unit) {
            if (pendingOffset != 0) {
                time -= static_cast<std::int64_t>(pendingOffset) * unit;
                pendingOffset = 0;
            }
        };
        struct Step {
            const char* variable;
            std::int64_t unit; // 0: never shifts
        };
        static constexpr Step kPass[] = {{"[&d]", 86400}, {"[&dw]", 86400}, {"[&m]", 0},    {"[&mstr]", 0},
                                         {"[&y]", 0},     {"[&h]", 3600},   {"[&min]", 60}};
        for (const Step& step : kPass) {
            const std::string_view variable = step.variable;
            const auto at = out.find(variable);
            if (at == std::string::npos)
                continue;
            if (step.unit != 0)
                shift(step.unit);
            const std::tm f = fields();
            std::string value;
            if (variable == "[&d]")
                value = twoDigits(f.tm_mday);
            else if (variable == "[&dw]")
                value = std::to_string(f.tm_wday);
            else if (variable == "[&m]")
                value = twoDigits(f.tm_mon + 1);
            else if (variable == "[&mstr]")
                value = kMonthShort[static_cast<std::size_t>(f.tm_mon)];
            else if (variable == "[&y]")
                value = std::to_string(f.tm_year + 1900);
            else if (variable == "[&h]")
                value = twoDigits(f.tm_hour);
            else
                value = twoDigits(f.tm_min);
            out.replace(at, variable.size(), value);
            any = true;
        }
        if (first)
            replacedInFirstPass = any;
        first = false;
        if (!any)
            break;
    }
    bound(out);
    if (replaced)
        *replaced = replacedInFirstPass;
    return out;
}

std::string expandImportRange(std::string_view text, const CalendarDate& begin, const CalendarDate& end)
{
    const std::pair<const char*, int> variables[] = {
        {"[&day_begin]", begin.day},  {"[&month_begin]", begin.month}, {"[&month_begin-1]", begin.month - 1},
        {"[&year_begin]", begin.year}, {"[&day_end]", end.day},       {"[&month_end]", end.month},
        {"[&month_end-1]", end.month - 1}, {"[&year_end]", end.year},
    };
    std::string out(text);
    for (const auto& [variable, number] : variables) {
        const std::string value = std::to_string(number);
        const std::string_view name = variable;
        std::size_t from = 0;
        for (;;) {
            const auto at = out.find(name, from);
            if (at == std::string::npos)
                break;
            out.replace(at, name.size(), value);
            from = at + value.size();
        }
    }
    bound(out);
    return out;
}

} // namespace tarvelo

#include "cli/cli.h"
#include "cli/commandoptions.h"
#include "cli/commands.h"
#include "model/portfoliodocument.h"
#include "platform/localtime.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace tarvelo {

namespace {

constexpr std::array<std::string_view, 2> kAxesWords{"percent", "nominal"};
constexpr std::array<std::string_view, 3> kValuesWords{"none", "percent", "nominal"};

// "RRGGBB" or "#RRGGBB" -> 0x00BBGGRR, as the items store their colour.
std::optional<std::uint32_t> parseColour(std::string text)
{
    if (!text.empty() && text[0] == '#')
        text.erase(0, 1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    const std::uint32_t rgb = static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
    return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
}

std::string colourText(std::uint32_t colour)
{
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

// A period bound: "off", or a day (its first second for --after, its last for --until).
bool periodOption(CommandOptions& o, const char* name, bool endOfDay, StoredFlag& enabled, std::int32_t& time,
                  std::string& problem)
{
    const auto text = o.text(name);
    if (!text)
        return true;
    if (*text == "off") {
        enabled = false;
        return true;
    }
    const auto day = parseDateOption(*text);
    if (!day) {
        problem = std::string("--") + name + " takes a date as YYYY-MM-DD, or off";
        return false;
    }
    enabled = true;
    time = endOfDay ? makeLocalTime(day->year, day->month, day->day, 23, 59, 59)
                    : makeLocalTime(day->year, day->month, day->day);
    return true;
}

// A named kind given by its word; the words are in the order of the kind's stored numbers.
template <typename Kind>
bool chooseOption(CommandOptions& o, const char* name, std::span<const std::string_view> words, Kind& field,
                  std::string& problem)
{
    const auto text = o.text(name);
    if (!text)
        return true;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == *text) {
            field = static_cast<Kind>(i);
            return true;
        }
    }
    problem = std::string("--") + name + " takes " + std::string(words[0]);
    for (std::size_t i = 1; i < words.size(); ++i)
        problem += (i + 1 == words.size() ? " or " : ", ") + std::string(words[i]);
    return false;
}

// Applies the options to the chart settings; false with the problem when one is refused.
bool applyGraphicOptions(CommandOptions& o, ChartOptions& chart, std::string& problem)
{
    if (!periodOption(o, "after", false, chart.periodStartEnabled, chart.periodStart, problem)
        || !periodOption(o, "until", true, chart.periodEndEnabled, chart.periodEnd, problem)
        || !chooseOption(o, "axes", kAxesWords, chart.valueOnAxes, problem)
        || !chooseOption(o, "values", kValuesWords, chart.valueOnGraphic, problem))
        return false;
    if (const auto text = o.text("colour")) {
        const auto colour = parseColour(*text);
        if (!colour) {
            problem = "--colour takes a colour as RRGGBB in hexadecimal, such as 0000FF for blue";
            return false;
        }
        chart.lineColour = *colour;
    }
    if (const auto text = o.text("grid")) {
        if (*text != "0" && *text != "1") {
            problem = "--grid takes 0 or 1";
            return false;
        }
        chart.showGrid = *text == "1";
    }
    return true;
}

std::string wordOf(std::span<const std::string_view> words, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < words.size() ? std::string(words[index])
                                                                          : std::to_string(index);
}

void printGraphic(std::ostream& out, const ChartOptions& chart)
{
    out << "after " << formatLocalTime(chart.periodStart, "%Y-%m-%d") << (chart.periodStartEnabled ? " on" : " off")
        << '\n'
        << "until " << formatLocalTime(chart.periodEnd, "%Y-%m-%d") << (chart.periodEndEnabled ? " on" : " off")
        << '\n'
        << "axes " << wordOf(kAxesWords, storedNumber(chart.valueOnAxes)) << '\n'
        << "values " << wordOf(kValuesWords, storedNumber(chart.valueOnGraphic)) << '\n'
        << "colour " << colourText(chart.lineColour) << '\n'
        << "grid " << (chart.showGrid ? "on" : "off") << '\n';
}

} // namespace

int graphicCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"after", "until", "axes", "values", "colour", "grid"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 2)
        return wrongCall(c.err, "graphic takes a portfolio file and an item name");
    // Wrong values are refused before the file is touched.
    ChartOptions probe;
    std::string problem;
    if (!applyGraphicOptions(o, probe, problem))
        return wrongCall(c.err, problem);
    const std::string& path = o.positional()[0];
    const bool changing = o.has("after") || o.has("until") || o.has("axes") || o.has("values") || o.has("colour")
                          || o.has("grid");
    PortfolioDocument doc;
    if (!(changing ? openForChange(doc, path, c.err) : openPortfolio(doc, path, c.err)))
        return kExitError;
    const ItemKey pos = findNamedItem(doc, o.positional()[1], c.err);
    if (!pos)
        return kExitFailed;
    ItemSettings settings = doc.item(pos)->settings();
    applyGraphicOptions(o, settings.chart, problem);
    if (settings != doc.item(pos)->settings()) {
        doc.replaceItemSettings(pos, settings);
        if (!savePortfolio(doc, path, c.err))
            return kExitError;
    }
    printGraphic(c.out, settings.chart);
    return kExitOk;
}

} // namespace tarvelo

#include "charts/comparisonchart.h"
#include "cli/cli.h"
#include "cli/commandoptions.h"
#include "cli/commands.h"
#include "model/portfoliodocument.h"
#include "model/portfoliolist.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "platform/localtime.h"
#include "platform/profile.h"
#include "render/chartimage.h"
#include "render/reportpainter.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace tarvelo {

namespace {

constexpr int kSmallestSide = 16;
constexpr int kLargestSide = 10000;

// "WIDTHxHEIGHT", each side within the bounds; the problem otherwise.
std::optional<ChartImageSize> parseSize(const std::string& text, std::string& problem)
{
    const std::size_t cross = text.find_first_of("xX");
    const auto width = cross == std::string::npos ? std::nullopt : parseInteger(text.substr(0, cross), 1, 1 << 30);
    const auto height = width ? parseInteger(text.substr(cross + 1), 1, 1 << 30) : std::nullopt;
    if (!height) {
        problem = "--size takes WIDTHxHEIGHT in pixels, such as 960x540";
        return std::nullopt;
    }
    if (*width < kSmallestSide || *width > kLargestSide || *height < kSmallestSide || *height > kLargestSide) {
        problem = "--size: width and height must be between " + std::to_string(kSmallestSide) + " and "
                  + std::to_string(kLargestSide) + " pixels";
        return std::nullopt;
    }
    ChartImageSize size;
    size.width = static_cast<int>(*width);
    size.height = static_cast<int>(*height);
    return size;
}

bool dayOption(CommandOptions& o, const std::string& name, std::optional<CalendarDate>& day, std::string& problem)
{
    const auto text = o.text(name);
    if (!text)
        return true;
    day = parseDateOption(*text);
    if (!day)
        problem = "--" + name + " takes a date as YYYY-MM-DD";
    return day.has_value();
}

bool before(const CalendarDate& a, const CalendarDate& b)
{
    return std::tie(a.year, a.month, a.day) < std::tie(b.year, b.month, b.day);
}

// The names of --items, split at commas; empty when one of them is empty.
std::vector<std::string> itemNames(const std::string& list)
{
    std::vector<std::string> names;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        names.push_back(list.substr(start, comma - start));
        if (names.back().empty())
            return {};
        if (comma == std::string::npos)
            return names;
        start = comma + 1;
    }
}

// The named items (all without names) in the list's order, as the window marks them, so
// that a chart or report starts where the window's would for the same selection.
int listedItems(const PortfolioDocument& doc, const std::vector<std::string>& names,
                std::vector<const SecurityItem*>& items, std::ostream& err)
{
    std::vector<const SecurityItem*> chosen;
    for (const std::string& name : names) {
        const ItemKey key = findNamedItem(doc, name, err);
        if (!key)
            return kExitFailed;
        chosen.push_back(doc.item(key));
    }
    const ListViewOptions view = loadListViewOptions();
    for (const SecurityItem* item : sortedRows(doc.items(), view.sortColumn, view.sortReverse)) {
        if (names.empty() || std::find(chosen.begin(), chosen.end(), item) != chosen.end())
            items.push_back(item);
    }
    if (items.empty()) {
        err << "tarvelo-cli: the portfolio has no items to draw\n";
        return kExitFailed;
    }
    return kExitOk;
}

// --items NAME,...: the names, or a wrong call.
bool itemsOption(CommandOptions& o, std::vector<std::string>& names, std::string& problem)
{
    const auto list = o.text("items");
    if (!list)
        return true;
    names = itemNames(*list);
    if (names.empty())
        problem = "--items takes item names separated by commas";
    return !names.empty();
}

} // namespace

int chartCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"items", "size", "from", "to"}, {"dark"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 2)
        return wrongCall(c.err, "chart takes a portfolio file and an output file");
    const std::string& path = o.positional()[0];
    const std::string& output = o.positional()[1];
    if (refuseSpecialOutput(output, c.err))
        return kExitError;
    if (!isChartImagePath(output))
        return wrongCall(c.err, "the output file must end in .png or .svg");

    ChartImageSize size;
    std::string problem;
    if (const auto text = o.text("size")) {
        const auto parsed = parseSize(*text, problem);
        if (!parsed)
            return wrongCall(c.err, problem);
        size = *parsed;
    }
    std::optional<CalendarDate> from, to;
    if (!dayOption(o, "from", from, problem) || !dayOption(o, "to", to, problem))
        return wrongCall(c.err, problem);
    if (from && to && before(*to, *from))
        return wrongCall(c.err, "--from is after --to");
    std::vector<std::string> names;
    if (!itemsOption(o, names, problem))
        return wrongCall(c.err, problem);

    PortfolioDocument doc;
    if (!openPortfolio(doc, path, c.err))
        return kExitError;

    std::vector<const SecurityItem*> items;
    if (const int status = listedItems(doc, names, items, c.err); status != kExitOk)
        return status;

    std::optional<SecurityItem> single;
    ChartSubject subject;
    std::string what;
    if (items.size() == 1) {
        single.emplace(*items.front());
        ChartOptions& chart = single->settings().chart;
        if (from) {
            chart.periodStart = makeLocalTime(from->year, from->month, from->day, 0, 0, 0);
            chart.periodStartEnabled = true;
        }
        if (to) {
            chart.periodEnd = makeLocalTime(to->year, to->month, to->day, 23, 59, 59);
            chart.periodEndEnabled = true;
        }
        items.front() = &*single;
        what = "history chart of '" + single->settings().name + "'";
    } else {
        const Profile profile;
        subject.comparison = ComparisonSettings::read(profile);
        if (from) {
            subject.comparison.beginLimitOn = true;
            subject.comparison.beginYear = from->year;
            subject.comparison.beginMonth = from->month;
            subject.comparison.beginDay = from->day;
        }
        if (to) {
            subject.comparison.endLimitOn = true;
            subject.comparison.endYear = to->year;
            subject.comparison.endMonth = to->month;
            subject.comparison.endDay = to->day;
        }
        what = "comparison chart of " + std::to_string(items.size()) + " items";
    }
    subject.items = items;
    if (o.flag("dark"))
        subject.colours = ChartColours::dark();

    if (const std::string failed = writeChartImage(output, subject, size); !failed.empty()) {
        c.err << "tarvelo-cli: " << output << ": " << failed << '\n';
        return kExitError;
    }
    c.out << what << " written to " << output << '\n';
    return kExitOk;
}

int printCommand(const CommandContext& c)
{
    CommandOptions o;
    if (!o.parse(c.args, {"items", "page"}))
        return wrongCall(c.err, o.error());
    if (o.positional().size() != 2)
        return wrongCall(c.err, "print takes a portfolio file and a PDF file");
    const std::string& path = o.positional()[0];
    const std::string& output = o.positional()[1];
    if (refuseSpecialOutput(output, c.err))
        return kExitError;
    if (output.size() < 5 || !std::equal(output.end() - 4, output.end(), ".pdf", [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        }))
        return wrongCall(c.err, "the output file must end in .pdf");
    ReportPaper paper = ReportPaper::A4;
    if (const auto page = o.text("page")) {
        if (*page == "Letter" || *page == "letter")
            paper = ReportPaper::Letter;
        else if (*page != "A4" && *page != "a4")
            return wrongCall(c.err, "--page takes A4 or Letter");
    }
    std::string problem;
    std::vector<std::string> names;
    if (!itemsOption(o, names, problem))
        return wrongCall(c.err, problem);

    PortfolioDocument doc;
    if (!openPortfolio(doc, path, c.err))
        return kExitError;
    std::vector<const SecurityItem*> items;
    if (const int status = listedItems(doc, names, items, c.err); status != kExitOk)
        return status;
    ReportSubject subject;
    subject.items = items;
    subject.comparison = ComparisonSettings::read(Profile());
    subject.documentTitle = validUtf8(doc.title());
    subject.made = currentTime();
    if (const std::string failed = writeReportPdf(output, subject, paper); !failed.empty()) {
        c.err << "tarvelo-cli: " << output << ": " << failed << '\n';
        return kExitError;
    }
    c.out << "report of " << items.size() << (items.size() == 1 ? " item" : " items") << " written to " << output
          << '\n';
    return kExitOk;
}

} // namespace tarvelo

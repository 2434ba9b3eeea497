#include "charts/printedreport.h"

#include "charts/historychart.h"
#include "model/portfoliolist.h"
#include "model/securityitem.h"
#include "platform/translation.h"
#include "resources/strings.h"

#include <algorithm>
#include <cstdint>

namespace tarvelo {

namespace {

constexpr const char* kReportTimeFormat = "%x %H:%M";

int wholeDays(std::int64_t from, std::int64_t to)
{
    return static_cast<int>((to - from) / 86400);
}

// The value of the holding, with its gain over the average buy price when there is one.
std::string amountText(double value, const ItemSettings& settings)
{
    const double amount = value * settings.quantity;
    if (value != 0 && settings.quantity != 0 && settings.averageBuyPrice != 0)
        return printfText("%4.2f (%+2.2f%%)", amount, value * 100 / settings.averageBuyPrice - 100);
    return printfText("%4.2f", amount);
}

// The chart page: the chart above a line that says when the report was made, so the
// stamp can never run into the chart's title or its date labels.
void drawChartPage(Canvas& canvas, int pageWidth, int pageHeight, std::span<const SecurityItem* const> items,
                   const ComparisonSettings& settings, std::string_view documentTitle, TimeStamp now)
{
    const std::string stamp = formatLocalTime(now, kReportTimeFormat);
    canvas.setFont(ChartFont::Axis);
    const int stampHeight = canvas.textExtent(stamp).height;
    const int margin = canvas.textExtent("M").width;
    const int chartHeight = pageHeight - stampHeight;
    if (items.size() == 1)
        drawHistoryChart(canvas, pageWidth, chartHeight, *items.front(), ChartMedium::Printer);
    else
        drawComparisonChart(canvas, pageWidth, chartHeight, items, settings, ChartMedium::Printer, documentTitle);
    canvas.setFont(ChartFont::Axis);
    canvas.setPen({kChartBlack});
    canvas.text({pageWidth - margin, chartHeight}, stamp, TextAlign::Right);
}

// One item's block with its top at top: the dot in the item's colour, under it a sample
// of its curve's line, and the three lines of text.
void drawBlock(Canvas& canvas, const ReportLayout& layout, int top, const SecurityItem& item, std::size_t index)
{
    const int unit = layout.markWidth;
    const std::uint32_t colour = item.settings().chart.lineColour;
    canvas.filledEllipse({unit, top + static_cast<int>(0.1 * layout.lineHeight), 2 * unit,
                          top + static_cast<int>(0.9 * layout.lineHeight)},
                         colour);
    const int sampleY = top + layout.lineStep + layout.lineHeight / 2;
    canvas.setPen({colour, comparisonCurveStyle(index, ChartMedium::Printer)});
    canvas.line({unit, sampleY}, {3 * unit, sampleY});

    canvas.setPen({kChartBlack});
    int y = top;
    for (const std::string& line : reportBlockLines(item)) {
        canvas.text({4 * unit, y}, line, TextAlign::Left);
        y += layout.lineStep;
    }
}

} // namespace

ReportLayout reportLayout(Canvas& canvas, int pageHeight)
{
    ReportLayout layout;
    canvas.setFont(ChartFont::Title);
    const TextExtent title = canvas.textExtent("M");
    layout.headerTop = title.width;
    layout.header = static_cast<int>(title.height * 2.5);
    canvas.setFont(ChartFont::Block);
    const TextExtent block = canvas.textExtent("M");
    layout.lineHeight = block.height;
    layout.markWidth = block.width;
    layout.lineStep = static_cast<int>(1.2 * block.height);
    layout.blockGap = static_cast<int>(1.5 * block.height);
    layout.blockHeight = static_cast<int>(block.height * 3.9);
    if (layout.blockHeight > 0)
        layout.blocksPerPage = std::max(1, (pageHeight - layout.header) / layout.blockHeight);
    return layout;
}

int reportPageCount(Canvas& canvas, int pageHeight, std::size_t itemCount)
{
    if (itemCount < 2)
        return static_cast<int>(itemCount);
    const std::size_t perPage = static_cast<std::size_t>(reportLayout(canvas, pageHeight).blocksPerPage);
    const std::size_t pages = itemCount / perPage + 1 + (itemCount % perPage != 0 ? 1 : 0);
    return static_cast<int>(pages);
}

ReportItemRange reportPageItems(int page, int blocksPerPage, std::size_t itemCount)
{
    if (page < 2 || blocksPerPage < 1 || itemCount < 2)
        return {};
    const std::size_t perPage = static_cast<std::size_t>(blocksPerPage);
    const std::size_t first = static_cast<std::size_t>(page - 2) * perPage;
    if (first >= itemCount)
        return {};
    return {first, std::min(itemCount, first + perPage)};
}

std::string reportHeader(std::string_view documentTitle, TimeStamp now)
{
    return std::string(documentTitle) + " - " + formatLocalTime(now, kReportTimeFormat);
}

std::array<std::string, 3> reportBlockLines(const SecurityItem& item)
{
    const ItemSettings& settings = item.settings();
    double value = 0, low = 0, high = 0, lastPercent = 0, totalPercent = 0;
    std::int32_t first = 0, last = 0, reference = 0;
    item.lastValue(value);
    item.lowHigh(low, high);
    item.lastChangePercent(lastPercent, false);
    item.totalChangePercent(totalPercent);
    item.firstTime(first);
    item.lastTime(last);
    const int lastDays = item.referenceTime(reference, false) ? wholeDays(reference, last) : 0;

    const auto label = [](const char* column) { return translate("Report", column); };
    return {settings.name + " - " + settings.symbol,
            label(strings::kColumnDate) + " " + formatLocalTime(last, kReportTimeFormat) + " : " +
                printfText("%3.4f", value) + "      " + label(strings::kColumnAmountInvested) + ": " +
                amountText(value, settings),
            label(strings::kColumnLow) + ": " + printfText("%3.4f", low) + "     " + label(strings::kColumnHigh) +
                ": " + printfText("%3.4f", high) + "      " + label(strings::kColumnLastChange) + ": " +
                changeText(lastPercent, 0, lastDays, true) + "     " + label(strings::kColumnTotalChange) + ": " +
                changeText(totalPercent, 0, wholeDays(first, last), true)};
}

void drawReportPage(Canvas& canvas, int pageWidth, int pageHeight, int page,
                    std::span<const SecurityItem* const> items, const ComparisonSettings& settings,
                    std::string_view documentTitle, TimeStamp now)
{
    if (items.empty())
        return;
    if (page == 1) {
        drawChartPage(canvas, pageWidth, pageHeight, items, settings, documentTitle, now);
        return;
    }
    const ReportLayout layout = reportLayout(canvas, pageHeight);
    const ReportItemRange range = reportPageItems(page, layout.blocksPerPage, items.size());
    if (range.first == range.last)
        return;
    canvas.setFont(ChartFont::Title);
    canvas.setPen({kChartBlack});
    canvas.text({pageWidth / 2, layout.headerTop}, reportHeader(documentTitle, now), TextAlign::Centre);

    canvas.setFont(ChartFont::Block);
    int top = layout.header;
    for (std::size_t i = range.first; i < range.last; ++i) {
        drawBlock(canvas, layout, top, *items[i], i);
        top += 2 * layout.lineStep + layout.blockGap;
    }
}

} // namespace tarvelo

#include "charts/comparisonchart.h"

#include "model/profilesettings.h"
#include "model/securityitem.h"
#include "platform/profile.h"
#include "platform/translation.h"
#include "resources/strings.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

namespace tarvelo {

ComparisonSettings ComparisonSettings::read(const Profile& profile)
{
    using namespace settings;
    ComparisonSettings s;
    s.beginLimitOn = kComparisonBeginOn.read(profile);
    s.beginYear = kComparisonBeginYear.read(profile);
    s.beginMonth = kComparisonBeginMonth.read(profile);
    s.beginDay = kComparisonBeginDay.read(profile);
    s.endLimitOn = kComparisonEndOn.read(profile);
    s.endYear = kComparisonEndYear.read(profile);
    s.endMonth = kComparisonEndMonth.read(profile);
    s.endDay = kComparisonEndDay.read(profile);
    s.grid = kComparisonGrid.read(profile);
    s.legend = kComparisonLegend.read(profile);
    return s;
}

void ComparisonSettings::write(Profile& profile) const
{
    using namespace settings;
    kComparisonBeginOn.write(profile, beginLimitOn);
    kComparisonBeginYear.write(profile, beginYear);
    kComparisonBeginMonth.write(profile, beginMonth);
    kComparisonBeginDay.write(profile, beginDay);
    kComparisonEndOn.write(profile, endLimitOn);
    kComparisonEndYear.write(profile, endYear);
    kComparisonEndMonth.write(profile, endMonth);
    kComparisonEndDay.write(profile, endDay);
    kComparisonGrid.write(profile, grid);
    kComparisonLegend.write(profile, legend);
}

std::int32_t ComparisonSettings::beginLimit() const
{
    return makeLocalTime(beginYear, beginMonth, beginDay, 0, 0, 0);
}

std::int32_t ComparisonSettings::endLimit() const
{
    return makeLocalTime(endYear, endMonth, endDay, 23, 59, 59);
}

namespace {

// The period where all items have data: it starts at the latest first quotation and
// ends at the latest last one, both within the limits that are on.
void commonPeriod(ComparisonChart& chart, std::span<const SecurityItem* const> items,
                  const ComparisonSettings& settings)
{
    const TimeStamp endLimit = settings.endLimit();
    items.front()->firstTime(chart.begin);
    items.front()->lastTime(chart.end);
    if (settings.beginLimitOn)
        chart.begin = std::max(chart.begin, settings.beginLimit());
    if (settings.endLimitOn)
        chart.end = std::min(chart.end, endLimit);
    for (const SecurityItem* item : items.subspan(1)) {
        TimeStamp first = 0;
        TimeStamp last = 0;
        item->firstTime(first);
        item->lastTime(last);
        chart.begin = std::max(chart.begin, first);
        chart.end = std::max(chart.end, settings.endLimitOn ? std::min(last, endLimit) : last);
    }
}

// An item's curve before it is drawn: where its quotations in the period start and its
// value at begin. Without a value at begin (fewer than two quotations, or none from
// begin on) it has no curve.
struct CurveStart {
    std::size_t first = 0;
    ReferenceValue reference;
    bool valid = false;
};

CurveStart curveStart(const std::vector<Quotation>& history, TimeStamp begin)
{
    CurveStart start;
    if (history.size() < 2)
        return start;
    const auto first = std::find_if(history.begin(), history.end(),
                                    [begin](const Quotation& quotation) { return quotation.time >= begin; });
    if (first == history.end())
        return start;
    start.first = static_cast<std::size_t>(first - history.begin());
    start.reference = referenceValue(history, start.first, begin);
    start.valid = true;
    return start;
}

bool positive(double reference)
{
    return std::isfinite(reference) && reference > 0;
}

// Widens the ratio range by the item's values relative to its value at begin; an item
// whose value at begin is not positive has no ratios and leaves the range alone.
void includeRatios(ValueRange& ratios, const std::vector<Quotation>& history, const CurveStart& start,
                   TimeStamp end)
{
    const double reference = start.reference.value;
    if (!positive(reference))
        return;
    ValueRange values;
    values.include(reference);
    for (std::size_t i = start.first; i < history.size() && history[i].time <= end; ++i)
        values.include(history[i].value);
    if (values.empty)
        return;
    ratios.include(values.low / reference);
    ratios.include(values.high / reference);
}

void drawCurve(Canvas& canvas, const PlotMapping& map, const SecurityItem& item, ComparisonCurve& curve,
               std::size_t first, TimeStamp end, ChartMedium medium, const ChartColours& colours)
{
    const std::vector<Quotation>& history = item.history();
    if (curve.interpolated) {
        curve.points.push_back({map.plot.left, map.y(1.0)});
        curve.times.push_back(map.begin);
    }
    for (std::size_t i = first; i < history.size() && history[i].time <= end; ++i) {
        curve.points.push_back({map.x(history[i].time), map.y(history[i].value / curve.reference)});
        curve.times.push_back(history[i].time);
    }
    canvas.setPen({colours.item(item.settings().chart.lineColour), comparisonCurveStyle(curve.item, medium)});
    canvas.polyline(curve.points);
}

// The legend's entries: a piece of the curve's line, then the name.
constexpr int kLegendSample = 14;
constexpr int kLegendSampleGap = 4;
constexpr int kLegendEntryGap = 12;

struct LegendEntry {
    std::size_t item = 0;
    CanvasPoint at; // top left of the entry
};

struct Legend {
    std::vector<LegendEntry> entries;
    int rows = 0;
    int rowHeight = 0;

    // The room it takes above the plot, with a gap below the last row.
    int height() const { return rows == 0 ? 0 : rows * rowHeight + 5; }
};

// Places the entries in rows from left to right, starting at left, a row wrapping
// before it would pass right.
void placeLegend(Canvas& canvas, Legend& legend, std::span<const SecurityItem* const> items, int left, int right,
                 int top)
{
    canvas.setFont(ChartFont::Legend);
    legend.rowHeight = canvas.textExtent("M").height;
    legend.rows = legend.entries.empty() ? 0 : 1;
    int x = left;
    for (LegendEntry& entry : legend.entries) {
        const int width = kLegendSample + kLegendSampleGap + canvas.textExtent(items[entry.item]->settings().name).width;
        if (x > left && x + width > right) {
            x = left;
            ++legend.rows;
        }
        entry.at = {x, top + (legend.rows - 1) * legend.rowHeight};
        x += width + kLegendEntryGap;
    }
}

void drawLegend(Canvas& canvas, const Legend& legend, std::span<const SecurityItem* const> items, ChartMedium medium,
                const ChartColours& colours)
{
    canvas.setFont(ChartFont::Legend);
    const int middle = legend.rowHeight / 2;
    for (const LegendEntry& entry : legend.entries) {
        const std::uint32_t colour = colours.item(items[entry.item]->settings().chart.lineColour);
        canvas.setPen({colour, comparisonCurveStyle(entry.item, medium)});
        canvas.line({entry.at.x, entry.at.y + middle}, {entry.at.x + kLegendSample, entry.at.y + middle});
        canvas.setPen({colour});
        canvas.text({entry.at.x + kLegendSample + kLegendSampleGap, entry.at.y}, items[entry.item]->settings().name,
                    TextAlign::Left);
    }
}

// The value of a history at time, as its curve runs: between two quotations by whole
// minutes; none after its last quotation.
std::optional<double> valueAt(const std::vector<Quotation>& history, TimeStamp time)
{
    const auto after = std::lower_bound(history.begin(), history.end(), time,
                                        [](const Quotation& quotation, TimeStamp t) { return quotation.time < t; });
    if (after == history.end())
        return std::nullopt;
    return referenceValue(history, static_cast<std::size_t>(after - history.begin()), time).value;
}

std::string comparisonTitle(const ComparisonChart& chart, ChartMedium medium, std::string_view documentTitle)
{
    std::string title = medium == ChartMedium::Printer ? std::string(documentTitle)
                                                       : "[" + translate("Chart", strings::kComparison) + "]";
    if (minutesBetween(chart.begin, chart.end) < 1)
        return title;
    return title + " (" + chartDate(chart.begin) + "-" + chartDate(chart.end) + ")";
}

// Labels every stepDays days from begin, as many as fit side by side across the plot.
// The step is rounded up to whole days, so that labels never come closer than their
// thickness and the gap.
void drawDateAxis(Canvas& canvas, ComparisonChart& chart, const PlotMapping& map, const ChartColours& colours)
{
    const std::int64_t minutes = minutesBetween(chart.begin, chart.end);
    if (minutes < 1)
        return;
    const int count = std::max(1, map.plot.width() / std::max(1, chart.frame.dateHeight + 5));
    const std::int64_t minutesPerLabel = std::int64_t{count} * 1440;
    const std::int64_t stepDays = std::max<std::int64_t>(1, (minutes + minutesPerLabel - 1) / minutesPerLabel);
    canvas.setFont(ChartFont::Date);
    canvas.setPen({colours.text});
    for (std::int64_t t = chart.begin; t < chart.end; t += stepDays * 86400) {
        const TimeStamp time = static_cast<TimeStamp>(t);
        drawDateLabel(canvas, chart.frame, map.x(time), time);
        chart.dateLabels.push_back(map.x(time));
    }
}

} // namespace

PenStyle comparisonCurveStyle(std::size_t item, ChartMedium medium)
{
    static constexpr PenStyle kPrintedStyles[] = {PenStyle::Solid, PenStyle::Dashed, PenStyle::Dotted,
                                                  PenStyle::DashDot, PenStyle::DashDotDot};
    if (medium != ChartMedium::Printer)
        return PenStyle::Solid;
    return kPrintedStyles[item % std::size(kPrintedStyles)];
}

ComparisonChart drawComparisonChart(Canvas& canvas, int width, int height,
                                    std::span<const SecurityItem* const> items, const ComparisonSettings& settings,
                                    ChartMedium medium, std::string_view documentTitle, const ChartColours& colours)
{
    ComparisonChart chart;
    if (items.empty())
        return chart;
    commonPeriod(chart, items, settings);

    std::vector<CurveStart> starts;
    ValueRange ratios;
    ratios.include(1.0);
    for (const SecurityItem* item : items) {
        starts.push_back(curveStart(item->history(), chart.begin));
        if (starts.back().valid)
            includeRatios(ratios, item->history(), starts.back(), chart.end);
    }
    chart.minRatio = ratios.low;
    chart.maxRatio = ratios.high == ratios.low ? ratios.high * 1.1 : ratios.high;

    chart.frame = layoutChart(canvas, width, height, medium, kPercentSampleLabel, kPercentSampleLabel);
    if (!chart.frame.drawable())
        return chart;
    Legend legend;
    if (settings.legend && medium == ChartMedium::Screen) {
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (starts[i].valid && positive(starts[i].reference.value))
                legend.entries.push_back({i, {}});
        }
        placeLegend(canvas, legend, items, chart.frame.axes.left, width - 2, chart.frame.plot.top + 1);
        const int legendHeight = legend.height();
        if (legend.rows > 0 && legendHeight * 3 <= chart.frame.plot.height()) {
            chart.frame.plot.top += legendHeight;
            chart.frame.axes.top += legendHeight;
            chart.legendRows = legend.rows;
        } else {
            legend.entries.clear();
        }
    }
    const CanvasRect& plot = chart.frame.plot;
    const ValueAxis axis{true, chart.minRatio, chart.maxRatio, plot.top, plot.height(), chart.frame.labelHeight};
    const std::vector<ValueTick> ticks = valueAxisTicks(axis);
    fitValueAxis(canvas, chart.frame, ticks);
    if (!chart.frame.drawable())
        return chart;
    drawTitle(canvas, width, comparisonTitle(chart, medium, documentTitle), colours);
    drawLegend(canvas, legend, items, medium, colours);
    drawAxes(canvas, chart.frame, colours);
    drawValueAxis(canvas, chart.frame, ticks, settings.grid, colours);

    const PlotMapping map{plot, chart.begin, minuteScale(plot.width(), chart.begin, chart.end), chart.minRatio,
                          chart.maxRatio};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CurveStart& start = starts[i];
        if (!start.valid || !positive(start.reference.value))
            continue;
        ComparisonCurve& curve = chart.curves.emplace_back(ComparisonCurve{i, start.reference.value,
                                                                            start.reference.interpolated, {}, {}});
        drawCurve(canvas, map, *items[i], curve, start.first, chart.end, medium, colours);
    }
    drawDateAxis(canvas, chart, map, colours);
    chart.plotted = true;
    return chart;
}

std::vector<ChartPoint> comparisonStops(const ComparisonChart& chart)
{
    std::vector<ChartPoint> stops;
    for (const ComparisonCurve& curve : chart.curves) {
        for (std::size_t i = 0; i < curve.points.size() && i < curve.times.size(); ++i)
            stops.push_back({curve.points[i].x, chart.frame.plot.top, curve.times[i], 0});
    }
    std::sort(stops.begin(), stops.end(), [](const ChartPoint& a, const ChartPoint& b) {
        return a.x != b.x ? a.x < b.x : a.time < b.time;
    });
    stops.erase(std::unique(stops.begin(), stops.end(),
                            [](const ChartPoint& a, const ChartPoint& b) { return a.x == b.x; }),
                stops.end());
    return stops;
}

std::array<CanvasPoint, 2> comparisonCursor(const ComparisonChart& chart, int x)
{
    return {CanvasPoint{x, chart.frame.plot.top}, CanvasPoint{x, chart.frame.axes.bottom}};
}

std::string comparisonMessage(const ComparisonChart& chart, std::span<const SecurityItem* const> items,
                              std::int32_t time)
{
    std::string message = formatLocalTime(time, "%x  %H:%M") + " :";
    const char* separator = " ";
    for (const ComparisonCurve& curve : chart.curves) {
        if (curve.item >= items.size())
            continue;
        const SecurityItem& item = *items[curve.item];
        const std::optional<double> value = valueAt(item.history(), time);
        if (!value)
            continue;
        message += separator + item.settings().name
                   + printfText(" %.4f (%.2f%%)", *value, *value * 100 / curve.reference);
        separator = ", ";
    }
    return message;
}

std::string comparisonDescription(std::span<const SecurityItem* const> items, const ComparisonSettings& settings)
{
    ComparisonChart chart;
    if (items.empty())
        return {};
    commonPeriod(chart, items, settings);
    std::string entries;
    for (const SecurityItem* item : items) {
        const std::vector<Quotation>& history = item->history();
        const CurveStart start = curveStart(history, chart.begin);
        std::string entry;
        const auto last = std::upper_bound(history.begin(), history.end(), chart.end,
                                           [](TimeStamp t, const Quotation& quotation) { return t < quotation.time; });
        if (!start.valid || !positive(start.reference.value) || last == history.begin()
            || static_cast<std::size_t>(last - history.begin()) <= start.first) {
            entry = fill(translate("Chart", "%1 without values in this period"), {item->settings().name});
        } else {
            const double change = (std::prev(last)->value / start.reference.value - 1) * 100;
            entry = fill(translate("Chart", "%1 change %2"), {item->settings().name, printfText("%+.2f%%", change)});
        }
        entries += (entries.empty() ? "" : "; ") + entry;
    }
    return fill(translate("Chart", "Comparison from %1 to %2: %3"),
                {chartDate(chart.begin), chartDate(chart.end), entries});
}

} // namespace tarvelo

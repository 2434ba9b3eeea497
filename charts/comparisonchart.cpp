#include "charts/comparisonchart.h"

#include "model/profilesettings.h"
#include "model/securityitem.h"
#include "platform/profile.h"
#include "resources/strings.h"

#include <algorithm>
#include <cmath>
#include <iterator>

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
               std::size_t first, TimeStamp end, ChartMedium medium)
{
    const std::vector<Quotation>& history = item.history();
    if (curve.interpolated)
        curve.points.push_back({map.plot.left, map.y(1.0)});
    for (std::size_t i = first; i < history.size() && history[i].time <= end; ++i)
        curve.points.push_back({map.x(history[i].time), map.y(history[i].value / curve.reference)});
    canvas.setPen({item.settings().chart.lineColour, comparisonCurveStyle(curve.item, medium)});
    canvas.polyline(curve.points);
}

std::string comparisonTitle(const ComparisonChart& chart, ChartMedium medium, std::string_view documentTitle)
{
    std::string title = medium == ChartMedium::Printer ? std::string(documentTitle)
                                                       : "[" + std::string(strings::kComparison) + "]";
    if (minutesBetween(chart.begin, chart.end) < 1)
        return title;
    return title + " (" + chartDate(chart.begin) + "-" + chartDate(chart.end) + ")";
}

// Labels every stepDays days from begin, as many as fit side by side across the plot.
// The step is rounded up to whole days, so that labels never come closer than their
// thickness and the gap.
void drawDateAxis(Canvas& canvas, ComparisonChart& chart, const PlotMapping& map)
{
    const std::int64_t minutes = minutesBetween(chart.begin, chart.end);
    if (minutes < 1)
        return;
    const int count = std::max(1, map.plot.width() / std::max(1, chart.frame.dateHeight + 5));
    const std::int64_t minutesPerLabel = std::int64_t{count} * 1440;
    const std::int64_t stepDays = std::max<std::int64_t>(1, (minutes + minutesPerLabel - 1) / minutesPerLabel);
    canvas.setFont(ChartFont::Date);
    canvas.setPen({kChartBlack});
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
                                    ChartMedium medium, std::string_view documentTitle)
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
    const CanvasRect& plot = chart.frame.plot;
    drawTitle(canvas, width, comparisonTitle(chart, medium, documentTitle));
    drawAxes(canvas, chart.frame);
    const ValueAxis axis{true, chart.minRatio, chart.maxRatio, plot.top, plot.height(), chart.frame.labelHeight};
    drawValueAxis(canvas, chart.frame, valueAxisTicks(axis), settings.grid);

    const PlotMapping map{plot, chart.begin, minuteScale(plot.width(), chart.begin, chart.end), chart.minRatio,
                          chart.maxRatio};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const CurveStart& start = starts[i];
        if (!start.valid || !positive(start.reference.value))
            continue;
        ComparisonCurve& curve = chart.curves.emplace_back(ComparisonCurve{i, start.reference.value,
                                                                            start.reference.interpolated, {}});
        drawCurve(canvas, map, *items[i], curve, start.first, chart.end, medium);
    }
    drawDateAxis(canvas, chart, map);
    chart.plotted = true;
    return chart;
}

} // namespace tarvelo

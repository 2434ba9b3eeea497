#include "charts/historychart.h"

#include "model/securityitem.h"
#include "platform/translation.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>

namespace tarvelo {

namespace {

struct VisiblePeriod {
    std::size_t first = 0;
    std::size_t last = 0;
};

// The quotations the item's period options leave visible; history must not be empty.
VisiblePeriod visiblePeriod(const std::vector<Quotation>& history, const ChartOptions& options)
{
    const std::size_t count = history.size();
    VisiblePeriod period{0, count - 1};
    if (options.periodStartEnabled) {
        while (period.first + 1 < count && history[period.first].time < options.periodStart)
            ++period.first;
    }
    if (options.periodEndEnabled) {
        period.last = period.first;
        while (period.last + 1 < count && history[period.last + 1].time <= options.periodEnd)
            ++period.last;
    }
    return period;
}

bool positive(double reference)
{
    return std::isfinite(reference) && reference > 0;
}

// Value and ratio ranges over the reference and the visible values.
void computeRanges(HistoryChart& chart, std::span<const Quotation> visible)
{
    ValueRange range;
    range.include(chart.reference);
    for (const Quotation& quotation : visible)
        range.include(quotation.value);
    const double min = range.low;
    double max = range.high;
    if (max == min)
        max = min == 0 ? 1.0 : min + std::fabs(min) * 0.1;
    chart.minValue = min;
    chart.maxValue = max;
    chart.minRatio = positive(chart.reference) ? min / chart.reference : 0.0;
    chart.maxRatio = positive(chart.reference) ? max / chart.reference : 1.0;
    if (chart.minRatio == chart.maxRatio)
        chart.maxRatio *= 1.1;
}

ChartFrame layoutHistory(Canvas& canvas, int width, int height, const ChartOptions& options, double max,
                         ChartMedium medium)
{
    const std::string label =
        options.valueOnGraphic == ValueOnGraphic::Percentual ? kPercentSampleLabel : nominalSampleLabel(max);
    const std::string axisLabel = options.valueOnAxes == ValueOnAxes::Nominal ? label : kPercentSampleLabel;
    return layoutChart(canvas, width, height, medium, label, axisLabel);
}

void drawNameOnly(Canvas& canvas, const ChartFrame& frame, const std::string& name, const ChartColours& colours)
{
    canvas.setFont(ChartFont::Title);
    canvas.setPen({colours.text});
    canvas.text({(frame.plot.left + frame.plot.right) / 2, 0}, name, TextAlign::Centre);
}

std::vector<ValueTick> valueTicks(const HistoryChart& chart, const ChartOptions& options)
{
    const bool nominal = options.valueOnAxes == ValueOnAxes::Nominal;
    if (!nominal && !positive(chart.reference))
        return {};
    const CanvasRect& plot = chart.frame.plot;
    const ValueAxis axis{!nominal,
                         nominal ? chart.minValue : chart.minRatio,
                         nominal ? chart.maxValue : chart.maxRatio,
                         plot.top,
                         plot.height(),
                         chart.frame.labelHeight};
    return valueAxisTicks(axis);
}

// One polyline through every visible quotation, which also become the chart's points.
void drawCurve(Canvas& canvas, HistoryChart& chart, std::span<const Quotation> visible, bool interpolated,
               std::uint32_t colour)
{
    const CanvasRect& plot = chart.frame.plot;
    const PlotMapping map{plot, chart.begin, minuteScale(plot.width(), chart.begin, chart.end), chart.minValue,
                          chart.maxValue};
    std::vector<CanvasPoint> line;
    line.reserve(visible.size() + 1);
    chart.points.reserve(visible.size());
    if (interpolated)
        line.push_back({plot.left, map.y(chart.reference)});
    for (const Quotation& quotation : visible) {
        const CanvasPoint point{map.x(quotation.time), map.y(quotation.value)};
        chart.points.push_back({point.x, point.y, quotation.time, quotation.value});
        line.push_back(point);
    }
    canvas.setPen({colour});
    canvas.polyline(line);
}

bool overlap(const CanvasRect& a, const CanvasRect& b)
{
    // A pixel of space between two labels keeps them apart.
    return a.left <= b.right && b.left <= a.right && a.top < b.bottom && b.top < a.bottom;
}

// The values centred on their points and kept inside the client area; a value that would
// overlap one drawn before is left out.
void drawPointValues(Canvas& canvas, const HistoryChart& chart, const ChartOptions& options, int width,
                     std::uint32_t colour)
{
    const bool percent = options.valueOnGraphic == ValueOnGraphic::Percentual;
    if (options.valueOnGraphic == ValueOnGraphic::None || (percent && !positive(chart.reference)))
        return;
    canvas.setFont(ChartFont::Axis);
    canvas.setPen({colour});
    // The labels drawn that a later one may still reach: the points' x never decreases.
    std::deque<CanvasRect> drawn;
    for (const ChartPoint& point : chart.points) {
        // A point inside the last label's width and height is covered whatever its text:
        // no need to write it out.
        if (!drawn.empty() && point.x <= drawn.back().right && point.y < drawn.back().bottom
            && point.y + drawn.back().height() > drawn.back().top)
            continue;
        const std::string text = percent ? printfText("%.2f%%", point.value * 100 / chart.reference)
                                         : printfText("%.3f", point.value);
        const TextExtent extent = canvas.textExtent(text);
        // Two pixels from the edges, for the ink a glyph puts beyond its advance.
        const int left = std::clamp(point.x - extent.width / 2, 2, std::max(2, width - extent.width - 2));
        const CanvasRect box{left, point.y, left + extent.width, point.y + extent.height};
        while (!drawn.empty() && drawn.front().right < box.left - 1)
            drawn.pop_front();
        if (std::any_of(drawn.begin(), drawn.end(), [&box](const CanvasRect& other) { return overlap(box, other); }))
            continue;
        canvas.text({left, point.y}, text, TextAlign::Left);
        drawn.push_back(box);
    }
}

// A label that would come within 5 pixels of the previous one drawn is left out, with its
// tick; only the labels drawn are formatted.
void drawDateLabels(Canvas& canvas, const HistoryChart& chart, const ChartColours& colours)
{
    const int half = chart.frame.dateHeight / 2 + 1;
    canvas.setFont(ChartFont::Date);
    canvas.setPen({colours.text});
    bool drawn = false;
    int previousRight = 0;
    for (const ChartPoint& point : chart.points) {
        const int left = point.x - half;
        if (drawn && left <= previousRight + 5)
            continue;
        drawDateLabel(canvas, chart.frame, point.x, point.time);
        previousRight = left + chart.frame.dateHeight;
        drawn = true;
    }
}

} // namespace

HistoryChart drawHistoryChart(Canvas& canvas, int width, int height, const SecurityItem& item, ChartMedium medium,
                              const ChartColours& colours)
{
    const std::vector<Quotation>& history = item.history();
    const ItemSettings& settings = item.settings();
    HistoryChart chart;
    VisiblePeriod period;
    ReferenceValue reference;
    if (history.empty()) {
        item.firstTime(chart.begin);
        item.lastTime(chart.end);
    } else {
        period = visiblePeriod(history, settings.chart);
        chart.firstVisible = period.first;
        chart.begin = history[period.first].time;
        chart.end = history[period.last].time;
        reference = referenceValue(history, period.first, chart.begin);
        chart.reference = reference.value;
    }
    const std::size_t visibleCount = history.empty() ? 0 : period.last - period.first + 1;
    const std::span<const Quotation> visible(history.data() + period.first, visibleCount);
    computeRanges(chart, visible);

    chart.frame = layoutHistory(canvas, width, height, settings.chart, chart.maxValue, medium);
    if (!chart.frame.drawable())
        return chart;
    if (visibleCount < 2) {
        drawNameOnly(canvas, chart.frame, settings.name, colours);
        return chart;
    }
    const std::vector<ValueTick> ticks = valueTicks(chart, settings.chart);
    fitValueAxis(canvas, chart.frame, ticks);
    if (!chart.frame.drawable())
        return chart;
    const std::uint32_t lineColour = colours.item(settings.chart.lineColour);
    drawTitle(canvas, width, settings.name + " (" + chartDate(chart.begin) + "-" + chartDate(chart.end) + ")",
              colours);
    drawAxes(canvas, chart.frame, colours);
    drawValueAxis(canvas, chart.frame, ticks, settings.chart.showGrid.isSet(), colours);
    drawCurve(canvas, chart, visible, reference.interpolated, lineColour);
    drawPointValues(canvas, chart, settings.chart, width, lineColour);
    drawDateLabels(canvas, chart, colours);
    chart.plotted = true;
    return chart;
}

int nearestPoint(const std::vector<ChartPoint>& points, int x)
{
    if (points.empty())
        return -1;
    const auto after = std::lower_bound(points.begin(), points.end(), x,
                                        [](const ChartPoint& point, int at) { return point.x < at; });
    if (after == points.begin())
        return 0;
    // The first point of the run of equal x just left of x.
    const int leftX = std::prev(after)->x;
    const auto before = std::lower_bound(points.begin(), after, leftX,
                                         [](const ChartPoint& point, int at) { return point.x < at; });
    if (after == points.end() || std::abs(x - leftX) <= std::abs(after->x - x))
        return static_cast<int>(before - points.begin());
    return static_cast<int>(after - points.begin());
}

std::array<CanvasPoint, 3> cursorLine(const HistoryChart& chart, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= chart.points.size())
        return {};
    const ChartPoint& point = chart.points[static_cast<std::size_t>(index)];
    const CanvasRect& axes = chart.frame.axes;
    return {CanvasPoint{axes.left, point.y}, CanvasPoint{point.x, point.y}, CanvasPoint{point.x, axes.bottom}};
}

std::string historyDescription(const SecurityItem& item)
{
    const std::vector<Quotation>& history = item.history();
    const std::string& name = item.settings().name;
    if (history.empty())
        return fill(translate("Chart", "History of %1, no quotations"), {name});
    const VisiblePeriod period = visiblePeriod(history, item.settings().chart);
    const TimeStamp begin = history[period.first].time;
    const double reference = referenceValue(history, period.first, begin).value;
    const double latest = history[period.last].value;
    const std::string from = chartDate(begin);
    const std::string to = chartDate(history[period.last].time);
    const std::string value = printfText("%.3f", latest);
    if (!positive(reference) || !std::isfinite(latest))
        return fill(translate("Chart", "History of %1 from %2 to %3, latest %4"), {name, from, to, value});
    return fill(translate("Chart", "History of %1 from %2 to %3, latest %4, change %5"),
                {name, from, to, value, printfText("%+.2f%%", (latest / reference - 1) * 100)});
}

std::string pointMessage(const ChartPoint& point)
{
    return printfText("%s : %.4f", formatLocalTime(point.time, "%x  %H:%M").c_str(), point.value);
}

} // namespace tarvelo

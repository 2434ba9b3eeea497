#include "charts/historychart.h"

#include "model/securityitem.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

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

void drawNameOnly(Canvas& canvas, const ChartFrame& frame, const std::string& name)
{
    canvas.setFont(ChartFont::Title);
    canvas.setPen({kChartBlack});
    canvas.text({(frame.plot.left + frame.plot.right) / 2, 0}, name, TextAlign::Centre);
}

void drawTicks(Canvas& canvas, const HistoryChart& chart, const ChartOptions& options)
{
    const bool nominal = options.valueOnAxes == ValueOnAxes::Nominal;
    if (!nominal && !positive(chart.reference))
        return;
    const CanvasRect& plot = chart.frame.plot;
    const ValueAxis axis{!nominal,
                         nominal ? chart.minValue : chart.minRatio,
                         nominal ? chart.maxValue : chart.maxRatio,
                         plot.top,
                         plot.height(),
                         chart.frame.labelHeight};
    drawValueAxis(canvas, chart.frame, valueAxisTicks(axis), options.showGrid.isSet());
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

void drawPointValues(Canvas& canvas, const HistoryChart& chart, const ChartOptions& options)
{
    const bool percent = options.valueOnGraphic == ValueOnGraphic::Percentual;
    if (options.valueOnGraphic == ValueOnGraphic::None || (percent && !positive(chart.reference)))
        return;
    canvas.setFont(ChartFont::Axis);
    canvas.setPen({options.lineColour});
    for (const ChartPoint& point : chart.points) {
        const std::string text = percent ? printfText("%.2f%%", point.value * 100 / chart.reference)
                                         : printfText("%.3f", point.value);
        canvas.text({point.x, point.y}, text, TextAlign::Centre);
    }
}

// A label that would come within 5 pixels of the previous one drawn is left out, with its
// tick; only the labels drawn are formatted.
void drawDateLabels(Canvas& canvas, const HistoryChart& chart)
{
    const int half = chart.frame.dateHeight / 2 + 1;
    canvas.setFont(ChartFont::Date);
    canvas.setPen({kChartBlack});
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

HistoryChart drawHistoryChart(Canvas& canvas, int width, int height, const SecurityItem& item, ChartMedium medium)
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
        drawNameOnly(canvas, chart.frame, settings.name);
        return chart;
    }
    drawTitle(canvas, width, settings.name + " (" + chartDate(chart.begin) + "-" + chartDate(chart.end) + ")");
    drawAxes(canvas, chart.frame);
    drawTicks(canvas, chart, settings.chart);
    drawCurve(canvas, chart, visible, reference.interpolated, settings.chart.lineColour);
    drawPointValues(canvas, chart, settings.chart);
    drawDateLabels(canvas, chart);
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

std::string pointMessage(const ChartPoint& point)
{
    return printfText("%s : %.4f", formatLocalTime(point.time, "%x  %H:%M").c_str(), point.value);
}

} // namespace tarvelo

#include "charts/chartlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

namespace tarvelo {

namespace {

// The sample dates whose "%x" sets the room for the date labels.
TimeStamp sampleDate(ChartMedium medium)
{
    return medium == ChartMedium::Printer ? makeLocalTime(2000, 10, 30, 12) : makeLocalTime(2003, 10, 30, 12);
}

// An offset into a plot side of size pixels, truncated and kept within 0..size.
int pixelWithin(double offset, int size)
{
    if (!(offset > 0))
        return 0;
    if (offset >= size)
        return size;
    return static_cast<int>(offset);
}

// Rounding as the value axis does it: half up, to a whole number of steps.
double roundSteps(double steps)
{
    return std::floor(steps + 0.5);
}

std::string tickLabel(double value, bool percent)
{
    return percent ? printfText("%.2f%%", value * 100) : printfText("%.3f", value);
}

// A channel of 0x00BBGGRR, linearised as sRGB defines it.
double linearChannel(std::uint32_t colour, int shift)
{
    const double v = static_cast<double>((colour >> shift) & 0xFF) / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}

double luminance(std::uint32_t colour)
{
    return 0.2126 * linearChannel(colour, 0) + 0.7152 * linearChannel(colour, 8) + 0.0722 * linearChannel(colour, 16);
}

// share 0 gives a, 1 gives b, channel by channel.
std::uint32_t mixColours(std::uint32_t a, std::uint32_t b, double share)
{
    std::uint32_t mixed = 0;
    for (const int shift : {0, 8, 16}) {
        const double from = static_cast<double>((a >> shift) & 0xFF);
        const double to = static_cast<double>((b >> shift) & 0xFF);
        mixed |= static_cast<std::uint32_t>(std::lround(from + (to - from) * share)) << shift;
    }
    return mixed;
}

// The tick after v: raw further, snapped to whole steps; a snap back onto v (or, on a
// nominal axis, onto v's label) moves one more step.
double nextTick(double v, double raw, double step, bool percent, const std::string& label)
{
    double next = roundSteps((v + raw) / step) * step;
    if (percent ? next == v : tickLabel(next, false) == label)
        next += step;
    return next;
}

} // namespace

const FontSpec& ChartFonts::of(ChartFont font) const
{
    switch (font) {
    case ChartFont::Axis:
        return axis;
    case ChartFont::Date:
        return date;
    case ChartFont::Title:
        return title;
    case ChartFont::Block:
        return block;
    case ChartFont::Legend:
        break;
    }
    return legend;
}

ChartFonts ChartFonts::screen()
{
    return {{"Arial", "", 6, false}, {"Arial", "", 7, false}, {"Arial Black", "Arial", 8.5, true},
            {"Arial", "", 11, false}, {"Arial", "", 7.5, false}};
}

ChartFonts ChartFonts::printer()
{
    return {{"Arial", "", 12, false}, {"Arial", "", 10, false}, {"Arial Black", "Arial", 12, true},
            {"Arial", "", 11, false}, {"Arial", "", 10, false}};
}

ChartColours ChartColours::paper()
{
    return {};
}

ChartColours ChartColours::fromPalette(std::uint32_t background, std::uint32_t text)
{
    ChartColours colours;
    colours.background = background & 0xFFFFFF;
    colours.text = text & 0xFFFFFF;
    // Paper's grey 0x64 lies 155/255 of the way from white to black.
    colours.grid = mixColours(colours.background, colours.text, 155.0 / 255.0);
    return colours;
}

ChartColours ChartColours::dark()
{
    return fromPalette(0x202020, 0xE0E0E0);
}

bool ChartColours::darkBackground() const
{
    // Dark where white text stands out more than black would.
    return contrastRatio(background, kChartWhite) > contrastRatio(background, kChartBlack);
}

std::uint32_t ChartColours::item(std::uint32_t colour) const
{
    colour &= 0xFFFFFF;
    if (!darkBackground() || contrastRatio(colour, background) >= kItemContrast)
        return colour;
    // The least step towards white that stands out enough; the hue stays recognisable.
    for (int step = 1; step <= 16; ++step) {
        const std::uint32_t adjusted = mixColours(colour, kChartWhite, step / 16.0);
        if (contrastRatio(adjusted, background) >= kItemContrast)
            return adjusted;
    }
    return kChartWhite;
}

double contrastRatio(std::uint32_t a, std::uint32_t b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

ChartFrame layoutChart(Canvas& canvas, int width, int height, ChartMedium medium, std::string_view label,
                       std::string_view axisLabel)
{
    ChartFrame frame;
    canvas.setFont(ChartFont::Title);
    frame.titleHeight = canvas.textExtent("M").height;
    canvas.setFont(ChartFont::Date);
    const TextExtent date = canvas.textExtent(chartDate(sampleDate(medium)));
    frame.dateLength = date.width;
    frame.dateHeight = date.height;
    canvas.setFont(ChartFont::Axis);
    const TextExtent sample = canvas.textExtent(label);
    frame.labelWidth = sample.width;
    frame.labelHeight = sample.height;
    frame.axisWidth = canvas.textExtent(axisLabel).width;

    const bool printer = medium == ChartMedium::Printer;
    const int mWidth = printer ? canvas.textExtent("M").width : 0;
    const int left = frame.axisWidth * 3 / 2 + (printer ? mWidth + 1 : 4);
    const int bottom = frame.labelHeight + frame.dateLength + (printer ? mWidth : 3);
    const int side = frame.labelWidth / 2 + 1;
    frame.plot = {left, frame.titleHeight, width - side, height - bottom};
    frame.axes = {left - side, frame.plot.top, frame.plot.right + side, frame.plot.bottom + frame.labelHeight};
    return frame;
}

std::string nominalSampleLabel(double max)
{
    const int decimals = std::max(0, static_cast<int>(printfText("%.3f", max).size()) - 3);
    return printfText("%.*f", decimals, 0.0);
}

std::string printfText(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        text.resize(static_cast<std::size_t>(length));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    return text;
}

std::string chartDate(TimeStamp time)
{
    return formatLocalTime(time, "%x");
}

void ValueRange::include(double value)
{
    if (!std::isfinite(value))
        return;
    low = empty ? value : std::min(low, value);
    high = empty ? value : std::max(high, value);
    empty = false;
}

ReferenceValue referenceValue(std::span<const Quotation> history, std::size_t first, TimeStamp begin)
{
    if (first >= history.size())
        return {};
    const Quotation& after = history[first];
    if (first == 0 || after.time <= begin)
        return {after.value, false};
    const Quotation& before = history[first - 1];
    const std::int64_t whole = minutesBetween(before.time, after.time);
    const std::int64_t part = minutesBetween(before.time, begin);
    const double share = whole > 0 ? static_cast<double>(part) / static_cast<double>(whole) : 0.0;
    return {before.value + (after.value - before.value) * share, true};
}

std::int64_t minutesBetween(TimeStamp begin, TimeStamp time)
{
    return (std::int64_t{time} - begin) / 60;
}

int PlotMapping::x(TimeStamp time) const
{
    const double offset = static_cast<double>(minutesBetween(begin, time)) * xScale;
    return plot.left + pixelWithin(offset, plot.width());
}

int PlotMapping::y(double value) const
{
    const double offset = (high - value) / (high - low) * plot.height();
    return plot.top + (std::isnan(offset) ? plot.height() : pixelWithin(offset, plot.height()));
}

double minuteScale(int width, TimeStamp begin, TimeStamp end)
{
    const std::int64_t minutes = minutesBetween(begin, end);
    return minutes > 0 ? width / static_cast<double>(minutes) : 0.0;
}

double tickStep(double range, int n, bool percent)
{
    const double raw = range / std::max(n, 1);
    const double step = 0.25 * std::pow(10.0, std::ceil(std::log10(raw)));
    return percent && step == 0 ? 0.0025 : step;
}

namespace {

// The ticks of about n labels across the axis.
std::vector<ValueTick> ticksOfLabels(const ValueAxis& axis, int n)
{
    const double range = axis.high - axis.low;
    const double raw = range / n;
    const double step = tickStep(range, n, axis.percent);
    std::vector<ValueTick> ticks;
    if (!(std::isfinite(raw) && raw > 0 && std::isfinite(step) && step > 0))
        return ticks;

    const double pixelsPerUnit = axis.plotHeight / range;
    double v = roundSteps(axis.low / step) * step;
    if (v < axis.low)
        v += step;
    std::string previousLabel;
    int previousY = 0;
    // Every round moves v on by about raw or at least a step, so 4 n + 8 rounds cover the
    // range; the bound only matters where v + step rounds back to v.
    for (int round = 0; v <= axis.high && round < 4 * n + 8; ++round) {
        std::string label = tickLabel(v, axis.percent);
        if (label != previousLabel) {
            const int y = axis.plotTop + pixelWithin((axis.high - v) * pixelsPerUnit, axis.plotHeight);
            if (ticks.empty() || y != previousY)
                ticks.push_back({y, label});
            previousY = y;
        }
        const double next = nextTick(v, raw, step, axis.percent, label);
        if (!(next > v))
            break;
        previousLabel = std::move(label);
        v = next;
    }
    return ticks;
}

bool gridGapsFit(const std::vector<ValueTick>& ticks)
{
    for (std::size_t i = 1; i < ticks.size(); ++i) {
        if (std::abs(ticks[i - 1].y - ticks[i].y) < kMinimumGridGap)
            return false;
    }
    return true;
}

} // namespace

std::vector<ValueTick> valueAxisTicks(const ValueAxis& axis)
{
    // Snapping to whole steps brings two ticks up to half the intended distance together:
    // fewer labels until all keep their gap.
    for (int n = std::max(1, (axis.plotHeight / std::max(1, axis.labelHeight) + 1) / 2); n >= 1; --n) {
        std::vector<ValueTick> ticks = ticksOfLabels(axis, n);
        if (gridGapsFit(ticks))
            return ticks;
        if (n == 1)
            return {ticks.front()}; // a plot too low for two ticks
    }
    return {};
}

void fitValueAxis(Canvas& canvas, ChartFrame& frame, const std::vector<ValueTick>& ticks)
{
    canvas.setFont(ChartFont::Axis);
    int widest = 0;
    for (const ValueTick& tick : ticks)
        widest = std::max(widest, canvas.textExtent(tick.label).width);
    // Two pixels of room before the first letter, for the ink a glyph puts left of it.
    const int shift = widest + 2 - frame.axes.left;
    if (shift <= 0)
        return;
    frame.axes.left += shift;
    frame.plot.left += shift;
}

void drawValueAxis(Canvas& canvas, const ChartFrame& frame, const std::vector<ValueTick>& ticks, bool grid,
                   const ChartColours& colours)
{
    const int left = frame.axes.left;
    canvas.setFont(ChartFont::Axis);
    canvas.setPen({colours.text});
    for (const ValueTick& tick : ticks)
        canvas.text({left, tick.y - frame.titleHeight / 2}, tick.label, TextAlign::Right);
    if (grid)
        canvas.setPen({colours.grid});
    for (const ValueTick& tick : ticks)
        canvas.line({left, tick.y}, {grid ? frame.axes.right : left + 3, tick.y});
}

void drawTitle(Canvas& canvas, int width, std::string_view title, const ChartColours& colours)
{
    canvas.setFont(ChartFont::Title);
    canvas.setPen({colours.text});
    canvas.text({width / 2, 0}, title, TextAlign::Centre);
}

void drawAxes(Canvas& canvas, const ChartFrame& frame, const ChartColours& colours)
{
    const CanvasRect& axes = frame.axes;
    canvas.setPen({colours.text});
    canvas.line({axes.left, axes.top}, {axes.left, axes.bottom});
    canvas.line({axes.left, axes.bottom}, {axes.right, axes.bottom});
}

void drawDateLabel(Canvas& canvas, const ChartFrame& frame, int x, TimeStamp time)
{
    const int bottom = frame.axes.bottom;
    canvas.upwardText({x + frame.dateHeight / 2 + 1, bottom + 1}, chartDate(time));
    canvas.line({x, bottom}, {x, bottom - 3});
}

} // namespace tarvelo

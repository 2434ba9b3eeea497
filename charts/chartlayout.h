#pragma once

#include "charts/canvas.h"
#include "model/quotation.h"
#include "platform/localtime.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the history and the comparison chart share: fonts, the frame of plot and axes,
// the value axis and the date labels.
namespace tarvelo {

struct FontSpec {
    std::string family;   // asked for first; the device substitutes what it has
    std::string fallback; // when family is missing (e.g. "Arial" for "Arial Black")
    double points = 0;
    bool black = false;   // the heaviest weight
};

// One font per ChartFont, for one kind of device.
struct ChartFonts {
    FontSpec axis;
    FontSpec date;
    FontSpec title;
    FontSpec block;
    FontSpec legend;

    const FontSpec& of(ChartFont font) const;
    static ChartFonts screen();  // Arial 6, Arial 7 upward, Arial Black 8.5, Arial 11, legend Arial 7.5
    static ChartFonts printer(); // Arial 12, Arial 10 upward, Arial Black 12, Arial 11, legend Arial 10
};

// The paper's pens (0x00BBGGRR): axes, labels and titles black, the grid grey.
inline constexpr std::uint32_t kChartBlack = 0x000000;
inline constexpr std::uint32_t kGridColour = 0x646464;
inline constexpr std::uint32_t kChartWhite = 0xFFFFFF;

// The colours a chart is drawn in (0x00BBGGRR). Paper is white with black text, as
// printed pages and picture files are; the screen takes them from the desktop's palette.
// On a dark background an item's line colour that would hardly show is lightened.
struct ChartColours {
    std::uint32_t background = kChartWhite;
    std::uint32_t text = kChartBlack; // title, labels, axes
    std::uint32_t grid = kGridColour;

    // White paper, as the printer gets it.
    static ChartColours paper();
    // Background and text from a palette; the grid lies between them, where paper's grey
    // lies between white and black.
    static ChartColours fromPalette(std::uint32_t background, std::uint32_t text);
    // The dark picture of tarvelo-cli chart --dark.
    static ChartColours dark();

    bool darkBackground() const;
    // An item's line colour as it is drawn on this background.
    std::uint32_t item(std::uint32_t colour) const;
    bool operator==(const ChartColours&) const = default;
};

// The contrast of two colours as WCAG defines it: 1 (the same) to 21 (black on white).
double contrastRatio(std::uint32_t a, std::uint32_t b);
// The least contrast an item's curve and its values keep against a dark background.
inline constexpr double kItemContrast = 4.5;
// Grid lines and value labels of the value axis keep at least this many pixels apart.
inline constexpr int kMinimumGridGap = 12;

// The widest label of a percentual value axis; it sets the room for such labels.
inline constexpr const char* kPercentSampleLabel = "999.99%";

// Screen and printer lay a chart out slightly differently (margins, the sample date).
enum class ChartMedium { Screen, Printer };

// Plot and axes of a chart, computed from the client size and the fonts.
struct ChartFrame {
    CanvasRect plot;
    CanvasRect axes;
    int titleHeight = 0; // height of "M" in the title font
    int dateLength = 0;  // length of a sample date in the date font
    int dateHeight = 0;  // its thickness
    int labelWidth = 0;  // size of a value label in the axis font
    int labelHeight = 0;
    int axisWidth = 0;   // room for the value axis labels

    // False when the plot would have a negative width or height: nothing is drawn.
    bool drawable() const { return plot.width() >= 0 && plot.height() >= 0; }
};

// label: the sample value label whose size sets labelWidth/labelHeight; axisLabel the one
// that sets axisWidth.
ChartFrame layoutChart(Canvas& canvas, int width, int height, ChartMedium medium, std::string_view label,
                       std::string_view axisLabel);

// The sample label of the value axis for a nominal chart whose highest value is max:
// 0 with as many decimals as "%.3f" of max has characters before its last three.
std::string nominalSampleLabel(double max);

// printf-style formatting under the user's locale, as the list formats its numbers
// ("%.2f%%", "%.3f", "%.4f").
[[gnu::format(printf, 1, 2)]] std::string printfText(const char* format, ...);
// "%x" of a time stamp.
std::string chartDate(TimeStamp time);

// Value axis ticks: nominal values, or ratios to the reference value (1.0 is 100%).
struct ValueTick {
    int y = 0;
    std::string label;
};

struct ValueAxis {
    bool percent = false; // ratios, labelled in percent; else nominal values
    double low = 0;       // min or minRatio
    double high = 0;      // max or maxRatio
    int plotTop = 0;
    int plotHeight = 0;   // H
    int labelHeight = 0;  // labelH of the frame
};

// The step between ticks for a range divided into n labels:
// 0.25 * 10^ceil(log10(range / n)); on a percentual axis a step of 0 becomes 0.0025.
double tickStep(double range, int n, bool percent);
// The ticks in order from low to high, each with a label differing from the previous one
// and at least kMinimumGridGap pixels from the previous one: where the labels the plot's
// height asks for come closer, fewer are taken.
std::vector<ValueTick> valueAxisTicks(const ValueAxis& axis);
// Moves the plot's and the axes' left edges to the right as far as the widest of the
// ticks' labels needs, so that none is cut off at the left edge; the frame stays as it is
// where they fit. Measures in the axis font.
void fitValueAxis(Canvas& canvas, ChartFrame& frame, const std::vector<ValueTick>& ticks);
// Draws the ticks: labels right-aligned at the axis, a grid line across the axes or a
// 3-pixel tick.
void drawValueAxis(Canvas& canvas, const ChartFrame& frame, const std::vector<ValueTick>& ticks, bool grid,
                   const ChartColours& colours = {});

// The lowest and highest of the values given to it; values that are not finite numbers
// are left out. Empty until a finite value was given.
struct ValueRange {
    double low = 0;
    double high = 0;
    bool empty = true;

    void include(double value);
};

// The value of a history at begin. first is the index of its first quotation at or after
// begin: when an older quotation exists and first lies after begin, the value is
// interpolated between the two by whole minutes; otherwise it is the value of first.
struct ReferenceValue {
    double value = 0;
    bool interpolated = false;
};
ReferenceValue referenceValue(std::span<const Quotation> history, std::size_t first, TimeStamp begin);

// Whole minutes from begin to time, in 64 bits so that no time stamp overflows.
std::int64_t minutesBetween(TimeStamp begin, TimeStamp time);

// Where moments and values go in the plot: x grows with whole minutes since begin at
// xScale pixels each; y runs from high at the plot's top to low at its bottom. Both are
// kept inside the plot (edges included); a value that is not a number goes to the bottom.
struct PlotMapping {
    CanvasRect plot;
    TimeStamp begin = 0;
    double xScale = 0;
    double low = 0;
    double high = 1;

    int x(TimeStamp time) const;
    int y(double value) const;
};

// W / minutes of the period from begin to end, 0 for a period shorter than a minute.
double minuteScale(int width, TimeStamp begin, TimeStamp end);

// The title line, centred at the top of a client area width wide, in the title font.
void drawTitle(Canvas& canvas, int width, std::string_view title, const ChartColours& colours = {});
// The axes in the text colour: down the left side of the axes rectangle and along its bottom.
void drawAxes(Canvas& canvas, const ChartFrame& frame, const ChartColours& colours = {});

// The date label of one point: upward, centred on x below the axis, with a 3-pixel tick.
// The caller sets the date font and the text colour's pen.
void drawDateLabel(Canvas& canvas, const ChartFrame& frame, int x, TimeStamp time);

} // namespace tarvelo

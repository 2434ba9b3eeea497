#pragma once

#include "charts/chartlayout.h"
#include "charts/historychart.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvelo {

class Profile;
class SecurityItem;

// The comparison chart's own settings: limits of its period, its grid and its legend.
// They belong to the chart view, not to the items, and live in the profile.
struct ComparisonSettings {
    bool beginLimitOn = false;
    int beginYear = 1999;
    int beginMonth = 1;
    int beginDay = 1;
    bool endLimitOn = false;
    int endYear = 2005;
    int endMonth = 1;
    int endDay = 1;
    bool grid = true;
    bool legend = true; // the items' names in their colours above the plot, on the screen

    static ComparisonSettings read(const Profile& profile);
    void write(Profile& profile) const;

    // The begin date at 00:00:00 and the end date at 23:59:59, local time.
    std::int32_t beginLimit() const;
    std::int32_t endLimit() const;

    bool operator==(const ComparisonSettings&) const = default;
};

// One item's curve in a comparison chart.
struct ComparisonCurve {
    std::size_t item = 0;      // index into the items drawn
    double reference = 0;      // its value at begin
    bool interpolated = false; // reference lies between two quotations
    std::vector<CanvasPoint> points;
    std::vector<std::int32_t> times; // the moment of each point
};

struct ComparisonChart {
    bool plotted = false; // false: the plot did not fit, or nothing to compare
    ChartFrame frame;
    std::int32_t begin = 0;
    std::int32_t end = 0;
    double minRatio = 1;
    double maxRatio = 1;
    std::vector<ComparisonCurve> curves;
    std::vector<int> dateLabels; // x of each date label drawn
    int legendRows = 0;          // rows of the legend drawn above the plot
};

// The pen of the curve of the item at index item: solid on the screen; on the printer the
// items take solid, dashed, dotted, dash-dot and dash-dot-dot lines in turn, so that the
// curves stay apart on a page printed in black and white.
PenStyle comparisonCurveStyle(std::size_t item, ChartMedium medium);

// Draws the items' values relative to each one's value at the common begin, each in its
// line colour, with a percentual value axis and a date axis. On the printer the title
// names the document (documentTitle) instead of "Comparison". On the screen, with the
// legend on, rows of the compared items' names in their colours come below the title,
// as far as they leave the plot two thirds of the height. The caller has filled the
// background with colours.background.
ComparisonChart drawComparisonChart(Canvas& canvas, int width, int height,
                                    std::span<const SecurityItem* const> items, const ComparisonSettings& settings,
                                    ChartMedium medium = ChartMedium::Screen, std::string_view documentTitle = {},
                                    const ChartColours& colours = {});

// Where a cursor stops on a drawn comparison chart: at each point of every curve, one per
// x (the earliest moment there), by x. Only x and time are set.
std::vector<ChartPoint> comparisonStops(const ComparisonChart& chart);
// The cursor at x: down across the plot to the date axis.
std::array<CanvasPoint, 2> comparisonCursor(const ComparisonChart& chart, int x);
// The message pane text for a moment of a comparison chart drawn of items: its date and
// "%x  %H:%M", then each curve's value at that moment and its percentage of the value at
// begin, as "NAME 12.5000 (104.17%)"; a curve that has ended by then is left out.
std::string comparisonMessage(const ComparisonChart& chart, std::span<const SecurityItem* const> items,
                              std::int32_t time);

// What the comparison chart of items shows, in one sentence for screen readers: its
// period, and each item's change from the common begin to its last value in the period.
std::string comparisonDescription(std::span<const SecurityItem* const> items, const ComparisonSettings& settings);

} // namespace tarvelo

#pragma once

#include "charts/chartlayout.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tarvelo {

class Profile;
class SecurityItem;

// The comparison chart's own settings: limits of its period and its grid. They belong to
// the chart view, not to the items, and live in the profile.
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
};

// The pen of the curve of the item at index item: solid on the screen; on the printer the
// items take solid, dashed, dotted, dash-dot and dash-dot-dot lines in turn, so that the
// curves stay apart on a page printed in black and white.
PenStyle comparisonCurveStyle(std::size_t item, ChartMedium medium);

// Draws the items' values relative to each one's value at the common begin, each in its
// line colour, with a percentual value axis and a date axis. On the printer the title
// names the document (documentTitle) instead of "Comparison".
ComparisonChart drawComparisonChart(Canvas& canvas, int width, int height,
                                    std::span<const SecurityItem* const> items, const ComparisonSettings& settings,
                                    ChartMedium medium = ChartMedium::Screen, std::string_view documentTitle = {});

} // namespace tarvelo

#pragma once

#include "charts/chartlayout.h"
#include "model/quotation.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tarvelo {

class SecurityItem;

// One drawn quotation of a history chart.
struct ChartPoint {
    int x = 0;
    int y = 0;
    std::int32_t time = 0;
    double value = 0;
};

// What drawing an item's history chart computed: the frame, the period and ranges, and
// one point per visible quotation, for pointer tracking.
struct HistoryChart {
    bool plotted = false;          // false: nothing, or only the item's name, was drawn
    ChartFrame frame;
    std::size_t firstVisible = 0;  // index in the history of points[0]
    std::int32_t begin = 0;
    std::int32_t end = 0;
    double reference = 0;          // the value at begin (100% on a percentual axis)
    double minValue = 0;
    double maxValue = 0;
    double minRatio = 0;
    double maxRatio = 0;
    std::vector<ChartPoint> points;
};

// Draws the item's history chart into a client area of width x height: the title, the
// axes and value labels, the curve in the item's line colour, point values and date
// labels, as the item's chart options say. A point value that would overlap one drawn
// before is left out. The caller has filled the background with colours.background.
HistoryChart drawHistoryChart(Canvas& canvas, int width, int height, const SecurityItem& item,
                              ChartMedium medium = ChartMedium::Screen, const ChartColours& colours = {});

// What the item's history chart shows, in one sentence for screen readers: "History of
// NAME from DATE to DATE, latest VALUE, change +X%" over the chart's period (without the
// change where the value at its begin is not positive).
std::string historyDescription(const SecurityItem& item);

// The point nearest to x horizontally (the first of equal distances), or -1 when there
// are no points. The points' x never decreases.
int nearestPoint(const std::vector<ChartPoint>& points, int x);

// The cursor of a point: from the value axis across to the point and down to the date
// axis.
std::array<CanvasPoint, 3> cursorLine(const HistoryChart& chart, int index);

// The message pane text for a point: "%s : %.4lf" with its date "%x  %H:%M" and value.
std::string pointMessage(const ChartPoint& point);

} // namespace tarvelo

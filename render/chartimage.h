#pragma once

#include "charts/canvas.h"
#include "charts/comparisonchart.h"
#include "platform/fileerror.h"

#include <span>
#include <string>

class QImage;

namespace tarvelo {

class SecurityItem;

// The picture of a chart as a file: its size in logical pixels, and how many device
// pixels a logical pixel is in a PNG (2 draws the same layout twice as large and
// sharper). An SVG is drawn in logical pixels.
struct ChartImageSize {
    int width = 960;
    int height = 540;
    double pixelRatio = 1;
};

// What a chart file shows: the history chart of one item, or the comparison chart of
// several with the comparison settings, on white paper or in other colours.
struct ChartSubject {
    std::span<const SecurityItem* const> items;
    ComparisonSettings comparison;
    ChartColours colours = ChartColours::paper();
};

// Draws the subject's chart into a client area of width x height on a canvas, as the
// chart pane would (nothing for no items), on a background of subject.colours that the
// caller has filled.
void drawChart(Canvas& canvas, int width, int height, const ChartSubject& subject);

// What the chart shows, in a sentence for screen readers (empty for no items).
std::string chartDescription(const ChartSubject& subject);

// The chart in an image of size x ratio device pixels, filled with the subject's
// background; a null image when it cannot be allocated.
QImage chartImage(const ChartSubject& subject, const ChartImageSize& size);

// Writes the chart to path: PNG or SVG, after the file's extension in any letter case.
// The file is replaced only once the whole picture is written. Returns an empty text
// on success, else what went wrong (UTF-8).
std::string writeChartImage(const std::string& path, const ChartSubject& subject, const ChartImageSize& size);

// What a failed write of a picture or report file says to the user.
std::string fileErrorText(FileError error);

// Whether a path names a file writeChartImage can write, by its extension.
bool isChartImagePath(const std::string& path);

// Makes sure a QGuiApplication exists, on the "offscreen" platform when this call makes
// it, so that fonts and painters work in a process without a display. The GUI program
// has its application already, and this does nothing there.
void ensureGuiApplication();
// Ends the application that ensureGuiApplication made, if it made one; a program calls it
// once it has drawn its last chart, so that the font caches go with it.
void releaseGuiApplication();

} // namespace tarvelo

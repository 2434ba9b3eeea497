#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// What the charts draw on: the screen, an image or SVG file, a printer page, or a
// recording in tests. Coordinates are logical pixels with (0, 0) at the top left; a
// canvas on a high-resolution device scales them itself. Texts are UTF-8.
namespace tarvelo {

struct CanvasPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CanvasPoint&) const = default;
};

// Edges as drawn: left and top inside, right and bottom the first pixel outside.
struct CanvasRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const CanvasRect&) const = default;
};

struct TextExtent {
    int width = 0;  // along the text
    int height = 0; // across it
};

// The fonts a chart uses. A canvas maps each to a font of the device (see ChartFonts).
enum class ChartFont {
    Axis,  // value labels, point values
    Date,  // the date labels, turned to read upward
    Title, // the title line
    Block, // the printed report's item blocks
    Legend, // the names in the comparison chart's legend
};

// Dashed, DashDot and DashDotDot tell the printed comparison chart's curves apart where
// colour does not print.
enum class PenStyle { Solid, Dotted, Dashed, DashDot, DashDotDot };

// Colours are 0x00BBGGRR, as the items store their line colour.
struct Pen {
    std::uint32_t colour = 0;
    PenStyle style = PenStyle::Solid;
};

enum class TextAlign { Left, Centre, Right };

class Canvas {
public:
    virtual ~Canvas() = default;

    virtual void setFont(ChartFont font) = 0;
    // The size of a text in the current font: for the date font its length along the
    // turned text is the width, its thickness the height.
    virtual TextExtent textExtent(std::string_view text) = 0;

    // Lines and texts take the pen's colour; lines are one logical pixel wide.
    virtual void setPen(const Pen& pen) = 0;
    virtual void line(CanvasPoint from, CanvasPoint to) = 0;
    // Lines through all points in order (nothing for fewer than two).
    virtual void polyline(std::span<const CanvasPoint> points) = 0;

    // A text of the current font with its top at at.y: starting at at.x (Left), centred
    // on it (Centre) or ending at it (Right).
    virtual void text(CanvasPoint at, std::string_view text, TextAlign align) = 0;
    // A text of the current (date) font turned to read upward. Its box spans from
    // end.x - height to end.x across and from end.y down to end.y + width along, so that
    // end is where the text ends, on the side of its baseline.
    virtual void upwardText(CanvasPoint end, std::string_view text) = 0;

    // An ellipse filled with a colour inside box, without an outline.
    virtual void filledEllipse(CanvasRect box, std::uint32_t colour) = 0;

    // A dotted line through the points that inverts the pixels under it, so that it shows
    // on any background; drawing it twice leaves the picture as it was.
    virtual void invertedPolyline(std::span<const CanvasPoint> points) = 0;
};

} // namespace tarvelo

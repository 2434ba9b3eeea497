#pragma once

#include "charts/canvas.h"
#include "charts/chartlayout.h"

#include <QColor>
#include <QFont>
#include <QPen>

#include <array>
#include <cstdint>

class QPainter;

namespace tarvelo {

// A chart colour (0x00BBGGRR) as Qt has it, and back.
QColor colourOf(std::uint32_t colour);
std::uint32_t colourRef(const QColor& colour);

// The charts' canvas over a QPainter: the screen, an image, an SVG file or a printer.
// Lines and texts are anti-aliased; fonts are made in the painter's device resolution
// from their point sizes, so a chart keeps its proportions on every device and a device
// pixel ratio of 2 only makes it sharper.
class QtCanvas : public Canvas {
public:
    QtCanvas(QPainter& painter, const ChartFonts& fonts);

    void setFont(ChartFont font) override;
    TextExtent textExtent(std::string_view text) override;
    void setPen(const Pen& pen) override;
    void line(CanvasPoint from, CanvasPoint to) override;
    void polyline(std::span<const CanvasPoint> points) override;
    void text(CanvasPoint at, std::string_view text, TextAlign align) override;
    void upwardText(CanvasPoint end, std::string_view text) override;
    void filledEllipse(CanvasRect box, std::uint32_t colour) override;
    void invertedPolyline(std::span<const CanvasPoint> points) override;

    // The QFont a chart font becomes on this painter's device.
    QFont font(ChartFont font) const;

private:
    QPainter& m_painter;
    std::array<QFont, 5> m_fonts;
    ChartFont m_current = ChartFont::Axis;
    QPen m_pen;
    int m_lineWidth = 1; // device pixels; more than 1 on printers
};

} // namespace tarvelo

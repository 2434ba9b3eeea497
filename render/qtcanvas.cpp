#include "render/qtcanvas.h"

#include "platform/codepage.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineF>
#include <QPaintEngine>
#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvelo {

namespace {

// The dots of a dotted pen: three line widths on, three off; dashes and dots likewise,
// so that curves that share a printed page can be told apart without colour.
const QList<qreal> kDots = {3, 3};
const QList<qreal> kDashes = {18, 6};
const QList<qreal> kDashDots = {9, 6, 3, 6};
const QList<qreal> kDashDotDots = {9, 3, 3, 3, 3, 3};

const QList<qreal>* dashesOf(PenStyle style)
{
    switch (style) {
    case PenStyle::Solid:
        break;
    case PenStyle::Dotted:
        return &kDots;
    case PenStyle::Dashed:
        return &kDashes;
    case PenStyle::DashDot:
        return &kDashDots;
    case PenStyle::DashDotDot:
        return &kDashDotDots;
    }
    return nullptr;
}
// What the inverted cursor becomes on devices without raster operations.
const QColor kInvertedFallback(128, 128, 128);

QString qText(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QFont makeFont(const FontSpec& wanted, QPaintDevice* device)
{
    // The font system substitutes some font for any family it lacks ("Arial Black" may
    // become a wide sans serif), so a family that is not installed gives way to the
    // fallback the chart names for it, which the system maps to its metric twin.
    QStringList families{qText(wanted.family)};
    if (!wanted.fallback.empty()) {
        if (!QFontDatabase::hasFamily(families.front()))
            families.clear();
        families.append(qText(wanted.fallback));
    }
    QFont font;
    font.setFamilies(families);
    font.setPointSizeF(wanted.points);
    if (wanted.black)
        font.setWeight(QFont::Black);
    return device ? QFont(font, device) : font;
}

std::size_t fontIndex(ChartFont font)
{
    return static_cast<std::size_t>(font);
}

// A point of the canvas at the centre of its pixel, where a 1-pixel line covers the
// pixel exactly.
QPointF centre(CanvasPoint p)
{
    return {p.x + 0.5, p.y + 0.5};
}

// The points that draw the same picture of 1-pixel lines: a run of points in one pixel
// column draws a vertical line from its lowest to its highest point, whatever the order
// in between, so each run keeps its entry, its extremes in their order, and its exit.
// Repeated points go as well.
std::vector<QPointF> reducedPolyline(std::span<const CanvasPoint> points)
{
    std::vector<QPointF> out;
    out.reserve(std::min<std::size_t>(points.size(), 4096));
    const auto add = [&out](CanvasPoint p) {
        const QPointF q = centre(p);
        if (out.empty() || out.back() != q)
            out.push_back(q);
    };
    std::size_t i = 0;
    while (i < points.size()) {
        const int x = points[i].x;
        std::size_t end = i + 1;
        std::size_t low = i;
        std::size_t high = i;
        for (; end < points.size() && points[end].x == x; ++end) {
            if (points[end].y < points[low].y)
                low = end;
            if (points[end].y > points[high].y)
                high = end;
        }
        add(points[i]);
        add(points[std::min(low, high)]);
        add(points[std::max(low, high)]);
        add(points[end - 1]);
        i = end;
    }
    return out;
}

} // namespace

QColor colourOf(std::uint32_t colour)
{
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t colourRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | static_cast<std::uint32_t>(colour.green()) << 8 |
           static_cast<std::uint32_t>(colour.blue()) << 16;
}

QtCanvas::QtCanvas(QPainter& painter, const ChartFonts& fonts) : m_painter(painter)
{
    // A pixel of a printer or a PDF page is too thin for a line that should be seen: lines
    // there keep about the width a screen pixel has on paper.
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    m_lineWidth = std::max(1, (dpi + 75) / 150);
    for (const ChartFont font :
         {ChartFont::Axis, ChartFont::Date, ChartFont::Title, ChartFont::Block, ChartFont::Legend})
        m_fonts[fontIndex(font)] = makeFont(fonts.of(font), painter.device());
    m_painter.setRenderHint(QPainter::Antialiasing, true);
    m_painter.setRenderHint(QPainter::TextAntialiasing, true);
    m_painter.setBackgroundMode(Qt::TransparentMode);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.setFont(m_fonts[fontIndex(m_current)]);
    setPen(Pen{});
}

QFont QtCanvas::font(ChartFont font) const
{
    return m_fonts[fontIndex(font)];
}

void QtCanvas::setFont(ChartFont font)
{
    m_current = font;
    m_painter.setFont(m_fonts[fontIndex(font)]);
}

TextExtent QtCanvas::textExtent(std::string_view text)
{
    const QFontMetrics metrics(m_fonts[fontIndex(m_current)], m_painter.device());
    return {metrics.horizontalAdvance(qText(text)), metrics.height()};
}

void QtCanvas::setPen(const Pen& pen)
{
    m_pen = QPen(colourOf(pen.colour), m_lineWidth, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin);
    if (const QList<qreal>* dashes = dashesOf(pen.style))
        m_pen.setDashPattern(*dashes);
    m_painter.setPen(m_pen);
}

void QtCanvas::line(CanvasPoint from, CanvasPoint to)
{
    if (from == to)
        return;
    // As GDI draws a line: from its first pixel up to, not including, its last.
    if (m_lineWidth == 1 && m_pen.style() == Qt::SolidLine && (from.x == to.x || from.y == to.y)) {
        const int left = from.x == to.x ? from.x : (from.x < to.x ? from.x : to.x + 1);
        const int top = from.y == to.y ? from.y : (from.y < to.y ? from.y : to.y + 1);
        const int width = from.x == to.x ? 1 : std::abs(to.x - from.x);
        const int height = from.y == to.y ? 1 : std::abs(to.y - from.y);
        m_painter.fillRect(QRectF(left, top, width, height), m_pen.color());
        return;
    }
    m_painter.drawLine(QLineF(centre(from), centre(to)));
}

void QtCanvas::polyline(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)
        return;
    if (m_pen.style() != Qt::SolidLine) {
        // Dots run along the whole path: every point counts.
        std::vector<QPointF> all;
        all.reserve(points.size());
        for (const CanvasPoint p : points)
            all.push_back(centre(p));
        m_painter.drawPolyline(all.data(), static_cast<int>(all.size()));
        return;
    }
    const std::vector<QPointF> reduced = reducedPolyline(points);
    if (reduced.size() == 1)
        m_painter.drawPoint(reduced.front());
    else
        m_painter.drawPolyline(reduced.data(), static_cast<int>(reduced.size()));
}

void QtCanvas::text(CanvasPoint at, std::string_view text, TextAlign align)
{
    const QFont& font = m_fonts[fontIndex(m_current)];
    const QFontMetrics metrics(font, m_painter.device());
    const QString s = qText(text);
    int left = at.x;
    if (align != TextAlign::Left) {
        const int width = metrics.horizontalAdvance(s);
        left -= align == TextAlign::Centre ? width / 2 : width;
    }
    m_painter.drawText(QPointF(left, at.y + metrics.ascent()), s);
}

void QtCanvas::upwardText(CanvasPoint end, std::string_view text)
{
    const QFont& font = m_fonts[fontIndex(m_current)];
    const QFontMetrics metrics(font, m_painter.device());
    const QString s = qText(text);
    // Turned a quarter to the left, the text runs up from the bottom of its box and its
    // top faces left: the baseline lies its descent inside the box's right edge.
    m_painter.save();
    m_painter.translate(end.x, end.y + metrics.horizontalAdvance(s));
    m_painter.rotate(-90);
    m_painter.drawText(QPointF(0, -metrics.descent()), s);
    m_painter.restore();
}

void QtCanvas::filledEllipse(CanvasRect box, std::uint32_t colour)
{
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(colourOf(colour));
    m_painter.drawEllipse(QRectF(box.left, box.top, box.width(), box.height()));
    m_painter.restore();
}

void QtCanvas::invertedPolyline(std::span<const CanvasPoint> points)
{
    if (points.size() < 2)
        return;
    std::vector<QPointF> path;
    path.reserve(points.size());
    for (const CanvasPoint p : points)
        path.push_back(centre(p));
    m_painter.save();
    const QPaintEngine* engine = m_painter.paintEngine();
    QPen pen(Qt::white, 1, Qt::CustomDashLine, Qt::FlatCap, Qt::MiterJoin);
    pen.setDashPattern(kDots);
    if (engine && engine->hasFeature(QPaintEngine::RasterOpModes)) {
        // Whole pixels only: a partly covered pixel would not come back when drawn twice.
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    } else {
        pen.setColor(kInvertedFallback);
    }
    m_painter.setPen(pen);
    m_painter.drawPolyline(path.data(), static_cast<int>(path.size()));
    m_painter.restore();
}

} // namespace tarvelo

#pragma once

#include "charts/canvas.h"

#include <string>
#include <vector>

namespace tarvelo::test {

// A canvas that records what is drawn on it, with fixed text metrics: every character is
// 5 pixels wide and each font has its own height, so that layouts can be worked out by
// hand.
class RecordingCanvas : public Canvas {
public:
    enum class Kind { Line, Polyline, Text, UpwardText, Ellipse, Inverted };

    struct Operation {
        Kind kind = Kind::Line;
        std::vector<CanvasPoint> points; // the line's ends, the polyline's points, a text's anchor
        std::string text;
        TextAlign align = TextAlign::Left;
        ChartFont font = ChartFont::Axis;
        Pen pen;
    };

    static constexpr int kCharWidth = 5;
    static int heightOf(ChartFont font)
    {
        return font == ChartFont::Title ? 12 : font == ChartFont::Date ? 9 : font == ChartFont::Axis ? 8 : 10;
    }

    void setFont(ChartFont font) override { m_font = font; }
    TextExtent textExtent(std::string_view text) override
    {
        return {kCharWidth * static_cast<int>(text.size()), heightOf(m_font)};
    }
    void setPen(const Pen& pen) override { m_pen = pen; }
    void line(CanvasPoint from, CanvasPoint to) override { record(Kind::Line, {from, to}); }
    void polyline(std::span<const CanvasPoint> points) override
    {
        record(Kind::Polyline, {points.begin(), points.end()});
    }
    void text(CanvasPoint at, std::string_view text, TextAlign align) override
    {
        record(Kind::Text, {at}, text, align);
    }
    void upwardText(CanvasPoint end, std::string_view text) override { record(Kind::UpwardText, {end}, text); }
    void filledEllipse(CanvasRect box, std::uint32_t) override { record(Kind::Ellipse, {{box.left, box.top}}); }
    void invertedPolyline(std::span<const CanvasPoint> points) override
    {
        record(Kind::Inverted, {points.begin(), points.end()});
    }
    // The position of the first operation of a kind, or the count of operations.
    std::size_t firstOf(Kind kind) const
    {
        std::size_t i = 0;
        while (i < operations.size() && operations[i].kind != kind)
            ++i;
        return i;
    }

    std::vector<Operation> operations;

    std::vector<Operation> all(Kind kind) const
    {
        std::vector<Operation> found;
        for (const Operation& operation : operations) {
            if (operation.kind == kind)
                found.push_back(operation);
        }
        return found;
    }

private:
    void record(Kind kind, std::vector<CanvasPoint> points, std::string_view text = {},
                TextAlign align = TextAlign::Left)
    {
        operations.push_back({kind, std::move(points), std::string(text), align, m_font, m_pen});
    }

    ChartFont m_font = ChartFont::Axis;
    Pen m_pen;
};

} // namespace tarvelo::test

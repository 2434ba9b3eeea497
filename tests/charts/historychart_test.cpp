// The history chart's geometry and painting, on a canvas with fixed text metrics.
#include "charts/historychart.h"
#include "model/securityitem.h"

#include "tests/charts/recordingcanvas.h"
#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace tarvelo {
namespace {

using test::RecordingCanvas;
using Kind = RecordingCanvas::Kind;
constexpr double kInf = std::numeric_limits<double>::infinity();

class HistoryChartTest : public ::testing::Test {
protected:
    test::ScopedTimeZone m_zone{"CET-1CEST,M3.5.0,M10.5.0/3"};
    const TimeStamp m_day0 = makeLocalTime(2005, 1, 3, 12);

    TimeStamp day(double days) const { return m_day0 + static_cast<TimeStamp>(days * 86400); }

    SecurityItem item(const std::vector<double>& values, double daysApart = 1) const
    {
        SecurityItem item;
        item.settings().name = "Acme";
        for (std::size_t i = 0; i < values.size(); ++i)
            item.appendLoadedQuotation({day(static_cast<double>(i) * daysApart), values[i]});
        return item;
    }
};

TEST_F(HistoryChartTest, LaysOutAndPaintsInOrder)
{
    const SecurityItem acme = item({10, 12.5, 11, 12});
    RecordingCanvas canvas;
    const HistoryChart chart = drawHistoryChart(canvas, 400, 300, acme);

    // Title "M" 12 high, sample date "10/30/03" 40 x 9, label "0.000" 25 x 8, "999.99%" 35 wide.
    ASSERT_TRUE(chart.plotted);
    EXPECT_EQ(chart.frame.plot, (CanvasRect{56, 12, 387, 249}));
    EXPECT_EQ(chart.frame.axes, (CanvasRect{43, 12, 400, 257}));
    const auto& ops = canvas.operations;
    EXPECT_EQ(ops[0].text, "Acme (01/03/05-01/06/05)");
    EXPECT_EQ(ops[0].points[0], (CanvasPoint{200, 0}));
    EXPECT_EQ(ops[1].points, (std::vector<CanvasPoint>{{43, 12}, {43, 257}}));
    EXPECT_EQ(ops[2].points, (std::vector<CanvasPoint>{{43, 257}, {400, 257}}));

    // Percentual ticks from 100% at the bottom to 125%, on grey grid lines; then the curve,
    // then the date labels with their ticks. k ticks put their k labels from ops[3] on and
    // their k lines after them, so the curve is ops[3 + 2k].
    EXPECT_EQ(ops[3].text, "100.00%");
    EXPECT_EQ(ops[3].points[0], (CanvasPoint{43, 249 - 6}));
    const std::size_t curve = canvas.firstOf(Kind::Polyline);
    EXPECT_EQ(ops[curve / 2 + 1].text, "125.00%");
    EXPECT_EQ(ops[curve / 2 + 2].points, (std::vector<CanvasPoint>{{43, 249}, {400, 249}}));
    EXPECT_EQ(ops[curve / 2 + 2].pen.colour, kGridColour);
    EXPECT_EQ(ops[curve].points, (std::vector<CanvasPoint>{{56, 249}, {166, 12}, {276, 154}, {387, 59}}));
    ASSERT_EQ(ops.size(), curve + 1 + 2 * 4);
    EXPECT_EQ(ops[curve + 1].text, "01/03/05");
    EXPECT_EQ(ops[curve + 1].points[0], (CanvasPoint{56 + 5, 258}));
    EXPECT_EQ(ops[curve + 2].points, (std::vector<CanvasPoint>{{56, 257}, {56, 254}}));

    // The printer's margins take the width of "M" in the axis font.
    RecordingCanvas printer;
    EXPECT_EQ(drawHistoryChart(printer, 400, 300, acme, ChartMedium::Printer).frame.plot,
              (CanvasRect{58, 12, 387, 247}));
}

TEST_F(HistoryChartTest, ValueAxisTicksSnapToStepsAndSkipRepeats)
{
    EXPECT_DOUBLE_EQ(tickStep(0.4, 8, true), 0.025);
    EXPECT_DOUBLE_EQ(tickStep(0, 8, true), 0.0025);

    // H 120 / label height 8 gives n = 8: ticks raw 0.05 apart, on multiples of 0.025.
    const auto ticks = valueAxisTicks({true, 0.9, 1.3, 0, 120, 8});
    std::vector<std::string> labels;
    for (const ValueTick& tick : ticks)
        labels.push_back(tick.label);
    EXPECT_EQ(labels, (std::vector<std::string>{"90.00%", "95.00%", "100.00%", "105.00%", "110.00%", "115.00%",
                                                "120.00%", "125.00%", "130.00%"}));
    EXPECT_EQ(ticks.front().y, 120);
    EXPECT_EQ(ticks.back().y, 0);
    EXPECT_EQ(valueAxisTicks({true, 0.41, 0.82, 0, 120, 8}).front().label, "42.50%");

    // Steps finer than the labels' three decimals draw each label once; a step that no
    // longer changes the value, or a range that is not finite, ends the axis.
    EXPECT_EQ(valueAxisTicks({false, 10, 10.0004, 0, 120, 8}).size(), 1u);
    EXPECT_LE(valueAxisTicks({false, 1e17, 1e17 + 64, 0, 120, 8}).size(), 40u);
    EXPECT_TRUE(valueAxisTicks({false, -1e308, 1e308, 0, 120, 8}).empty());
    EXPECT_TRUE(valueAxisTicks({true, 0, kInf, 0, 120, 8}).empty());
}

TEST_F(HistoryChartTest, ValueLabelsAreNeitherCutOffNorOverlappingAndGridLinesKeepTheirGap)
{
    // Nominal values of two places before the point: the axis makes room for "14.250",
    // wider than the sample label "0.000".
    for (const ValueOnAxes axes : {ValueOnAxes::Nominal, ValueOnAxes::Percentual}) {
        SecurityItem shown = item({14.25, 1.5, 9, 14, 2, 13.5, 3, 14.2, 0.3});
        shown.settings().chart.valueOnAxes = axes;
        shown.settings().chart.valueOnGraphic = ValueOnGraphic::Nominal;
        shown.settings().chart.lineColour = 0x0000FF;
        for (const int width : {400, 120}) {
            RecordingCanvas canvas;
            const HistoryChart chart = drawHistoryChart(canvas, width, 300, shown);
            ASSERT_TRUE(chart.plotted);
            std::vector<CanvasRect> values;
            for (const auto& text : canvas.all(Kind::Text)) {
                const int length = RecordingCanvas::kCharWidth * static_cast<int>(text.text.size());
                const int left = text.points[0].x
                                 - (text.align == TextAlign::Right    ? length
                                    : text.align == TextAlign::Centre ? length / 2
                                                                      : 0);
                if (text.font != ChartFont::Title) {
                    EXPECT_GE(left, 0) << text.text;
                    EXPECT_LE(left + length, width) << text.text;
                }
                if (text.pen.colour == shown.settings().chart.lineColour && text.font == ChartFont::Axis)
                    values.push_back({left, text.points[0].y, left + length, text.points[0].y + 8});
            }
            // The values drawn never touch each other; on the narrow chart some gave way.
            ASSERT_FALSE(values.empty());
            for (std::size_t i = 0; i < values.size(); ++i) {
                for (std::size_t j = 0; j < i; ++j) {
                    EXPECT_FALSE(values[i].left <= values[j].right && values[j].left <= values[i].right
                                 && values[i].top < values[j].bottom && values[j].top < values[i].bottom)
                        << i << " " << j;
                }
            }
            if (width == 120)
                EXPECT_LT(values.size(), chart.points.size());
            else
                EXPECT_EQ(values.size(), chart.points.size());
        }
    }

    // Grid lines at least 12 pixels apart, whatever the height, range and label size,
    // and as many as that allows: never fewer than one per 50 pixels.
    for (const int height : {20, 37, 60, 90, 121, 250, 700}) {
        for (const auto& [low, high] : {std::pair{0.9, 1.3}, std::pair{0.41, 0.82}, std::pair{10.0, 14.25},
                                        std::pair{0.0, 1000.0}, std::pair{1.0, 1.0013}}) {
            for (const int labelHeight : {4, 8, 13}) {
                const auto ticks = valueAxisTicks({low < 5, low, high, 10, height, labelHeight});
                SCOPED_TRACE(testing::Message() << height << " " << low << "-" << high << " " << labelHeight);
                ASSERT_FALSE(ticks.empty());
                for (std::size_t i = 1; i < ticks.size(); ++i)
                    EXPECT_GE(ticks[i - 1].y - ticks[i].y, kMinimumGridGap);
                if (height >= 121 && high - low > 0.01) {
                    EXPECT_GE(static_cast<int>(ticks.size()), height / 50);
                }
            }
        }
    }
}

TEST_F(HistoryChartTest, DarkColoursReachEveryPenAndLightenFaintItems)
{
    // A white and black palette is paper; a dark one takes its text and lightens a dark
    // blue curve until it stands out, keeping it blue.
    EXPECT_EQ(ChartColours::fromPalette(0xFFFFFF, 0x000000), ChartColours::paper());
    const ChartColours dark = ChartColours::fromPalette(0x303030, 0xEEEEEE);
    EXPECT_TRUE(dark.darkBackground());
    const std::uint32_t navy = 0x800000;
    const std::uint32_t shown = dark.item(navy);
    EXPECT_GE(contrastRatio(shown, dark.background), kItemContrast);
    EXPECT_GT((shown >> 16) & 0xFF, (shown & 0xFF) + 40);
    EXPECT_EQ(dark.item(0x00FFFF), 0x00FFFFu); // yellow stands out already
    EXPECT_EQ(ChartColours::paper().item(0x00FFFF), 0x00FFFFu);

    SecurityItem acme = item({10, 12.5, 11, 12});
    acme.settings().chart.lineColour = navy;
    acme.settings().chart.valueOnGraphic = ValueOnGraphic::Percentual;
    RecordingCanvas canvas;
    ASSERT_TRUE(drawHistoryChart(canvas, 400, 300, acme, ChartMedium::Screen, dark).plotted);
    for (const auto& operation : canvas.operations) {
        const std::uint32_t colour = operation.pen.colour;
        EXPECT_TRUE(colour == dark.text || colour == dark.grid || colour == shown) << std::hex << colour;
    }
    EXPECT_EQ(canvas.all(Kind::Polyline).front().pen.colour, shown);

    // What a screen reader says of the chart.
    EXPECT_EQ(historyDescription(acme), "History of Acme from 01/03/05 to 01/06/05, latest 12.000, change +20.00%");
    EXPECT_EQ(historyDescription(item({})), "History of Acme, no quotations");
    EXPECT_EQ(historyDescription(item({0, 3})), "History of Acme from 01/03/05 to 01/04/05, latest 3.000");
}

TEST_F(HistoryChartTest, ManyQuotationsPerDaySkipOverlappingDateLabels)
{
    std::vector<double> values(2000, 100.0);
    values[7] = 120;
    RecordingCanvas canvas;
    const HistoryChart chart = drawHistoryChart(canvas, 600, 300, item(values, 10.0 / 1440));

    EXPECT_EQ(chart.points.size(), 2000u);
    const std::size_t curve = canvas.firstOf(Kind::Polyline);
    EXPECT_EQ(canvas.operations[curve].points.size(), 2000u);
    const auto labels = canvas.all(Kind::UpwardText);
    ASSERT_GT(labels.size(), 10u);
    EXPECT_EQ(canvas.operations.size(), curve + 1 + 2 * labels.size()); // each with its tick
    for (std::size_t i = 1; i < labels.size(); ++i)
        EXPECT_GT(labels[i].points[0].x - labels[i - 1].points[0].x, 9 + 5);
}

TEST_F(HistoryChartTest, DrawsOnlyTheNameOrNothing)
{
    // One quotation, none, or after and until with no quotation between them.
    SecurityItem gap = item({1, 2, 3, 4, 5, 6, 7});
    ChartOptions& options = gap.settings().chart;
    options.periodStartEnabled = options.periodEndEnabled = true;
    options.periodStart = day(2.5);
    options.periodEnd = day(2.7);
    for (const SecurityItem& shown : {item({5}), item({}), gap}) {
        RecordingCanvas canvas;
        EXPECT_FALSE(drawHistoryChart(canvas, 400, 300, shown).plotted);
        ASSERT_EQ(canvas.operations.size(), 1u);
        EXPECT_EQ(canvas.operations[0].text, "Acme");
        EXPECT_EQ(canvas.operations[0].font, ChartFont::Title);
        EXPECT_EQ(canvas.operations[0].points[0], (CanvasPoint{(56 + 389) / 2, 0})); // label "0.00"
    }

    // A window narrower or lower than the margins.
    for (const auto& [width, height] : {std::pair{60, 300}, std::pair{400, 40}, std::pair{0, 0}}) {
        RecordingCanvas canvas;
        EXPECT_FALSE(drawHistoryChart(canvas, width, height, item({1, 2, 3})).plotted);
        EXPECT_EQ(canvas.firstOf(Kind::Line), canvas.operations.size());
        EXPECT_EQ(canvas.firstOf(Kind::Text), canvas.operations.size());
    }
}

TEST_F(HistoryChartTest, UnusableValuesStayInsideThePlot)
{
    SecurityItem late; // within one minute (no time scale), at the end of the time stamps
    late.appendLoadedQuotation({std::numeric_limits<TimeStamp>::max() - 30, 1});
    late.appendLoadedQuotation({std::numeric_limits<TimeStamp>::max(), 2});
    for (const SecurityItem& odd : {item({0, -5, 3, 7}), item({-2, 4, -8}), item({NAN, 1, kInf, -kInf, 2}),
                                    item({1e308, -1e308, 1e-308}), late}) {
        SecurityItem shown = odd;
        shown.settings().chart.valueOnGraphic = ValueOnGraphic::Percentual;
        RecordingCanvas canvas;
        const HistoryChart chart = drawHistoryChart(canvas, 400, 300, shown);
        ASSERT_EQ(chart.points.size(), odd.history().size());
        const CanvasRect& plot = chart.frame.plot;
        for (const ChartPoint& point : chart.points) {
            EXPECT_TRUE(point.x >= plot.left && point.x <= plot.right) << point.x;
            EXPECT_TRUE(point.y >= plot.top && point.y <= plot.bottom) << point.y;
        }
        if (!(chart.reference > 0)) {
            // No ratios to a reference that is not positive: no percentual ticks or values.
            EXPECT_EQ(chart.maxRatio, 1);
            for (const auto& text : canvas.all(Kind::Text))
                EXPECT_EQ(text.text.find('%'), std::string::npos) << text.text;
        }
    }
}

TEST_F(HistoryChartTest, PointerFindsTheNearestPoint)
{
    const std::vector<ChartPoint> points{{10, 50, day(0), 1.5}, {20, 40, day(1), 2}, {20, 30, day(2), 3},
                                         {30, 20, day(3), 4}};
    EXPECT_EQ(nearestPoint({}, 5), -1);
    EXPECT_EQ(nearestPoint(points, -100), 0);
    EXPECT_EQ(nearestPoint(points, 15), 0); // a tie goes to the first
    EXPECT_EQ(nearestPoint(points, 25), 1);
    EXPECT_EQ(nearestPoint(points, 26), 3);
    EXPECT_EQ(nearestPoint(points, 1000), 3);

    HistoryChart chart;
    chart.frame.axes = {43, 12, 400, 257};
    chart.points = points;
    EXPECT_EQ(cursorLine(chart, 2), (std::array<CanvasPoint, 3>{{{43, 30}, {20, 30}, {20, 257}}}));
    EXPECT_EQ(pointMessage(points[0]), "01/03/05  12:00 : 1.5000");
}

} // namespace
} // namespace tarvelo

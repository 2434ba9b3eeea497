// The comparison chart's common period, ratio ranges, curves and date axis, and its
// settings in the profile.
#include "charts/comparisonchart.h"
#include "model/securityitem.h"
#include "platform/localtime.h"
#include "platform/profile.h"

#include "tests/charts/recordingcanvas.h"
#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvelo {
namespace {

using test::RecordingCanvas;
using Kind = RecordingCanvas::Kind;

class ComparisonChartTest : public ::testing::Test {
protected:
    test::ScopedTimeZone m_zone{"CET-1CEST,M3.5.0,M10.5.0/3"};
    const TimeStamp m_day0 = makeLocalTime(2005, 1, 3, 12);

    TimeStamp day(int days) const { return m_day0 + days * 86400; }

    // Quotations on the given days with the given values.
    SecurityItem item(const std::vector<std::pair<int, double>>& quotations, std::uint32_t colour = 0xFF)
    {
        SecurityItem item;
        item.settings().chart.lineColour = colour;
        for (const auto& [days, value] : quotations)
            item.appendLoadedQuotation({day(days), value});
        return item;
    }

    ComparisonChart draw(const std::vector<const SecurityItem*>& items, const ComparisonSettings& settings = {},
                         int width = 600)
    {
        m_canvas = RecordingCanvas();
        return drawComparisonChart(m_canvas, width, 300, items, settings);
    }

    RecordingCanvas m_canvas;
};

TEST_F(ComparisonChartTest, PeriodStartsWhereAllItemsHaveData)
{
    // A ends before B begins: only B is compared.
    const SecurityItem a = item({{0, 10}, {2, 20}, {4, 30}});
    const SecurityItem b = item({{10, 5}, {12, 6}, {15, 4}});
    const ComparisonChart apart = draw({&a, &b});
    EXPECT_EQ(apart.begin, day(10));
    EXPECT_EQ(apart.end, day(15));
    ASSERT_EQ(apart.curves.size(), 1u);
    EXPECT_EQ(apart.curves[0].item, 1u);
    EXPECT_DOUBLE_EQ(apart.minRatio, 0.8);
    EXPECT_DOUBLE_EQ(apart.maxRatio, 1.2);
    EXPECT_EQ(m_canvas.operations[0].text, "[Comparison] (01/13/05-01/18/05)");

    // C's value at begin is interpolated, D is flat, E starts at 0 and has no ratios.
    const SecurityItem c = item({{0, 10}, {2, 20}, {4, 20}}, 0xC);
    const SecurityItem d = item({{1, 5}, {3, 5}}, 0xD);
    const SecurityItem e = item({{1, 0}, {3, 40}}, 0xE);
    const ComparisonChart chart = draw({&c, &d, &e});
    EXPECT_EQ(chart.begin, day(1));
    EXPECT_EQ(chart.end, day(4));
    EXPECT_DOUBLE_EQ(chart.minRatio, 1.0);
    EXPECT_DOUBLE_EQ(chart.maxRatio, 20.0 / 15);
    ASSERT_EQ(chart.curves.size(), 2u);
    const CanvasRect& plot = chart.frame.plot;
    const ComparisonCurve& interpolated = chart.curves[0];
    EXPECT_DOUBLE_EQ(interpolated.reference, 15);
    EXPECT_TRUE(interpolated.interpolated);
    ASSERT_EQ(interpolated.points.size(), 3u);
    EXPECT_EQ(interpolated.points[0], (CanvasPoint{plot.left, plot.bottom}));
    EXPECT_EQ(interpolated.points[2], (CanvasPoint{plot.right, plot.top}));
    for (const CanvasPoint& point : chart.curves[1].points)
        EXPECT_EQ(point.y, plot.bottom);
    EXPECT_EQ(m_canvas.all(Kind::Polyline).back().pen.colour, 0xDu);

    // All flat: 100% to 110%.
    const ComparisonChart flat = draw({&d, &d});
    EXPECT_DOUBLE_EQ(flat.minRatio, 1.0);
    EXPECT_DOUBLE_EQ(flat.maxRatio, 1.1);
}

TEST_F(ComparisonChartTest, EndLimitEndsThePeriodAtTheEndOfItsDay)
{
    const SecurityItem a = item({{0, 10}, {3, 11}, {7, 12}, {9, 13}});
    const SecurityItem b = item({{0, 10}, {2, 11}, {3, 12}});
    ComparisonSettings settings;
    settings.endLimitOn = true;
    settings.endYear = 2005;
    settings.endMonth = 1;
    settings.endDay = 8; // day 5
    for (const auto& items : {std::vector<const SecurityItem*>{&a, &a}, std::vector<const SecurityItem*>{&b, &a}}) {
        const ComparisonChart chart = draw(items, settings);
        EXPECT_EQ(chart.end, settings.endLimit());
        const std::tm end = breakLocalTime(chart.end);
        EXPECT_EQ(end.tm_mday, 8);
        EXPECT_EQ(end.tm_hour * 3600 + end.tm_min * 60 + end.tm_sec, 86399);
        EXPECT_EQ(chart.curves.back().points.size(), 2u); // days 0 and 3 of a
        EXPECT_LT(chart.curves.back().points[1].x, chart.frame.plot.right);
    }
}

TEST_F(ComparisonChartTest, DateAxisFitsTheLabelsAcrossThePlot)
{
    const SecurityItem days = item({{0, 1}, {3, 2}});
    const ComparisonChart wide = draw({&days, &days}, {}, 800);
    const CanvasRect& plot = wide.frame.plot;
    EXPECT_EQ(wide.dateLabels,
              (std::vector<int>{plot.left, plot.left + plot.width() / 3, plot.left + plot.width() * 2 / 3}));
    EXPECT_EQ(m_canvas.all(Kind::UpwardText)[1].text, "01/04/05");

    const SecurityItem years = item({{0, 1}, {5 * 365, 2}});
    const ComparisonChart narrow = draw({&years, &years}, {}, 200);
    EXPECT_GE(narrow.dateLabels.size(), 2u);
    EXPECT_LE(static_cast<int>(narrow.dateLabels.size()), narrow.frame.plot.width() / (9 + 5) + 1);

    // Three months on a chart with room for some 50 labels: every second day, never closer
    // than a label's thickness and the gap.
    const SecurityItem months = item({{0, 1}, {91, 2}});
    const ComparisonChart spaced = draw({&months, &months}, {}, 800);
    ASSERT_GE(spaced.dateLabels.size(), 2u);
    for (std::size_t i = 1; i < spaced.dateLabels.size(); ++i)
        EXPECT_GE(spaced.dateLabels[i] - spaced.dateLabels[i - 1], 9 + 5 - 1) << i;

    // A period shorter than a minute: no date axis and a title without dates.
    const SecurityItem instant = item({{0, 1}, {0, 2}});
    const ComparisonChart none = draw({&instant, &instant});
    EXPECT_TRUE(none.dateLabels.empty());
    EXPECT_EQ(m_canvas.operations[0].text, "[Comparison]");

    RecordingCanvas printer;
    const SecurityItem* both[] = {&days, &days};
    drawComparisonChart(printer, 600, 300, both, {}, ChartMedium::Printer, "Depot.qvx");
    EXPECT_EQ(printer.operations[0].text, "Depot.qvx (01/03/05-01/06/05)");
}

TEST_F(ComparisonChartTest, LegendNamesTheCurvesAndTheCursorReadsTheirValues)
{
    SecurityItem a = item({{0, 10}, {2, 12}, {4, 11}}, 0xA);
    SecurityItem b = item({{1, 20}, {3, 25}}, 0xB);
    SecurityItem none = item({{9, 1}, {10, 2}}, 0xC); // starts after the period ends
    a.settings().name = "Alpha";
    b.settings().name = "Beta";
    none.settings().name = "Gamma";
    ComparisonSettings withoutLegend;
    withoutLegend.legend = false;
    const ComparisonChart plain = draw({&a, &b}, withoutLegend);
    const ComparisonChart chart = draw({&a, &b});
    ASSERT_TRUE(chart.plotted);

    // One row of entries below the title: a piece of line, the name in its colour; the
    // plot gives way to it.
    EXPECT_EQ(chart.legendRows, 1);
    std::vector<std::pair<std::string, std::uint32_t>> names;
    for (const auto& text : m_canvas.all(Kind::Text)) {
        if (text.font == ChartFont::Legend) {
            names.emplace_back(text.text, text.pen.colour);
            EXPECT_GT(text.points[0].y, m_canvas.operations[0].points[0].y);
            EXPECT_LT(text.points[0].y + RecordingCanvas::heightOf(ChartFont::Legend), chart.frame.plot.top);
        }
    }
    EXPECT_EQ(names, (std::vector<std::pair<std::string, std::uint32_t>>{{"Alpha", 0xA}, {"Beta", 0xB}}));
    EXPECT_GT(chart.frame.plot.top, plain.frame.plot.top);
    EXPECT_EQ(chart.frame.plot.bottom, plain.frame.plot.bottom);

    // Many items wrap into rows; a chart too low for them, and the printer, have none.
    std::vector<const SecurityItem*> many(12, &a);
    EXPECT_GT(draw(many, {}, 200).legendRows, 1);
    m_canvas = RecordingCanvas();
    const SecurityItem* both[] = {&a, &b};
    EXPECT_EQ(drawComparisonChart(m_canvas, 600, 60, both, {}).legendRows, 0);
    EXPECT_EQ(drawComparisonChart(m_canvas, 600, 300, both, {}, ChartMedium::Printer).legendRows, 0);

    // The cursor stops at every quotation in the period, one per column; the message
    // reads each curve at that moment, Beta between its quotations.
    const std::vector<ChartPoint> stops = comparisonStops(chart);
    std::vector<TimeStamp> times;
    for (const ChartPoint& stop : stops)
        times.push_back(stop.time);
    EXPECT_EQ(times, (std::vector<TimeStamp>{day(1), day(2), day(3), day(4)}));
    EXPECT_EQ(comparisonCursor(chart, stops[1].x)[1], (CanvasPoint{stops[1].x, chart.frame.axes.bottom}));
    const std::vector<const SecurityItem*> drawn{&a, &b};
    EXPECT_EQ(comparisonMessage(chart, drawn, day(2)),
              "01/05/05  12:00 : Alpha 12.0000 (109.09%), Beta 22.5000 (112.50%)");
    EXPECT_EQ(comparisonMessage(chart, drawn, day(4)), "01/07/05  12:00 : Alpha 11.0000 (100.00%)");

    // What a screen reader says of it.
    const std::vector<const SecurityItem*> three{&a, &b, &none};
    EXPECT_EQ(comparisonDescription(drawn, {}),
              "Comparison from 01/04/05 to 01/07/05: Alpha change +0.00%; Beta change +25.00%");
    EXPECT_EQ(comparisonDescription(three, {}),
              "Comparison from 01/12/05 to 01/13/05: Alpha without values in this period; Beta without values in "
              "this period; Gamma change +100.00%");
}

TEST_F(ComparisonChartTest, SettingsLiveInTheProfile)
{
    {
        const Profile empty;
        EXPECT_EQ(ComparisonSettings::read(empty), ComparisonSettings{});
    }
    ComparisonSettings changed{true, 2001, 2, 3, true, 2004, 5, 6, false, false};
    {
        Profile profile;
        changed.write(profile);
        ASSERT_TRUE(profile.sync());
    }
    const Profile profile;
    EXPECT_EQ(ComparisonSettings::read(profile), changed);
    EXPECT_EQ(profile.readInt("GraphView", "Beginb"), 1);
    EXPECT_EQ(profile.readInt("GraphView", "bGrid"), 0);
    EXPECT_EQ(profile.readInt("GraphView", "bLegend"), 0);
    EXPECT_EQ(breakLocalTime(changed.beginLimit()).tm_hour, 0);
}

} // namespace
} // namespace tarvelo

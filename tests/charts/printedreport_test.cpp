// The printed report: its page count, what each page holds, the item blocks' texts and a
// report that stays readable without colour.
#include "charts/printedreport.h"
#include "model/securityitem.h"
#include "platform/localtime.h"

#include "tests/charts/recordingcanvas.h"
#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

using test::RecordingCanvas;
using Kind = RecordingCanvas::Kind;

// With the recording canvas's metrics the header takes 30 pixels and a block 39, so a
// page 147 high holds exactly three blocks.
constexpr int kPageWidth = 600;
constexpr int kPageHeight = 147;

class PrintedReportTest : public ::testing::Test {
protected:
    test::ScopedTimeZone m_zone{"CET-1CEST,M3.5.0,M10.5.0/3"};
    const TimeStamp m_day0 = makeLocalTime(2005, 1, 3, 12);
    const TimeStamp m_now = makeLocalTime(2005, 3, 4, 15, 30);

    TimeStamp day(int days) const { return m_day0 + days * 86400; }

    SecurityItem item(const std::string& name, const std::vector<std::pair<int, double>>& quotations,
                      std::uint32_t colour = 0xFF)
    {
        SecurityItem item;
        item.settings().name = name;
        item.settings().symbol = "S" + name;
        item.settings().chart.lineColour = colour;
        for (const auto& [days, value] : quotations)
            item.appendLoadedQuotation({day(days), value});
        return item;
    }

    RecordingCanvas page(const std::vector<const SecurityItem*>& items, int number, int height = kPageHeight)
    {
        RecordingCanvas canvas;
        drawReportPage(canvas, kPageWidth, height, number, items, {}, "Depot.qvx", m_now);
        return canvas;
    }
};

// The first line of each block drawn: the items on the page.
std::vector<std::string> itemsOn(const RecordingCanvas& canvas)
{
    std::vector<std::string> lines;
    for (const RecordingCanvas::Operation& text : canvas.all(Kind::Text)) {
        if (text.font == ChartFont::Block && text.text.find(" - S") != std::string::npos)
            lines.push_back(text.text);
    }
    return lines;
}

TEST_F(PrintedReportTest, ChartPageThenThreeBlocksAPage)
{
    std::vector<SecurityItem> owned;
    for (int i = 1; i <= 7; ++i)
        owned.push_back(item(std::to_string(i), {{0, 10.0 + i}, {2, 11.0 + i}}, 0x10u * i));
    std::vector<const SecurityItem*> items;
    for (const SecurityItem& it : owned)
        items.push_back(&it);

    RecordingCanvas metrics;
    EXPECT_EQ(reportPageCount(metrics, kPageHeight, 7), 4);
    EXPECT_EQ(reportPageCount(metrics, kPageHeight, 6), 3);
    EXPECT_EQ(reportPageCount(metrics, kPageHeight - 1, 6), 4); // two blocks a page
    EXPECT_EQ(reportPageCount(metrics, kPageHeight, 1), 1);
    EXPECT_EQ(reportPageCount(metrics, kPageHeight, 0), 0);
    // A page too small for one block still takes one.
    EXPECT_EQ(reportPageCount(metrics, 20, 7), 8);
    EXPECT_EQ(itemsOn(page(items, 8, 20)), std::vector<std::string>{"7 - S7"});

    const RecordingCanvas chart = page(items, 1);
    EXPECT_EQ(chart.operations.front().text, "Depot.qvx (01/03/05-01/05/05)");
    EXPECT_TRUE(itemsOn(chart).empty());

    // Page 2: the header with the date, then blocks 1 to 3 one under the other.
    const RecordingCanvas second = page(items, 2);
    const std::vector<RecordingCanvas::Operation> texts = second.all(Kind::Text);
    ASSERT_EQ(texts.size(), 10u);
    const RecordingCanvas::Operation& header = texts.front();
    EXPECT_EQ(header.text, "Depot.qvx - 03/04/05 15:30");
    EXPECT_EQ(header.font, ChartFont::Title);
    EXPECT_EQ(header.align, TextAlign::Centre);
    EXPECT_EQ(header.points[0], (CanvasPoint{kPageWidth / 2, 5}));
    for (std::size_t line = 0; line < 9; ++line)
        EXPECT_EQ(texts[1 + line].points[0], (CanvasPoint{20, 30 + static_cast<int>(line / 3) * 39 +
                                                                 static_cast<int>(line % 3) * 12}))
            << line;
    EXPECT_EQ(itemsOn(second), (std::vector<std::string>{"1 - S1", "2 - S2", "3 - S3"}));
    const std::vector<RecordingCanvas::Operation> dots = second.all(Kind::Ellipse);
    ASSERT_EQ(dots.size(), 3u);
    EXPECT_EQ(dots[0].points[0], (CanvasPoint{5, 31}));

    EXPECT_EQ(itemsOn(page(items, 3)), (std::vector<std::string>{"4 - S4", "5 - S5", "6 - S6"}));
    EXPECT_EQ(itemsOn(page(items, 4)), std::vector<std::string>{"7 - S7"});
    EXPECT_TRUE(page(items, 5).operations.empty());
    EXPECT_TRUE(page({}, 1).operations.empty());

    // Every text of the item pages lies on the page.
    for (int number = 2; number <= 4; ++number) {
        for (const RecordingCanvas::Operation& text : page(items, number).all(Kind::Text)) {
            const int width = RecordingCanvas::kCharWidth * static_cast<int>(text.text.size());
            const int left = text.points[0].x - (text.align == TextAlign::Centre ? width / 2 : 0);
            EXPECT_GE(left, 0) << text.text;
            EXPECT_LE(left + width, kPageWidth) << text.text;
            EXPECT_GE(text.points[0].y, 0) << text.text;
            EXPECT_LE(text.points[0].y + RecordingCanvas::heightOf(text.font), kPageHeight) << text.text;
        }
    }
}

TEST_F(PrintedReportTest, BlockLinesShowTheListsFigures)
{
    // The last change is since the previous quotation, two hours earlier, not since the
    // previous day.
    SecurityItem held = item("Acme", {{0, 10}, {2, 9}});
    held.appendLoadedQuotation({day(3) - 7200, 11});
    held.appendLoadedQuotation({day(3), 12});
    held.settings().quantity = 10;
    held.settings().averageBuyPrice = 8;
    const std::array<std::string, 3> lines = reportBlockLines(held);
    EXPECT_EQ(lines[0], "Acme - SAcme");
    EXPECT_EQ(lines[1], "Date 01/06/05 12:00 : 12.0000      Amount Invested: 120.00 (+50.00%)");
    EXPECT_EQ(lines[2], "Low: 9.0000     High: 12.0000      +- Last: +9.09% (0 Days)     +- Total: +20.00% (3 Days)");

    held.settings().averageBuyPrice = 0;
    EXPECT_EQ(reportBlockLines(held)[1], "Date 01/06/05 12:00 : 12.0000      Amount Invested: 120.00");

    SecurityItem empty = item("Empty", {});
    empty.settings().quantity = 5;
    empty.settings().averageBuyPrice = 3;
    const std::array<std::string, 3> zeros = reportBlockLines(empty);
    EXPECT_EQ(zeros[1], "Date 01/23/75 00:00 : 0.0000      Amount Invested: 0.00");
    EXPECT_EQ(zeros[2], "Low: 0.0000     High: 0.0000      +- Last: +0.00% (0 Days)     +- Total: +0.00% (0 Days)");
}

TEST_F(PrintedReportTest, ChartPageStatesWhenTheReportWasMade)
{
    const SecurityItem acme = item("Acme", {{0, 10}, {2, 9}, {3, 12}});
    const RecordingCanvas single = page({&acme}, 1);
    EXPECT_EQ(single.operations.front().text, "Acme (01/03/05-01/06/05)");
    const std::vector<RecordingCanvas::Operation> texts = single.all(Kind::Text);
    const auto stamp = std::find_if(texts.begin(), texts.end(), [](const RecordingCanvas::Operation& text) {
        return text.text == "03/04/05 15:30";
    });
    ASSERT_NE(stamp, texts.end());
    EXPECT_EQ(stamp->font, ChartFont::Axis);
    EXPECT_EQ(stamp->align, TextAlign::Right);
    EXPECT_LE(stamp->points[0].x, kPageWidth);
    EXPECT_LE(stamp->points[0].y + RecordingCanvas::heightOf(ChartFont::Axis), kPageHeight);
    // Below the chart: clear of the date labels that read upward from the date axis.
    const std::vector<RecordingCanvas::Operation> dates = single.all(Kind::UpwardText);
    ASSERT_FALSE(dates.empty());
    for (const RecordingCanvas::Operation& date : dates)
        EXPECT_LE(date.points[0].y + RecordingCanvas::kCharWidth * static_cast<int>(date.text.size()),
                  stamp->points[0].y);
}

TEST_F(PrintedReportTest, PrintedCurvesAndTheirBlocksDifferInMoreThanColour)
{
    const SecurityItem a = item("A", {{0, 10}, {3, 12}}, 0x1);
    const SecurityItem b = item("B", {{0, 10}, {3, 8}}, 0x2);
    const SecurityItem c = item("C", {{0, 10}, {3, 11}}, 0x3);
    const std::vector<const SecurityItem*> items = {&a, &b, &c};

    std::vector<PenStyle> curves;
    for (const RecordingCanvas::Operation& curve : page(items, 1).all(Kind::Polyline))
        curves.push_back(curve.pen.style);
    ASSERT_EQ(curves.size(), 3u);
    EXPECT_EQ(std::set<PenStyle>(curves.begin(), curves.end()).size(), 3u);

    // Each block shows a sample line of its item's curve beside the dot.
    std::vector<PenStyle> samples;
    for (const RecordingCanvas::Operation& sample : page(items, 2).all(Kind::Line))
        samples.push_back(sample.pen.style);
    EXPECT_EQ(samples, curves);

    RecordingCanvas screen;
    drawComparisonChart(screen, kPageWidth, 300, items, {});
    for (const RecordingCanvas::Operation& curve : screen.all(Kind::Polyline))
        EXPECT_EQ(curve.pen.style, PenStyle::Solid);
}

} // namespace
} // namespace tarvelo

// Painting the history chart of an item with 100,000 quotations into a 1600x900 image,
// against the floor: as many line segments through the same points drawn straight with
// QPainter on the same image, with the same pen and antialiasing. Prints JSON for
// scripts/bench: the median of several runs of each, in milliseconds.
#include "charts/historychart.h"
#include "model/securityitem.h"
#include "platform/localtime.h"
#include "render/chartimage.h"
#include "render/qtcanvas.h"

#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointF>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

using namespace tarvelo;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kQuotations = 100'000;
constexpr int kWidth = 1600;
constexpr int kHeight = 900;
constexpr int kRuns = 11;
constexpr std::uint32_t kColour = 0x0000C8;

// A random walk with a quotation every two hours, twelve a day, for about 23 years.
SecurityItem makeItem()
{
    SecurityItem item(newItemSettings(makeLocalTime(2024, 1, 1)));
    item.settings().name = "Nordwind Energie";
    item.settings().chart.lineColour = kColour;
    std::mt19937 random(7);
    std::normal_distribution<double> step(0.0002, 0.01);
    std::vector<Quotation> history;
    history.reserve(kQuotations);
    const TimeStamp start = makeLocalTime(2000, 1, 3);
    double value = 40;
    for (std::size_t i = 0; i < kQuotations; ++i) {
        value *= 1 + step(random);
        history.push_back({static_cast<TimeStamp>(start + static_cast<TimeStamp>(i) * 7200), value});
    }
    item.insertQuotations(history);
    return item;
}

double milliseconds(Clock::time_point started)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - started).count();
}

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main()
{
    ensureGuiApplication();
    const SecurityItem item = makeItem();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);

    // The points the chart draws, for the floor.
    std::vector<QPointF> points;
    {
        image.fill(Qt::white);
        QPainter painter(&image);
        QtCanvas canvas(painter, ChartFonts::screen());
        for (const ChartPoint& p : drawHistoryChart(canvas, kWidth, kHeight, item).points)
            points.push_back(QPointF(p.x + 0.5, p.y + 0.5));
    }
    if (points.size() != kQuotations) {
        std::fprintf(stderr, "chart_bench: the chart drew %zu of %zu quotations\n", points.size(), kQuotations);
        return 1;
    }

    // The two alternate, so that other work on the machine weighs on each alike.
    std::vector<double> chart, floor;
    for (int run = 0; run < kRuns; ++run) {
        auto started = Clock::now();
        {
            image.fill(Qt::white);
            QPainter painter(&image);
            QtCanvas canvas(painter, ChartFonts::screen());
            drawHistoryChart(canvas, kWidth, kHeight, item);
        }
        chart.push_back(milliseconds(started));

        started = Clock::now();
        {
            image.fill(Qt::white);
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(QPen(QColor(0xC8, 0, 0), 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
            painter.drawPolyline(points.data(), static_cast<int>(points.size()));
        }
        floor.push_back(milliseconds(started));
    }
    std::printf("{\"quotations\":%zu,\"chart_ms\":%.3f,\"floor_ms\":%.3f}\n", kQuotations, median(chart),
                median(floor));
    return 0;
}

// A printed report of 100 items written to a PDF file, against drawing the same chart
// into an image of the same size as a page: the report's first page is that chart, and
// the pages after it hold the items' figures. Prints JSON for scripts/bench: the median
// of several runs of each, in milliseconds.
#include "bench/benchdata.h"
#include "charts/comparisonchart.h"
#include "platform/localtime.h"
#include "render/chartimage.h"
#include "render/reportpainter.h"

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace tarvelo;
using namespace tarvelo::bench;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::size_t kItems = 100;
constexpr std::size_t kRecords = 1000;
constexpr int kRuns = 7;

double median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

template <typename Work>
double timeOf(Work work)
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        const auto start = Clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    return median(times);
}

// The page's printable size in pixels, as the PDF writer of the report lays it out.
QSize pageSize()
{
    QPdfWriter writer(QStringLiteral("/dev/null"));
    writer.setResolution(300);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    return QSize(writer.width(), writer.height());
}

} // namespace

int main()
{
    ScratchFolder folder;
    ensureGuiApplication();
    const auto owned = makePortfolio(kItems, kRecords);
    const std::vector<const SecurityItem*> items = pointers(owned);
    ReportSubject subject;
    subject.items = items;
    subject.documentTitle = "Depot.qvx";
    subject.made = makeLocalTime(2026, 12, 8, 18, 30);
    const std::string path = folder.file("report.pdf");

    const double report = timeOf([&] { writeReportPdf(path, subject, ReportPaper::A4); });

    const QSize size = pageSize();
    ChartSubject chart;
    chart.items = items;
    const double image = timeOf([&] {
        ChartImageSize imageSize;
        imageSize.width = size.width();
        imageSize.height = size.height();
        const QImage picture = chartImage(chart, imageSize);
        if (picture.isNull())
            std::fputs("no image\n", stderr);
    });
    std::printf("{\"items\":%zu,\"report_ms\":%.1f,\"image_ms\":%.1f,\"pdf_bytes\":%llu}\n", kItems, report, image,
                static_cast<unsigned long long>(fileSize(path)));
    releaseGuiApplication();
    return 0;
}

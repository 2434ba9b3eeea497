#include "render/reportpainter.h"

#include "charts/printedreport.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "render/chartimage.h"
#include "render/qtcanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <string_view>

namespace tarvelo {

namespace {

constexpr int kPdfDotsPerInch = 300;
constexpr double kMarginMillimetres = 15;

} // namespace

int reportPages(QPainter& painter, int pageHeight, const ReportSubject& subject)
{
    QtCanvas canvas(painter, ChartFonts::printer());
    return reportPageCount(canvas, pageHeight, subject.items.size());
}

void paintReport(QPainter& painter, QPagedPaintDevice& device, const ReportSubject& subject, int first, int last)
{
    const int width = device.width();
    const int height = device.height();
    const int pages = reportPages(painter, height, subject);
    first = std::max(first, 1);
    last = last < 0 ? pages : std::min(last, pages);
    for (int page = first; page <= last; ++page) {
        if (page > first)
            device.newPage();
        painter.fillRect(0, 0, width, height, Qt::white);
        QtCanvas canvas(painter, ChartFonts::printer());
        drawReportPage(canvas, width, height, page, subject.items, subject.comparison, subject.documentTitle,
                       subject.made);
    }
}

std::string writeReportPdf(const std::string& path, const ReportSubject& subject, ReportPaper paper)
{
    ensureGuiApplication();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kPdfDotsPerInch);
        writer.setPageSize(QPageSize(paper == ReportPaper::Letter ? QPageSize::Letter : QPageSize::A4));
        writer.setPageMargins(QMarginsF(kMarginMillimetres, kMarginMillimetres, kMarginMillimetres, kMarginMillimetres),
                              QPageLayout::Millimeter);
        writer.setTitle(QString::fromStdString(subject.documentTitle));
        writer.setCreator(QStringLiteral("Tarvelo"));
        QPainter painter;
        if (!painter.begin(&writer))
            return "the PDF file could not be started";
        paintReport(painter, writer, subject);
        painter.end();
    }
    const std::string_view contents(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return fileErrorText(writeFileAtomically(path, contents));
}

} // namespace tarvelo

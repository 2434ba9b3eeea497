#pragma once

#include "charts/comparisonchart.h"
#include "platform/localtime.h"

#include <span>
#include <string>

class QPagedPaintDevice;
class QPainter;

namespace tarvelo {

class SecurityItem;

// What a printed report shows: the marked items in list order (one: its history chart;
// several: the comparison chart and a block per item), the comparison settings, the
// portfolio's title and the moment the report is made.
struct ReportSubject {
    std::span<const SecurityItem* const> items;
    ComparisonSettings comparison;
    std::string documentTitle;
    TimeStamp made = 0;
};

// The number of pages of the report on a device of that page height (device pixels).
int reportPages(QPainter& painter, int pageHeight, const ReportSubject& subject);

// Paints pages first to last (1-based, both included) of the report with a painter that
// is active on a paged device, starting each page after the first on a new sheet. The
// printable area is the device's own page, in its pixels; fonts follow its resolution.
void paintReport(QPainter& painter, QPagedPaintDevice& device, const ReportSubject& subject, int first = 1,
                 int last = -1);

enum class ReportPaper { A4, Letter };

// Writes the whole report to a PDF file (300 dots per inch, 15 mm margins). The file is
// replaced only once the report is complete. Returns an empty text on success, else
// what went wrong (UTF-8).
std::string writeReportPdf(const std::string& path, const ReportSubject& subject, ReportPaper paper);

} // namespace tarvelo

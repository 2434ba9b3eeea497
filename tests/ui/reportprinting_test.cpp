// The window's printing paints the report of the marked items on the printer as it is
// set up: every page, or the range the print dialog names; nothing for no items.
#include "model/portfoliodocument.h"
#include "ui/reportprinting.h"

#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tarvelo {
namespace {

// The number of pages in a PDF file, counted from its page objects.
int pdfPages(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray bytes = file.readAll();
    return static_cast<int>(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page>")
                            + bytes.count("/Type /Page "));
}

TEST(ReportPrintingTest, PrintsThePagesOfTheMarkedItemsOrTheRangeAsked)
{
    PortfolioDocument doc;
    std::vector<const SecurityItem*> marked;
    for (int i = 0; i < 40; ++i) {
        ItemSettings settings;
        settings.name = "Item " + std::to_string(i);
        const ItemKey key = doc.addItem(settings);
        doc.insertQuotation(key, 10 + i, 1700000000);
        doc.insertQuotation(key, 11 + i, 1700086400);
        marked.push_back(doc.item(key));
    }
    ReportPrinting printing([&] {
        ReportPrinting::Source source;
        source.items = marked;
        source.documentTitle = "Depot.qvx";
        source.made = 1700100000;
        return source;
    });
    const QTemporaryDir folder;
    QPrinter& printer = printing.printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(150);

    const QString all = folder.filePath(QStringLiteral("all.pdf"));
    printer.setOutputFileName(all);
    printing.paint(printer);
    const int pages = pdfPages(all);
    EXPECT_GE(pages, 3) << "the chart and forty blocks on at least two pages";

    const QString range = folder.filePath(QStringLiteral("range.pdf"));
    printer.setOutputFileName(range);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    printing.paint(printer);
    EXPECT_EQ(pdfPages(range), 2);

    marked.clear();
    const QString none = folder.filePath(QStringLiteral("none.pdf"));
    printer.setOutputFileName(none);
    printer.setPrintRange(QPrinter::AllPages);
    printing.paint(printer);
    EXPECT_FALSE(QFile::exists(none));
}

} // namespace
} // namespace tarvelo

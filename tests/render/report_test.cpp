// The printed report as a PDF file, made by tarvelo-cli print and looked at as a reader
// sees it: its pages turned into pictures and text with the poppler tools.
#include "model/portfoliodocument.h"
#include "platform/localtime.h"
#include "tests/cli/clirun.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using namespace tarvelo;
using tarvelo::test::cli;

namespace {

// Runs a poppler tool; its standard output, or nothing when it failed.
QString run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Whether a band of the page along its edges is all white: nothing runs off the paper.
bool whiteEdges(const QImage& page, int band)
{
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const bool edge = x < band || y < band || x >= page.width() - band || y >= page.height() - band;
            if (edge && page.pixel(x, y) != qRgb(255, 255, 255))
                return false;
        }
    }
    return true;
}

TEST(PrintedReportTest, PdfShowsTheComparisonChartThenTheItemsFigures)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "the poppler tools are not installed";
    const fs::path folder = fs::temp_directory_path() / "printed-report";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::string portfolio = (folder / "Depot.qvx").string();
    ASSERT_EQ(cli({"new", portfolio}).status, kExitOk);
    const char* const names[] = {"Alpha", "Beta", "Gamma", "Delta", "Epsilon", "Zeta", "Eta"};
    for (int i = 0; i < 7; ++i) {
        ASSERT_EQ(cli({"add", portfolio, names[i], "--symbol", std::string("S") + char('1' + i)}).status, kExitOk);
        ASSERT_EQ(cli({"graphic", portfolio, names[i], "--colour", i == 0 ? "FF0000" : "0000FF"}).status, kExitOk);
        for (int day = 1; day <= 20; ++day) {
            const std::string time = "2026-03-" + std::string(day < 10 ? "0" : "") + std::to_string(day) + " 10:00";
            ASSERT_EQ(cli({"quote", portfolio, names[i], std::to_string(10 + i + (day % 5) * 0.5), "--time", time})
                          .status,
                      kExitOk);
        }
    }
    ASSERT_EQ(cli({"buy", portfolio, "Alpha", "10", "9"}).status, kExitOk);

    const std::string pdf = (folder / "Report.pdf").string();
    const auto printed = cli({"print", portfolio, pdf});
    ASSERT_EQ(printed.status, kExitOk) << printed.err;

    // The figures of every item, with the portfolio's name and the date in the header.
    const QString text = run(QStringLiteral("pdftotext"), {QString::fromStdString(pdf), QStringLiteral("-")});
    ASSERT_FALSE(text.isEmpty());
    for (const char* name : names)
        EXPECT_TRUE(text.contains(QString::fromLatin1(name) + QStringLiteral(" - S"))) << name;
    EXPECT_TRUE(text.contains(QStringLiteral("Amount Invested")));
    EXPECT_TRUE(text.contains(QStringLiteral("+- Total")));
    EXPECT_TRUE(text.contains(QStringLiteral("Depot.qvx - ")));
    EXPECT_TRUE(text.contains(QStringLiteral("Alpha - S1")));

    // The pages as pictures: the chart on page 1 in the items' colours, and nothing on
    // any page reaches into the paper's margin.
    const QString prefix = QString::fromStdString((folder / "page").string());
    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                     QString::fromStdString(pdf), prefix});
    std::vector<QImage> pages;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() == ".png")
            pages.emplace_back(QString::fromStdString(entry.path().string()));
    }
    ASSERT_GE(pages.size(), 2u);
    const QImage first(prefix + (pages.size() < 10 ? QStringLiteral("-1.png") : QStringLiteral("-01.png")));
    ASSERT_FALSE(first.isNull());
    int red = 0;
    int blue = 0;
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            const QRgb p = first.pixel(x, y);
            red += qRed(p) > 150 && qGreen(p) < 120 && qBlue(p) < 120;
            blue += qBlue(p) > 150 && qRed(p) < 120 && qGreen(p) < 120;
        }
    }
    EXPECT_GT(red, 20) << "Alpha's curve is missing";
    EXPECT_GT(blue, 20) << "the other curves are missing";
    const int band = 40 * 10 / 254; // 10 mm of the 15 mm margin, at 40 dots per inch
    for (const QImage& page : pages)
        EXPECT_TRUE(whiteEdges(page, band));
    fs::remove_all(folder);
}

} // namespace

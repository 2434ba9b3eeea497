// Charts painted with Qt into images and SVG files, mostly through tarvelo-cli chart.
#include "charts/historychart.h"
#include "model/portfoliodocument.h"
#include "platform/files.h"
#include "platform/localtime.h"
#include "render/chartimage.h"
#include "render/qtcanvas.h"
#include "tests/cli/clirun.h"
#include "tests/support/hermeticenvironment.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <tuple>

namespace fs = std::filesystem;
using namespace tarvelo;
using tarvelo::test::cli;

namespace {

constexpr std::uint32_t kRed = 0x0000FF; // 0x00BBGGRR

// Red, or the red of an antialiased edge on white.
bool isRed(QRgb p)
{
    return qRed(p) > 150 && qRed(p) - qGreen(p) > 50 && qGreen(p) == qBlue(p);
}

QImage blank(int width, int height, double ratio)
{
    QImage image(static_cast<int>(width * ratio), static_cast<int>(height * ratio), QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    return image;
}

// The box a text takes by the Canvas contract; upward when align is empty.
QRect textBox(TextExtent e, CanvasPoint at, std::optional<TextAlign> align)
{
    if (!align)
        return QRect(at.x - e.height, at.y, e.height, e.width);
    const int shift = *align == TextAlign::Left ? 0 : *align == TextAlign::Centre ? e.width / 2 : e.width;
    return QRect(at.x - shift, at.y, e.width, e.height);
}

class ChartImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ensureGuiApplication();
        m_folder = fs::temp_directory_path() / "chartimage";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
        m_doc.startNew();
        // Two months of a random walk, three quotations a day; the second item starts later.
        std::mt19937 random(5);
        std::normal_distribution<double> step(0, 0.02);
        const TimeStamp start = makeLocalTime(2024, 3, 1, 9);
        for (const auto& [name, colour, first] : {std::tuple{"Nordwind", kRed, 0}, std::tuple{"Alpen", 0xFF0000u, 30}}) {
            ItemSettings settings = newItemSettings(start);
            settings.name = name;
            settings.chart.lineColour = colour;
            std::vector<Quotation> history;
            double value = 50;
            for (int i = first; i < 180; ++i)
                history.push_back({start + i * 28800, value *= 1 + step(random)});
            m_doc.insertQuotations(m_doc.addItem(settings), history);
        }
        m_portfolio = file("p.qvx");
        ASSERT_TRUE(m_doc.saveFile(m_portfolio).ok());
    }

    std::string file(const char* name) const { return (m_folder / name).string(); }
    const SecurityItem& nordwind() const { return *m_doc.items().front(); }

    // The history chart's layout as an image gets it.
    HistoryChart historyLayout(int width, int height)
    {
        QImage image = blank(width, height, 1);
        QPainter painter(&image);
        QtCanvas canvas(painter, ChartFonts::screen());
        return drawHistoryChart(canvas, width, height, nordwind());
    }

    fs::path m_folder;
    PortfolioDocument m_doc;
    std::string m_portfolio;
};

TEST_F(ChartImageTest, HistoryChartPngHasTheSizeAndTheCurveInsideThePlot)
{
    std::string before, after;
    ASSERT_EQ(readWholeFile(m_portfolio, before), FileError::None);
    const std::string out = file("Nordwind.PNG");
    const auto run = cli({"chart", m_portfolio, out, "--items", "Nordwind", "--size", "640x360"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find(out), std::string::npos);

    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(640, 360));
    const CanvasRect plot = historyLayout(640, 360).frame.plot;
    int outside = 0;
    std::vector<bool> columns(640);
    for (int y = 0; y < 360; ++y)
        for (int x = 0; x < 640; ++x)
            if (isRed(image.pixel(x, y))) {
                outside += x < plot.left || x > plot.right || y < plot.top || y > plot.bottom;
                columns[static_cast<std::size_t>(x)] = true;
            }
    EXPECT_EQ(outside, 0);
    // The curve runs across the whole plot without gaps.
    for (int x = plot.left + 1; x < plot.right; ++x)
        EXPECT_TRUE(columns[static_cast<std::size_t>(x)]) << "no curve in column " << x;

    ASSERT_EQ(readWholeFile(m_portfolio, after), FileError::None);
    EXPECT_EQ(after, before);
}

TEST_F(ChartImageTest, NoTextLeavesTheImageAndTextInkStaysInItsBox)
{
    // Whatever reaches an edge of the image was cut off by it; only the grid and the
    // axis run on to the right edge.
    const std::vector<const SecurityItem*> both = m_doc.items();
    for (const auto& [width, height] : {std::pair{960, 540}, std::pair{400, 225}, std::pair{300, 200}}) {
        for (const std::size_t count : {1u, 2u}) {
            const QImage image = chartImage(ChartSubject{std::span(both).first(count), {}}, {width, height, 1});
            int inked = 0;
            for (int x = 0; x < width; ++x)
                inked += qGray(image.pixel(x, 0)) < 250 || qGray(image.pixel(x, height - 1)) < 250;
            for (int y = 0; y < height; ++y)
                inked += qGray(image.pixel(0, y)) < 250 || image.pixel(width - 1, y) != image.pixel(width - 6, y);
            EXPECT_EQ(inked, 0) << width << "x" << height << ", " << count << " items";
        }
    }

    // What QtCanvas draws lies in the box that its extent and alignment promise, and
    // fills most of its length.
    const std::string text = "[Comparison] 30/10/03 Mgjy";
    for (const double ratio : {1.0, 2.0}) {
        for (const ChartFont font : {ChartFont::Axis, ChartFont::Date, ChartFont::Title}) {
            for (const auto align : {std::optional(TextAlign::Left), std::optional(TextAlign::Centre),
                                     std::optional(TextAlign::Right), std::optional<TextAlign>()}) {
                QImage image = blank(400, 200, ratio);
                QPainter painter(&image);
                QtCanvas canvas(painter, ChartFonts::screen());
                canvas.setFont(font);
                const CanvasPoint at{200, align ? 80 : 20};
                const QRect box = textBox(canvas.textExtent(text), at, align);
                align ? canvas.text(at, text, *align) : canvas.upwardText(at, text);
                painter.end();
                QRect ink;
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        if (qGray(image.pixel(x, y)) < 240)
                            ink |= QRect(x, y, 1, 1);
                const QRectF allowed(box.left() - 1, box.top() - 1, box.width() + 2, box.height() + 2);
                const QRectF found(ink.left() / ratio, ink.top() / ratio, ink.width() / ratio, ink.height() / ratio);
                SCOPED_TRACE(testing::Message() << "font " << static_cast<int>(font) << ", ratio " << ratio);
                EXPECT_TRUE(allowed.contains(found));
                EXPECT_GT(align ? found.width() : found.height(), 0.85 * (align ? box.width() : box.height()));
            }
        }
    }
}

TEST_F(ChartImageTest, PixelRatioTwoDoublesTheImageWithACrispAxisAndTheCursorUndoesItself)
{
    const HistoryChart chart = historyLayout(480, 270);
    const CanvasRect axes = chart.frame.axes;
    const auto cursor = cursorLine(chart, static_cast<int>(chart.points.size() / 2));
    const std::vector<const SecurityItem*> one{&nordwind()};
    for (const int ratio : {1, 2}) {
        SCOPED_TRACE(ratio);
        QImage image = chartImage(ChartSubject{one, {}}, ChartImageSize{480, 270, static_cast<double>(ratio)});
        ASSERT_EQ(image.size(), QSize(480 * ratio, 270 * ratio));
        // The x axis: exactly `ratio` black device rows, the row above them white.
        int dark = 0, lightAbove = 0, columns = 0;
        for (int x = (axes.left + 2) * ratio; x < (axes.right - 2) * ratio; ++x, ++columns) {
            bool all = true;
            for (int r = 0; r < ratio; ++r)
                all = all && qGray(image.pixel(x, axes.bottom * ratio + r)) < 40;
            dark += all;
            lightAbove += qGray(image.pixel(x, axes.bottom * ratio - 1)) > 215;
        }
        EXPECT_EQ(dark, columns);
        EXPECT_GT(lightAbove, columns * 9 / 10);

        // The cursor turns white to black; drawn again it leaves the picture as it was.
        const QImage before = image.copy();
        const auto invert = [&image, &cursor] {
            QPainter painter(&image);
            QtCanvas(painter, ChartFonts::screen()).invertedPolyline(cursor);
        };
        invert();
        int black = 0;
        const int y = cursor[0].y * ratio;
        for (int x = cursor[0].x * ratio; x < cursor[1].x * ratio; ++x)
            black += before.pixel(x, y) == qRgb(255, 255, 255) && image.pixel(x, y) == qRgb(0, 0, 0);
        EXPECT_GT(black, (cursor[1].x - cursor[0].x) * ratio / 4);
        invert();
        EXPECT_EQ(image, before);
    }
}

TEST_F(ChartImageTest, DarkPicturesKeepEveryTextInsideAndTheCurvesVisible)
{
    const std::string paper = file("paper.png");
    const std::string dark = file("dark.png");
    ASSERT_EQ(cli({"chart", m_portfolio, paper, "--size", "480x270"}).status, 0);
    const auto run = cli({"chart", m_portfolio, dark, "--size", "480x270", "--dark"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage white(QString::fromStdString(paper));
    const QImage night(QString::fromStdString(dark));
    ASSERT_EQ(night.size(), QSize(480, 270));
    EXPECT_EQ(white.pixel(0, 0), qRgb(255, 255, 255));
    const QRgb background = night.pixel(0, 0);
    EXPECT_LT(qGray(background), 0x30);

    // The dark picture draws the same texts light where paper has them dark, and both
    // curves; nothing reaches its edges but the grid and the axis on the right.
    int darkInk = 0, lightInk = 0, red = 0, blue = 0, cut = 0;
    for (int y = 0; y < 270; ++y) {
        for (int x = 0; x < 480; ++x) {
            const QRgb p = night.pixel(x, y);
            darkInk += qGray(white.pixel(x, y)) < 80;
            lightInk += qGray(p) > 175 && std::abs(qRed(p) - qBlue(p)) < 20;
            red += qRed(p) > 150 && qRed(p) - qBlue(p) > 50;
            blue += qBlue(p) > 150 && qBlue(p) - qRed(p) > 50;
        }
        cut += night.pixel(0, y) != background || night.pixel(479, y) != night.pixel(473, y);
    }
    for (int x = 0; x < 480; ++x)
        cut += night.pixel(x, 0) != background || night.pixel(x, 269) != background;
    EXPECT_EQ(cut, 0);
    EXPECT_GT(lightInk, darkInk / 2);
    EXPECT_GT(red, 100);
    EXPECT_GT(blue, 100);
}

TEST_F(ChartImageTest, SvgFilesAreXmlWithTheTitleOfTheChosenPeriod)
{
    const auto textOf = [](const std::string& path) {
        std::string svg, texts;
        EXPECT_EQ(readWholeFile(path, svg), FileError::None);
        QXmlStreamReader xml(QByteArray::fromStdString(svg));
        while (!xml.atEnd())
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("text"))
                texts += xml.readElementText().toStdString() + "\n";
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        return texts;
    };

    const std::string history = file("history.svg");
    auto run = cli({"chart", m_portfolio, history, "--items", "nordwind", "--from", "2024-03-10", "--to",
                    "2024-04-05"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The title names the first and the last quotation inside the period.
    const auto& h = nordwind().history();
    const auto after = [&h](TimeStamp t) {
        return std::find_if(h.begin(), h.end(), [t](const Quotation& q) { return q.time >= t; });
    };
    const std::string title = "Nordwind (" + chartDate(after(makeLocalTime(2024, 3, 10))->time) + "-"
                              + chartDate((after(makeLocalTime(2024, 4, 6)) - 1)->time) + ")";
    EXPECT_NE(textOf(history).find(title), std::string::npos) << textOf(history);

    // Both items: the period begins at --from, inside both histories.
    const std::string comparison = file("comparison.Svg");
    run = cli({"chart", m_portfolio, comparison, "--from", "2024-03-20"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(textOf(comparison).find("[Comparison] (" + chartDate(makeLocalTime(2024, 3, 20)) + "-"),
              std::string::npos)
        << textOf(comparison);
}

TEST_F(ChartImageTest, BadCallsSayWhyAndWriteNothing)
{
    const std::string out = file("out.png");
    const std::vector<std::pair<std::vector<std::string>, std::string>> calls = {
        {{"chart", m_portfolio, file("out.jpg")}, "must end in .png or .svg"},
        {{"chart", m_portfolio, out, "--size", "15x300"}, "between 16 and 10000"},
        {{"chart", m_portfolio, out, "--size", "640*480"}, "WIDTHxHEIGHT"},
        {{"chart", m_portfolio, out, "--from", "2024-02-30"}, "--from takes a date as YYYY-MM-DD"},
        {{"chart", m_portfolio, out, "--from", "2024-05-01", "--to", "2024-04-01"}, "--from is after --to"},
        {{"chart", m_portfolio, out, "--items", "Nordwind,Ostwind"}, "no item named 'Ostwind'"},
        {{"chart", m_portfolio, out, "--items", "Nordwind,"}, "--items takes item names"},
        {{"chart", file("missing.qvx"), out}, "missing.qvx"},
        {{"chart", m_portfolio, file("no/such/folder/out.png")}, "folder/out.png"},
    };
    for (const auto& [args, message] : calls) {
        const auto run = cli(args);
        EXPECT_NE(run.status, 0) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1) << "only the portfolio";
}

TEST_F(ChartImageTest, CurveOfManyPointsPerColumnLooksAsEveryPointDrawn)
{
    std::mt19937 random(11);
    std::normal_distribution<double> step(0, 1.5);
    std::vector<CanvasPoint> points;
    std::vector<QPointF> centres;
    double y = 100;
    for (int i = 0; i < 20000; ++i) {
        y = std::clamp(y + step(random), 10.0, 190.0);
        points.push_back({10 + i / 100, static_cast<int>(y)});
        centres.push_back(QPointF(points.back().x + 0.5, points.back().y + 0.5));
    }
    for (const double ratio : {1.0, 2.0}) {
        QImage reduced = blank(220, 200, ratio);
        QImage full = blank(220, 200, ratio);
        QPainter painter(&reduced);
        QtCanvas canvas(painter, ChartFonts::screen());
        canvas.setPen({kRed});
        canvas.polyline(points);
        painter.end();
        painter.begin(&full);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::red, 1, Qt::SolidLine, Qt::SquareCap, Qt::RoundJoin));
        painter.drawPolyline(centres.data(), static_cast<int>(centres.size()));
        painter.end();
        // Antialiased edges may blend a little differently; no pixel may be missing or extra.
        int worst = 0;
        for (int py = 0; py < full.height(); ++py)
            for (int px = 0; px < full.width(); ++px)
                worst = std::max(worst, std::abs(qGreen(full.pixel(px, py)) - qGreen(reduced.pixel(px, py))));
        EXPECT_LE(worst, 96) << "ratio " << ratio;
    }
}

} // namespace

// The application that fonts need lives as long as the tests, as the command line's
// lives as long as its command, and goes before the program ends.
int main(int argc, char** argv)
{
    const tarvelo::test::HermeticEnvironment environment;
    ::testing::InitGoogleTest(&argc, argv);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QGuiApplication app(argc, argv);
    return environment.finish(RUN_ALL_TESTS());
}

#include "render/chartimage.h"

#include "charts/historychart.h"
#include "platform/files.h"
#include "render/qtcanvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string_view>

namespace tarvelo {

namespace {

// Charts are laid out for a screen of 96 dots per inch, the resolution their point sizes
// assume, in an image and an SVG file alike.
constexpr int kDotsPerInch = 96;
constexpr int kDotsPerMeter = 3780;

enum class ImageKind { None, Png, Svg };

ImageKind kindOf(const std::string& path)
{
    const auto endsWith = [&path](std::string_view suffix) {
        return path.size() > suffix.size()
               && std::equal(suffix.rbegin(), suffix.rend(), path.rbegin(), [](char a, char b) {
                      return a == std::tolower(static_cast<unsigned char>(b));
                  });
    };
    if (endsWith(".png"))
        return ImageKind::Png;
    if (endsWith(".svg"))
        return ImageKind::Svg;
    return ImageKind::None;
}

void paintChart(QPainter& painter, int width, int height, const ChartSubject& subject)
{
    painter.fillRect(QRect(0, 0, width, height), colourOf(subject.colours.background));
    QtCanvas canvas(painter, ChartFonts::screen());
    drawChart(canvas, width, height, subject);
}

QByteArray svgBytes(const ChartSubject& subject, const ChartImageSize& size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(QSize(size.width, size.height));
    generator.setViewBox(QRect(0, 0, size.width, size.height));
    generator.setResolution(kDotsPerInch);
    generator.setTitle(
        subject.items.size() == 1 ? QStringLiteral("History chart") : QStringLiteral("Comparison chart"));
    generator.setDescription(QString::fromStdString(chartDescription(subject)));
    QPainter painter;
    if (!painter.begin(&generator))
        return {};
    paintChart(painter, size.width, size.height, subject);
    painter.end();
    return bytes;
}

} // namespace

std::string fileErrorText(FileError error)
{
    switch (error) {
    case FileError::None:
        return {};
    case FileError::NotFound:
        return "the file cannot be created there: no such folder";
    case FileError::AccessDenied:
        return "permission denied";
    case FileError::DiskFull:
        return "the disk is full";
    case FileError::NotRegular:
        return "a device, FIFO or socket is there, not a file; it is left as it is";
    case FileError::Other:
        break;
    }
    return "the file could not be written";
}

void drawChart(Canvas& canvas, int width, int height, const ChartSubject& subject)
{
    if (subject.items.size() == 1)
        drawHistoryChart(canvas, width, height, *subject.items.front(), ChartMedium::Screen, subject.colours);
    else if (subject.items.size() > 1)
        drawComparisonChart(canvas, width, height, subject.items, subject.comparison, ChartMedium::Screen, {},
                            subject.colours);
}

std::string chartDescription(const ChartSubject& subject)
{
    if (subject.items.size() == 1)
        return historyDescription(*subject.items.front());
    if (subject.items.size() > 1)
        return comparisonDescription(subject.items, subject.comparison);
    return {};
}

QImage chartImage(const ChartSubject& subject, const ChartImageSize& size)
{
    ensureGuiApplication();
    const double ratio = size.pixelRatio > 0 ? size.pixelRatio : 1.0;
    QImage image(static_cast<int>(std::lround(size.width * ratio)), static_cast<int>(std::lround(size.height * ratio)),
                 QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.setDotsPerMeterX(kDotsPerMeter);
    image.setDotsPerMeterY(kDotsPerMeter);
    image.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    paintChart(painter, size.width, size.height, subject);
    painter.end();
    return image;
}

bool isChartImagePath(const std::string& path)
{
    return kindOf(path) != ImageKind::None;
}

std::string writeChartImage(const std::string& path, const ChartSubject& subject, const ChartImageSize& size)
{
    const ImageKind kind = kindOf(path);
    if (kind == ImageKind::None)
        return "the file name must end in .png or .svg";
    ensureGuiApplication();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return "charts need fonts, which a process without a graphical application has not";
    QByteArray bytes;
    if (kind == ImageKind::Svg) {
        bytes = svgBytes(subject, size);
        if (bytes.isEmpty())
            return "the SVG picture could not be drawn";
    } else {
        const QImage image = chartImage(subject, size);
        if (image.isNull())
            return "not enough memory for an image of " + std::to_string(size.width) + "x"
                   + std::to_string(size.height) + " pixels";
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.save(&buffer, "PNG"))
            return "the PNG picture could not be encoded";
    }
    const std::string_view contents(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return fileErrorText(writeFileAtomically(path, contents));
}

namespace {

// The application that ensureGuiApplication made.
QGuiApplication* g_ownApplication = nullptr;

} // namespace

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    // Only this process's own application: the variable is read once, by the constructor.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "tarvelo-cli";
    static char* argv[] = {name, nullptr};
    // Starting without a desktop session makes Qt remark on what it lacks (no runtime
    // folder, for one); that is no news to a user of the command line. Errors still go
    // through.
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            previous(type, context, message);
    });
    g_ownApplication = new QGuiApplication(argc, argv);
    qInstallMessageHandler(previous);
}

void releaseGuiApplication()
{
    delete g_ownApplication;
    g_ownApplication = nullptr;
}

} // namespace tarvelo

#include "ui/appicons.h"

#include "resources/commandids.h"
#include "ui/vectoricon.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace tarvelo {

namespace {

// Draws in a 16 by 16 unit square; lines drawn straight onto the background take their
// colours from the palette.
using Drawing = IconDrawing;

// A drawing that needs no colours of the palette.
Drawing fixed(std::function<void(QPainter&)> draw)
{
    return [draw = std::move(draw)](QPainter& p, const IconColours&) { draw(p); };
}

const QColor kInk(50, 60, 75);
const QColor kPaper(250, 250, 246);
const QColor kBlue(40, 100, 190);
const QColor kGreen(30, 150, 60);
const QColor kRed(200, 40, 40);

void sheet(QPainter& p, const QColor& fill = kPaper)
{
    QPainterPath sheet;
    sheet.moveTo(3, 1.5);
    sheet.lineTo(10, 1.5);
    sheet.lineTo(13, 4.5);
    sheet.lineTo(13, 14.5);
    sheet.lineTo(3, 14.5);
    sheet.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(fill);
    p.drawPath(sheet);
    p.drawLine(QPointF(10, 1.5), QPointF(10, 4.5));
    p.drawLine(QPointF(10, 4.5), QPointF(13, 4.5));
}

void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour)
{
    p.setPen(QPen(colour, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(from, to);
    const QPointF d = to - from;
    const double length = std::max(0.001, std::hypot(d.x(), d.y()));
    const QPointF u(d.x() / length, d.y() / length);
    const QPointF n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(to + u * 1.5);
    head.lineTo(to - u * 2.5 + n * 2.5);
    head.lineTo(to - u * 2.5 - n * 2.5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
}

void chartLine(QPainter& p, const QColor& colour, double width)
{
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF points[] = {{2.5, 12}, {5.5, 8.5}, {8, 10}, {13.5, 3.5}};
    p.drawPolyline(points, 4);
}

void application(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setPen(QPen(QColor(255, 255, 255, 90), 0.6));
    for (double y : {4.5, 8.0, 11.5})
        p.drawLine(QPointF(2, y), QPointF(14, y));
    chartLine(p, QColor(255, 215, 60), 2.0);
}

void cross(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QRectF(7.5, 7.5, 8, 8));
    p.setPen(QPen(Qt::white, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.8, 9.8), QPointF(13.2, 13.2));
    p.drawLine(QPointF(13.2, 9.8), QPointF(9.8, 13.2));
}

void letter(QPainter& p, const QString& text, const QColor& colour, QRectF box, int weight = QFont::Bold)
{
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(static_cast<int>(box.height()));
    font.setWeight(static_cast<QFont::Weight>(weight));
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, text);
}

Drawing drawingOf(int command)
{
    using namespace commands;
    switch (command) {
    case kFileNew:
        return fixed([](QPainter& p) { sheet(p); });
    case kFileOpen:
        return fixed([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(235, 195, 90));
            p.drawRect(QRectF(1.5, 4.5, 11, 9));
            QPainterPath lid;
            lid.moveTo(1.5, 13.5);
            lid.lineTo(4.5, 7.5);
            lid.lineTo(15, 7.5);
            lid.lineTo(12.5, 13.5);
            lid.closeSubpath();
            p.setBrush(QColor(250, 220, 120));
            p.drawPath(lid);
        });
    case kFileSave:
        return fixed([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(kBlue);
            p.drawRect(QRectF(1.5, 1.5, 13, 13));
            p.setBrush(kPaper);
            p.drawRect(QRectF(4, 1.5, 8, 5));
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(4, 9.5, 8, 5));
        });
    case kImportQuotations:
        return [](QPainter& p, const IconColours& c) {
            sheet(p);
            arrow(p, QPointF(0.5, 9), QPointF(7, 9), c.onBackground(kGreen));
        };
    case kExport:
        return [](QPainter& p, const IconColours& c) {
            sheet(p);
            arrow(p, QPointF(7, 9), QPointF(14, 9), c.onBackground(kBlue));
        };
    case kInsertItem:
        return fixed([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(kGreen, 2.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 6.5), QPointF(8, 12.5));
            p.drawLine(QPointF(5, 9.5), QPointF(11, 9.5));
        });
    case kEditCut:
        return [](QPainter& p, const IconColours& c) {
            p.setPen(QPen(c.ink, 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawLine(QPointF(5, 1.5), QPointF(10, 10));
            p.drawLine(QPointF(11, 1.5), QPointF(6, 10));
            p.setPen(QPen(c.onBackground(kRed), 1.4));
            p.drawEllipse(QRectF(2, 10, 4, 4));
            p.drawEllipse(QRectF(10, 10, 4, 4));
        };
    case kEditCopy:
        return fixed([](QPainter& p) {
            p.translate(-1.5, -1);
            sheet(p);
            p.translate(3.5, 2.5);
            p.scale(0.85, 0.85);
            sheet(p, QColor(235, 242, 252));
        });
    case kEditPaste:
        return fixed([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(QColor(180, 130, 70));
            p.drawRoundedRect(QRectF(2.5, 2.5, 10, 12), 1, 1);
            p.setBrush(QColor(200, 200, 200));
            p.drawRect(QRectF(5, 1.5, 5, 2.5));
            p.setBrush(kPaper);
            p.drawRect(QRectF(6.5, 6.5, 8, 8));
        });
    case kManualQuotation:
        return fixed([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(QColor(170, 120, 40), 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(5, 12.5), QPointF(12.5, 5));
            p.setPen(QPen(kInk, 1));
            p.drawLine(QPointF(4, 13.5), QPointF(5, 12.5));
        });
    case kUpdateAll:
        return [](QPainter& p, const IconColours& c) {
            const QColor green = c.onBackground(kGreen);
            p.setPen(QPen(green, 2, Qt::SolidLine, Qt::RoundCap));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 100 * 16, 260 * 16);
            QPainterPath head;
            head.moveTo(6, 0.5);
            head.lineTo(10.5, 3);
            head.lineTo(6, 6);
            head.closeSubpath();
            p.setPen(Qt::NoPen);
            p.setBrush(green);
            p.drawPath(head);
        };
    case kAbortDownloads:
        return fixed([](QPainter& p) {
            QPainterPath octagon;
            const double a = 4.5, b = 11.5;
            octagon.moveTo(a, 1);
            octagon.lineTo(b, 1);
            octagon.lineTo(15, a);
            octagon.lineTo(15, b);
            octagon.lineTo(b, 15);
            octagon.lineTo(a, 15);
            octagon.lineTo(1, b);
            octagon.lineTo(1, a);
            octagon.closeSubpath();
            p.setPen(QPen(QColor(120, 20, 20), 0.8));
            p.setBrush(kRed);
            p.drawPath(octagon);
            p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(5.5, 5.5), QPointF(10.5, 10.5));
            p.drawLine(QPointF(10.5, 5.5), QPointF(5.5, 10.5));
        });
    case kPercentValues:
        return [](QPainter& p, const IconColours& c) {
            letter(p, QStringLiteral("%"), c.onBackground(kBlue), QRectF(0, 0, 16, 16));
        };
    case kCompareAll:
        return fixed([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(0.5, 0.5, 15, 15));
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(kRed, 1.4));
            const QPointF one[] = {{2, 12}, {6, 7}, {9, 9}, {14, 3}};
            p.drawPolyline(one, 4);
            p.setPen(QPen(kBlue, 1.4));
            const QPointF two[] = {{2, 8}, {6, 11}, {10, 6}, {14, 9}};
            p.drawPolyline(two, 4);
        });
    case kComparisonLimits:
        return fixed([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(0.5, 0.5, 15, 15));
            p.setPen(QPen(kBlue, 1.4));
            p.drawLine(QPointF(4, 2), QPointF(4, 14));
            p.drawLine(QPointF(12, 2), QPointF(12, 14));
            arrow(p, QPointF(6, 8), QPointF(10.5, 8), kRed);
        });
    case kFilePrintPreview:
        return fixed([](QPainter& p) {
            sheet(p);
            p.setPen(QPen(kInk, 1.4));
            p.setBrush(QColor(210, 230, 250));
            p.drawEllipse(QRectF(4, 5, 6, 6));
            p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(9.5, 10.5), QPointF(12.5, 13.5));
        });
    case kFilePrint:
        return fixed([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(4, 1.5, 8, 5));
            p.setBrush(QColor(170, 170, 170));
            p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1, 1);
            p.setBrush(kPaper);
            p.drawRect(QRectF(4, 10.5, 8, 4.5));
        });
    case kAppAbout:
        return fixed([](QPainter& p) {
            p.setPen(Qt::NoPen);
            p.setBrush(kBlue);
            p.drawEllipse(QRectF(1, 1, 14, 14));
            letter(p, QStringLiteral("?"), Qt::white, QRectF(1, 1.5, 14, 13));
        });
    case kConnectionStatus:
        return fixed([](QPainter& p) {
            p.setPen(QPen(kInk, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(1.5, 2.5, 13, 11));
            p.setPen(QPen(kGreen, 1.6));
            p.drawLine(QPointF(3.5, 5.5), QPointF(12.5, 5.5));
            p.drawLine(QPointF(3.5, 8), QPointF(9.5, 8));
            p.setPen(QPen(kRed, 1.6));
            p.drawLine(QPointF(3.5, 10.5), QPointF(11, 10.5));
        });
    default:
        return {};
    }
}

} // namespace

QIcon applicationIcon()
{
    return vectorIcon(fixed(application));
}

QIcon abortedApplicationIcon()
{
    return vectorIcon(fixed([](QPainter& p) {
        application(p);
        cross(p);
    }));
}

QIcon commandIcon(int command)
{
    const Drawing drawing = drawingOf(command);
    return drawing ? vectorIcon(drawing) : QIcon();
}

} // namespace tarvelo

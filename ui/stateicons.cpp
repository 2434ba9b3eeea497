#include "ui/stateicons.h"

#include "ui/vectoricon.h"

#include <QPainter>
#include <QPainterPath>

namespace tarvelo {

namespace {

void computer(QPainter& p)
{
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(200, 200, 210));
    p.drawRect(2, 3, 10, 7); // screen
    p.setBrush(QColor(40, 90, 160));
    p.drawRect(4, 5, 6, 3);
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(1, 12, 12, 2); // keyboard
}

void paintStateIcon(QPainter& p, int index, const IconColours& c)
{
    switch (index) {
    case 0: // computer with a globe
        computer(p);
        p.setPen(QPen(QColor(20, 100, 20), 1));
        p.setBrush(QColor(90, 170, 230));
        p.drawEllipse(QRectF(9.5, 0.5, 6, 6));
        p.drawLine(QPointF(9.5, 3.5), QPointF(15.5, 3.5));
        break;
    case 1: // computer
        computer(p);
        break;
    case 2: { // connector: a plug with two pins and its cable, which stand on the background
        p.setPen(QPen(c.ink, 1));
        p.drawLine(QPointF(5.5, 5.5), QPointF(5.5, 1.5));
        p.drawLine(QPointF(9.5, 5.5), QPointF(9.5, 1.5));
        p.drawLine(QPointF(7.5, 11.5), QPointF(7.5, 15));
        p.setPen(QPen(QColor(60, 60, 60), 1));
        p.setBrush(QColor(230, 190, 60));
        p.drawRoundedRect(QRectF(3.5, 5.5, 8, 6), 1, 1);
        break;
    }
    case 3: { // blue arrow down
        QPainterPath arrow;
        arrow.moveTo(5, 1);
        arrow.lineTo(11, 1);
        arrow.lineTo(11, 8);
        arrow.lineTo(14, 8);
        arrow.lineTo(8, 15);
        arrow.lineTo(2, 8);
        arrow.lineTo(5, 8);
        arrow.closeSubpath();
        p.setPen(QPen(QColor(20, 40, 120), 1));
        p.setBrush(QColor(40, 90, 220));
        p.drawPath(arrow);
        break;
    }
    default: // red cross
        p.setPen(QPen(QColor(210, 20, 20), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(3, 3), QPointF(13, 13));
        p.drawLine(QPointF(13, 3), QPointF(3, 13));
        break;
    }
}

} // namespace

QIcon connectionStateIcon(int index)
{
    return vectorIcon([index](QPainter& p, const IconColours& c) { paintStateIcon(p, index, c); },
                      IconSurface::List);
}

} // namespace tarvelo

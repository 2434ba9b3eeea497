#include "ui/rowicons.h"

#include "ui/vectoricon.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tarvelo {

namespace {

// The icon in a 16 x 16 square of units. The arrow keeps its colour; its edge and sign
// are a darker shade of it on a light background and a lighter one on a dark background.
void paintRowIcon(QPainter& p, int index, HealthMark mark, const IconColours& c)
{
    const int direction = index % 3;
    QPainterPath arrow;
    QColor colour;
    if (direction == 0) { // right
        arrow.moveTo(1, 6);
        arrow.lineTo(7, 6);
        arrow.lineTo(7, 3);
        arrow.lineTo(12, 8);
        arrow.lineTo(7, 13);
        arrow.lineTo(7, 10);
        arrow.lineTo(1, 10);
        colour = QColor(128, 128, 128);
    } else if (direction == 1) { // down
        arrow.moveTo(4, 1);
        arrow.lineTo(8, 1);
        arrow.lineTo(8, 8);
        arrow.lineTo(11, 8);
        arrow.lineTo(6, 14);
        arrow.lineTo(1, 8);
        arrow.lineTo(4, 8);
        colour = QColor(210, 30, 30);
    } else { // up
        arrow.moveTo(4, 14);
        arrow.lineTo(8, 14);
        arrow.lineTo(8, 7);
        arrow.lineTo(11, 7);
        arrow.lineTo(6, 1);
        arrow.lineTo(1, 7);
        arrow.lineTo(4, 7);
        colour = QColor(30, 160, 40);
    }
    arrow.closeSubpath();
    p.setPen(QPen(c.dark() ? colour.lighter(150) : colour.darker(140), 1));
    p.setBrush(colour);
    p.drawPath(arrow);
    // The small sign: circle, minus or plus.
    p.setPen(QPen(c.dark() ? colour.lighter(170) : colour.darker(160), 1.5));
    p.setBrush(Qt::NoBrush);
    if (direction == 0) {
        p.drawEllipse(QRectF(12, 11, 3.5, 3.5));
    } else {
        p.drawLine(QPointF(11.5, 13), QPointF(15.5, 13));
        if (direction == 2)
            p.drawLine(QPointF(13.5, 11), QPointF(13.5, 15));
    }
    if (index >= 3) { // alarm: a yellow exclamation mark
        p.setPen(QPen(QColor(120, 90, 0), 1));
        p.setBrush(QColor(250, 210, 0));
        p.drawRoundedRect(QRectF(11, 0.5, 4.5, 9), 1.5, 1.5);
        p.setPen(QPen(QColor(60, 40, 0), 1.2));
        p.drawLine(QPointF(13.25, 2), QPointF(13.25, 6));
        p.drawPoint(QPointF(13.25, 8));
    }
    if (mark == HealthMark::None)
        return;
    // The badge, with a transparent ring that cuts it free from the arrow below.
    const QPointF centre(4.5, 11.5);
    p.save();
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawEllipse(centre, 5.5, 5.5);
    p.restore();
    const bool failed = mark == HealthMark::Failed;
    const QColor fill = failed ? QColor(215, 35, 35) : QColor(240, 160, 0);
    p.setPen(QPen(fill.darker(150), 0.8));
    p.setBrush(fill);
    p.drawEllipse(centre, 4.3, 4.3);
    if (failed) { // a white cross
        p.setPen(QPen(Qt::white, 1.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(centre + QPointF(-1.8, -1.8), centre + QPointF(1.8, 1.8));
        p.drawLine(centre + QPointF(1.8, -1.8), centre + QPointF(-1.8, 1.8));
    } else { // a pause sign: held back
        p.setPen(QPen(QColor(60, 35, 0), 1.3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(centre + QPointF(-1.1, -2.1), centre + QPointF(-1.1, 2.1));
        p.drawLine(centre + QPointF(1.1, -2.1), centre + QPointF(1.1, 2.1));
    }
}

} // namespace

QIcon portfolioRowIcon(int index, HealthMark mark)
{
    return vectorIcon([index, mark](QPainter& p, const IconColours& c) { paintRowIcon(p, index, mark, c); },
                      IconSurface::List);
}

const QIcon& RowIconCache::icon(int index, HealthMark mark) const
{
    const std::size_t at = static_cast<std::size_t>(std::clamp(index, 0, 5)) * 3 + static_cast<std::size_t>(mark);
    QIcon& made = m_icons[at];
    if (made.isNull())
        made = portfolioRowIcon(index, mark);
    return made;
}

} // namespace tarvelo

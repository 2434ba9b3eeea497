#include "ui/ownerdrawnlist.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace tarvelo {

QString shortenText(const QString& text, int width, int margin, const QFontMetrics& metrics)
{
    if (text.isEmpty())
        return text;
    // Only a prefix that may fit is ever measured: no character of the font is narrower
    // than a pixel, so a text longer than the width in pixels (and some room for
    // characters of no width) is cut anyway. The time does not grow with the text.
    const qsizetype bound = std::max(0, width) + 64;
    const QStringView prefix = QStringView(text).left(std::min(text.size(), bound));
    if (prefix.size() == text.size() && metrics.horizontalAdvance(text) + margin <= width)
        return text;
    const QString dots = QStringLiteral("...");
    const int room = width - margin - metrics.horizontalAdvance(dots);
    // The longest start of the text that fits beside the dots, at least one character.
    qsizetype fits = 1;
    qsizetype tooLong = prefix.size() + 1;
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (metrics.horizontalAdvance(prefix.left(middle).toString()) <= room)
            fits = middle;
        else
            tooLong = middle;
    }
    // Never half a surrogate pair.
    if (fits > 1 && prefix.at(fits - 1).isHighSurrogate())
        --fits;
    return prefix.left(fits).toString() + dots;
}

OwnerDrawnList::OwnerDrawnList(QWidget* parent) : QTreeView(parent)
{
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAllColumnsShowFocus(true);
    setItemDelegate(new ListRowDelegate(this));
    setIconSize(QSize(16, 16));
}

QColor OwnerDrawnList::rowDotColour(const QVariant&) const
{
    return QColor(0, 0, 255);
}

ListRowDelegate::ListRowDelegate(OwnerDrawnList* list) : QStyledItemDelegate(list), m_list(list) {}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QPalette& palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    QRect cell = option.rect;
    // The last column's highlight reaches at least to the right edge of the view.
    if (index.column() == index.model()->columnCount(index.parent()) - 1)
        cell.setRight(std::max(cell.right(), m_list->viewport()->width()));
    painter->fillRect(cell, selected ? palette.highlight() : palette.base());
    painter->setPen(selected ? palette.highlightedText().color() : palette.text().color());
    const QFontMetrics metrics(option.font);
    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.column() == 0) {
        QRect label = option.rect;
        const QIcon icon = qvariant_cast<QIcon>(index.data(Qt::DecorationRole));
        if (!icon.isNull()) {
            icon.paint(painter, QRect(label.left(), label.top() + (label.height() - 16) / 2, 16, 16), Qt::AlignCenter,
                       selected ? QIcon::Selected : QIcon::Normal);
            label.setLeft(label.left() + 18);
        }
        const int r = label.right();
        const QRect dot(QPoint(std::max(r - 12, label.left() + 2), label.top() + 4), QPoint(r - 2, label.bottom() - 4));
        if (dot.width() > 0 && dot.height() > 0) {
            painter->save();
            painter->setRenderHint(QPainter::Antialiasing, true);
            const QColor fill = m_list->rowDotColour(index.siblingAtColumn(0).data(Qt::UserRole));
            const QColor behind = selected ? palette.highlight().color() : palette.base().color();
            // A dot about as light as the row behind it (a dark colour on a dark palette)
            // gets a thin ring in the text colour, so that it stays visible.
            if (std::abs(fill.lightness() - behind.lightness()) < 64) {
                QColor ring = painter->pen().color();
                ring.setAlpha(170);
                painter->setPen(QPen(ring, 1));
            } else {
                painter->setPen(Qt::NoPen);
            }
            painter->setBrush(fill);
            painter->drawEllipse(dot);
            painter->restore();
        }
        const QString shown = shortenText(text, r - label.left() - 12, 4, metrics);
        painter->drawText(label.adjusted(2, 0, -12, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    } else if (!text.isEmpty()) {
        const QString shown = shortenText(text, option.rect.width(), 12, metrics);
        Qt::Alignment alignment = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignHorizontal_Mask;
        if (shown != text || alignment == 0)
            alignment = Qt::AlignLeft;
        painter->drawText(option.rect.adjusted(6, 0, -6, 0), alignment | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    }
    if ((option.state & QStyle::State_HasFocus) && m_list->hasFocus()) {
        painter->setPen(QPen(palette.text().color(), 1, Qt::DotLine));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(cell.adjusted(0, 0, -1, -1));
    }
    painter->restore();
}

} // namespace tarvelo

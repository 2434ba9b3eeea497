#pragma once

#include <QColor>
#include <QStyledItemDelegate>
#include <QTreeView>

class QFontMetrics;

namespace tarvelo {

// A text cut to fit a width with a margin: unchanged when it fits, else characters are
// dropped from its end (keeping at least one) until it fits with "..." appended. Takes
// the same time for a text of any length.
QString shortenText(const QString& text, int width, int margin, const QFontMetrics& metrics);

// A report list that draws its rows itself: the selection highlighted across the full
// width (at least to the right edge of the view), texts that do not fit ending in "...",
// and a small coloured dot at the right end of the first column. Rows are whole: no
// root decoration, one height for all, selected and focused as rows.
class OwnerDrawnList : public QTreeView {
    Q_OBJECT
public:
    explicit OwnerDrawnList(QWidget* parent = nullptr);

    // The dot colour of a row, by the row's item data (Qt::UserRole of column 0).
    virtual QColor rowDotColour(const QVariant& itemData) const;
};

// The delegate that draws the rows of a OwnerDrawnList.
class ListRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit ListRowDelegate(OwnerDrawnList* list);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    OwnerDrawnList* m_list;
};

} // namespace tarvelo

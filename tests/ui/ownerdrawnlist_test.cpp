#include "ui/ownerdrawnlist.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QStandardItemModel>

namespace tarvelo {
namespace {

TEST(shortenText, FitsOrEndsInDots)
{
    const QFontMetrics metrics(QApplication::font());
    const QString name = QStringLiteral("A rather long name of a fund");
    const int full = metrics.horizontalAdvance(name);
    EXPECT_EQ(shortenText(name, full + 4, 4, metrics), name);
    EXPECT_EQ(shortenText(QString(), 0, 12, metrics), QString());
    const QString cut = shortenText(name, full / 2, 4, metrics);
    EXPECT_TRUE(cut.endsWith(QStringLiteral("...")));
    EXPECT_TRUE(name.startsWith(cut.chopped(3)));
    EXPECT_LE(metrics.horizontalAdvance(cut) + 4, full / 2);
    // However narrow, one character stays.
    EXPECT_EQ(shortenText(name, 1, 4, metrics), QStringLiteral("A..."));
    // A text of megabytes is cut as its start would be: only that start is measured.
    const QString huge = name.repeated(200000);
    const QString start = name.repeated(40);
    EXPECT_EQ(shortenText(huge, full, 4, metrics), shortenText(start, full, 4, metrics));
    EXPECT_TRUE(shortenText(huge, 300, 12, metrics).endsWith(QStringLiteral("...")));
}

class RedDots : public OwnerDrawnList {
public:
    QColor rowDotColour(const QVariant&) const override { return QColor(255, 0, 0); }
};

int redPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += (c.red() > 200 && c.green() < 60 && c.blue() < 60) ? 1 : 0;
        }
    }
    return count;
}

TEST(OwnerDrawnListTest, DotAtTheRightOfTheFirstColumnAndFullRowHighlight)
{
    QStandardItemModel rows(1, 2);
    rows.setItem(0, 0, new QStandardItem(QStringLiteral("A name far too long for its column of the list")));
    rows.setItem(0, 1, new QStandardItem(QStringLiteral("12.5000")));
    RedDots list;
    list.setModel(&rows);
    list.setColumnWidth(0, 120);
    list.setColumnWidth(1, 60);
    list.resize(400, 120);
    const QModelIndex row = rows.index(0, 0);
    list.show();
    QApplication::processEvents();

    const QRect rect = list.visualRect(row);
    QImage image = list.viewport()->grab().toImage();
    EXPECT_GT(redPixels(image, QRect(100, rect.top(), 20, rect.height())), 3); // the dot, right end of column 0
    EXPECT_EQ(redPixels(image, QRect(0, rect.top(), 90, rect.height())), 0);

    // Selected, the highlight reaches past the last column to the view's right edge.
    list.setCurrentIndex(row);
    list.selectionModel()->select(row, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    list.setFocus();
    QApplication::processEvents();
    image = list.viewport()->grab().toImage();
    const QColor highlight = list.palette().color(QPalette::Highlight);
    const QColor beyond = image.pixelColor(list.viewport()->width() - 3, rect.center().y());
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) < 12 && std::abs(a.green() - b.green()) < 12
            && std::abs(a.blue() - b.blue()) < 12;
    };
    EXPECT_TRUE(near(beyond, highlight)) << beyond.name().toStdString() << " " << highlight.name().toStdString();
    // Below the row the view stays unhighlighted.
    EXPECT_FALSE(near(image.pixelColor(list.viewport()->width() - 3, rect.bottom() + 10), highlight));
}

} // namespace
} // namespace tarvelo

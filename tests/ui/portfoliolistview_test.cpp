#include "ui/portfoliolistview.h"

#include "platform/profile.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QImage>
#include <QPixmap>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <clocale>
#include <map>

namespace tarvelo {
namespace {

class PortfolioListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::setlocale(LC_ALL, "C");
        for (const char* section : {"Columns", "SortColumn", "SortReverse", "ProcentualValue"})
            Profile().deleteKey(section);
        m_now = makeLocalTime(2026, 12, 7, 16, 0);
    }
    ItemKey add(const char* name, std::vector<Quotation> history, std::uint32_t colour = 0x0000FF)
    {
        ItemSettings settings;
        settings.name = name;
        settings.chart.lineColour = colour;
        const ItemKey pos = m_doc.addItem(settings);
        for (const Quotation& k : history)
            m_doc.insertQuotation(pos, k.value, k.time);
        return pos;
    }
    static std::vector<QString> columnTexts(const PortfolioListView& view, int column)
    {
        std::vector<QString> texts;
        for (int i = 0; i < view.model()->rowCount(); ++i)
            texts.push_back(text(view, i, column));
        return texts;
    }
    static QString text(const PortfolioListView& view, int row, int column)
    {
        return view.model()->index(row, column).data().toString();
    }
    static std::uint64_t keyAt(const PortfolioListView& view, int row)
    {
        return view.model()->index(row, 0).data(Qt::UserRole).toULongLong();
    }
    // Each row's item and its persistent index: an index that still points at its item's
    // row shows that the row was moved, not made anew.
    static std::map<std::uint64_t, QPersistentModelIndex> persistentRows(const PortfolioListView& view)
    {
        std::map<std::uint64_t, QPersistentModelIndex> rows;
        for (int i = 0; i < view.model()->rowCount(); ++i)
            rows[keyAt(view, i)] = QPersistentModelIndex(view.model()->index(i, 0));
        return rows;
    }

    test::ScopedTimeZone m_zone{"UTC"};
    PortfolioDocument m_doc;
    TimeStamp m_now = 0;
};

TEST_F(PortfolioListViewTest, RowsFollowTheDocumentSortedByTheHeader)
{
    add("beta", {});
    add("Alpha", {{makeLocalTime(2026, 12, 7, 10), 2.0}, {makeLocalTime(2026, 12, 7, 15, 30), 3.0}});
    PortfolioListView view(m_doc);
    view.setNow(m_now);
    view.rebuild();
    EXPECT_EQ(columnTexts(view, 0), (std::vector<QString>{"Alpha", "beta"}));
    EXPECT_EQ(columnTexts(view, 1), (std::vector<QString>{"15:30", ""}));
    EXPECT_EQ(columnTexts(view, 2), (std::vector<QString>{"3.0000", ""}));
    EXPECT_EQ(columnTexts(view, 6), (std::vector<QString>{"+50.00% (0 Days)", ""}));
    EXPECT_EQ(view.amountText(), "Amount invested: 0.00");

    // A new item appears at once; clicking a header sorts, a second click reverses.
    add("Gamma", {{makeLocalTime(2026, 12, 1, 10), 9.0}});
    EXPECT_EQ(view.model()->rowCount(), 3);
    view.sortBy(2);
    EXPECT_EQ(columnTexts(view, 0), (std::vector<QString>{"beta", "Alpha", "Gamma"}));
    view.sortBy(2);
    EXPECT_EQ(columnTexts(view, 0), (std::vector<QString>{"Gamma", "Alpha", "beta"}));
    view.sortBy(0);
    EXPECT_FALSE(view.sortReverse());
    EXPECT_EQ(columnTexts(view, 0), (std::vector<QString>{"Alpha", "beta", "Gamma"}));

    view.setPercentMode(false);
    EXPECT_EQ(text(view, 0, 6), "+1.0000 (0 Days)");
    view.saveViewOptions();
    EXPECT_EQ(Profile().getInt("ProcentualValue", "ListView", 1), 0);
    EXPECT_EQ(Profile().getInt("SortColumn", "ListView", -1), 0);
}

TEST_F(PortfolioListViewTest, SelectionSurvivesRebuildsAndMovesOnAfterADelete)
{
    const ItemKey a = add("A", {});
    const ItemKey b = add("B", {});
    const ItemKey c = add("C", {});
    PortfolioListView view(m_doc);
    QSignalSpy changed(&view, &PortfolioListView::selectionChanged);
    // The first row is chosen when nothing was.
    EXPECT_EQ(view.currentPosition(), a);

    view.setCurrentIndex(view.model()->index(1, 0));
    EXPECT_EQ(view.currentPosition(), b);
    EXPECT_GE(changed.count(), 1);
    m_doc.insertQuotation(c, 1.0, 100);
    EXPECT_EQ(view.currentPosition(), b);
    EXPECT_EQ(view.selectedPositions(), std::vector<ItemKey>{b});

    // Deleting the focused item: the row at the same place takes over.
    m_doc.deleteItems({b});
    EXPECT_EQ(view.currentPosition(), c);
    EXPECT_EQ(view.selectedPositions(), std::vector<ItemKey>{c});
    m_doc.deleteItems({c});
    EXPECT_EQ(view.currentPosition(), a);
}

TEST_F(PortfolioListViewTest, AQuotationMovesOnlyItsOwnRowAndTheTotalsFollow)
{
    // 300 items valued 1 to 300, each held twice, listed by value.
    std::vector<ItemKey> keys;
    for (int i = 0; i < 300; ++i) {
        ItemSettings settings;
        settings.name = "Item" + std::to_string(i);
        settings.quantity = 2;
        settings.averageBuyPrice = 1.5;
        keys.push_back(m_doc.addItem(settings));
        m_doc.insertQuotation(keys.back(), i + 1.0, makeLocalTime(2026, 12, 7, 10));
    }
    PortfolioListView view(m_doc);
    view.setNow(m_now);
    view.sortBy(2);
    view.setCurrentIndex(view.model()->index(40, 0));
    view.selectionModel()->select(view.model()->index(250, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const ItemKey current = view.currentPosition();
    const std::vector<ItemKey> selected = view.selectedPositions();
    ASSERT_EQ(selected.size(), 2u);
    std::map<std::uint64_t, QPersistentModelIndex> rows = persistentRows(view);
    QSignalSpy selectionSpy(&view, &PortfolioListView::selectionChanged);
    QSignalSpy totalsSpy(&view, &PortfolioListView::amountTextChanged);

    const auto sameAsAFreshList = [&](bool reverse) {
        PortfolioListView fresh(m_doc);
        fresh.setNow(m_now);
        fresh.sortBy(2);
        if (reverse)
            fresh.sortBy(2);
        for (int column = 0; column < kListColumns; ++column)
            EXPECT_EQ(columnTexts(view, column), columnTexts(fresh, column)) << column;
        EXPECT_EQ(view.amountText(), fresh.amountText());
        EXPECT_EQ(view.amountText().toStdString(), totalsText(m_doc.items(), true));
    };

    // The tenth item is now worth as much as the 200th: once the events are handled, it
    // has moved up to just above it (equal values keep their portfolio order), showing its
    // new value, and the amount pane hears of the new totals.
    m_doc.markBeingUpdated(keys[10]);
    m_doc.applyDownloadedQuotation(keys[10], {makeLocalTime(2026, 12, 7, 15), 200.0});
    QCoreApplication::processEvents();
    EXPECT_EQ(rows[keys[10].key].row(), 198);
    EXPECT_EQ(text(view, 198, 2), "200.0000");
    EXPECT_EQ(rows[keys[199].key].row(), 199);
    sameAsAFreshList(false);
    // No row was made anew, and the selection is as it was.
    for (int i = 0; i < view.model()->rowCount(); ++i)
        EXPECT_EQ(rows[keyAt(view, i)].row(), i) << i;
    EXPECT_EQ(view.currentPosition(), current);
    EXPECT_EQ(view.selectedPositions(), selected);
    EXPECT_EQ(selectionSpy.count(), 0);
    ASSERT_EQ(totalsSpy.count(), 1);
    EXPECT_EQ(totalsSpy.front().front().toString(), view.amountText());

    // In reverse order a selected row moves down past the current one, and the selection
    // stays in row order.
    view.sortBy(2);
    rows = persistentRows(view);
    const ItemKey moving = view.selectedPositions().front();
    m_doc.insertQuotation(moving, 0.5, makeLocalTime(2026, 12, 7, 15));
    QCoreApplication::processEvents();
    EXPECT_EQ(rows[moving.key].row(), view.model()->rowCount() - 1);
    EXPECT_EQ(view.selectedPositions().back(), moving);
    EXPECT_EQ(view.currentPosition(), current);
    sameAsAFreshList(true);

    // An update of many items at once: every row lands in its place in one pass, ties
    // included, and the same rows stay current and selected.
    for (int i = 0; i < 300; i += 3)
        m_doc.applyDownloadedQuotation(keys[static_cast<std::size_t>(i)], {makeLocalTime(2026, 12, 7, 16), (i * 37 % 50) + 0.5});
    QCoreApplication::processEvents();
    sameAsAFreshList(true);
    for (int i = 0; i < view.model()->rowCount(); ++i)
        EXPECT_EQ(rows[keyAt(view, i)].row(), i) << i;
    EXPECT_EQ(view.currentPosition(), current);
    EXPECT_EQ(view.selectedPositions().size(), 2u);
    EXPECT_TRUE(std::find(view.selectedPositions().begin(), view.selectedPositions().end(), moving) !=
                view.selectedPositions().end());
}

TEST_F(PortfolioListViewTest, DotsHaveTheItemsLineColour)
{
    const ItemKey pos = add("A", {}, 0x9600DC); // 0x00BBGGRR
    PortfolioListView view(m_doc);
    EXPECT_EQ(view.rowDotColour(QVariant::fromValue<qulonglong>(pos.key)), QColor(0xDC, 0x00, 0x96));
    EXPECT_EQ(view.rowDotColour(QVariant::fromValue<qulonglong>(9999)), QColor(0, 0, 255));
}

} // namespace
} // namespace tarvelo

namespace tarvelo {
namespace {

// Ink in the viewport below the first row: only the hint puts any there.
int inkBelowFirstRow(PortfolioListView& view)
{
    view.resize(640, 320);
    view.show();
    QCoreApplication::processEvents();
    const QImage image = view.viewport()->grab().toImage();
    const QColor base = view.palette().color(QPalette::Base);
    const int top = view.sizeHintForRow(0) > 0 ? view.sizeHintForRow(0) * 2 : 40;
    int ink = 0;
    for (int y = top; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ink += QColor(image.pixel(x, y)) != base ? 1 : 0;
    }
    return ink;
}

TEST_F(PortfolioListViewTest, TheEmptyListShowsHowToBeginUntilItHasARow)
{
    EXPECT_EQ(PortfolioListView::emptyListHint(),
              QStringLiteral("No items yet. Insert one with Item \u2192 Insert new item (Ins), or open a portfolio."));
    PortfolioListView view(m_doc);
    view.setNow(m_now);
    EXPECT_GT(inkBelowFirstRow(view), 100);
    add("Alpha", {{m_now, 10.0}});
    EXPECT_EQ(inkBelowFirstRow(view), 0);
    m_doc.deleteItems(m_doc.itemPositions());
    EXPECT_GT(inkBelowFirstRow(view), 100);
}

} // namespace
} // namespace tarvelo

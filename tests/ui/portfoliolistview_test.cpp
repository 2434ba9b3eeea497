#include "ui/portfoliolistview.h"

#include "platform/profile.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <clocale>

namespace tarvelo {
namespace {

class PortfolioListViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("TZ", "UTC", 1);
        ::tzset();
        std::setlocale(LC_ALL, "C");
        for (const char* section : {"Columns", "SortColumn", "SortReverse", "ProcentualValue"})
            Profile().deleteKey(section);
        m_now = MakeLocalTime(2026, 12, 7, 16, 0);
    }
    ItemKey Add(const char* name, std::vector<Quotation> history, std::uint32_t colour = 0x0000FF)
    {
        ItemSettings settings;
        settings.name = name;
        settings.chart.lineColour = colour;
        const ItemKey pos = m_doc.AddItem(settings);
        for (const Quotation& k : history)
            m_doc.InsertQuotation(pos, k.value, k.time);
        return pos;
    }
    static std::vector<QString> Column(const PortfolioListView& view, int column)
    {
        std::vector<QString> texts;
        for (int i = 0; i < view.topLevelItemCount(); ++i)
            texts.push_back(view.topLevelItem(i)->text(column));
        return texts;
    }

    PortfolioDocument m_doc{1};
    TimeStamp m_now = 0;
};

TEST_F(PortfolioListViewTest, RowsFollowTheDocumentSortedByTheHeader)
{
    Add("beta", {});
    Add("Alpha", {{MakeLocalTime(2026, 12, 7, 10), 2.0}, {MakeLocalTime(2026, 12, 7, 15, 30), 3.0}});
    PortfolioListView view(m_doc);
    view.setNow(m_now);
    view.rebuild();
    EXPECT_EQ(Column(view, 0), (std::vector<QString>{"Alpha", "beta"}));
    EXPECT_EQ(Column(view, 1), (std::vector<QString>{"15:30", ""}));
    EXPECT_EQ(Column(view, 2), (std::vector<QString>{"3.0000", ""}));
    EXPECT_EQ(Column(view, 6), (std::vector<QString>{"+50.00% (0 Days)", ""}));
    EXPECT_EQ(view.amountText(), "Amount invested: 0.00");

    // A new item appears at once; clicking a header sorts, a second click reverses.
    Add("Gamma", {{MakeLocalTime(2026, 12, 1, 10), 9.0}});
    EXPECT_EQ(view.topLevelItemCount(), 3);
    view.sortBy(2);
    EXPECT_EQ(Column(view, 0), (std::vector<QString>{"beta", "Alpha", "Gamma"}));
    view.sortBy(2);
    EXPECT_EQ(Column(view, 0), (std::vector<QString>{"Gamma", "Alpha", "beta"}));
    view.sortBy(0);
    EXPECT_FALSE(view.sortReverse());
    EXPECT_EQ(Column(view, 0), (std::vector<QString>{"Alpha", "beta", "Gamma"}));

    view.setPercentMode(false);
    EXPECT_EQ(view.topLevelItem(0)->text(6), "+1.0000 (0 Days)");
    view.saveViewOptions();
    EXPECT_EQ(Profile().getInt("ProcentualValue", "ListView", 1), 0);
    EXPECT_EQ(Profile().getInt("SortColumn", "ListView", -1), 0);
}

TEST_F(PortfolioListViewTest, SelectionSurvivesRebuildsAndMovesOnAfterADelete)
{
    const ItemKey a = Add("A", {});
    const ItemKey b = Add("B", {});
    const ItemKey c = Add("C", {});
    PortfolioListView view(m_doc);
    QSignalSpy changed(&view, &PortfolioListView::selectionChanged);
    // The first row is chosen when nothing was.
    EXPECT_EQ(view.currentPosition(), a);

    view.setCurrentItem(view.topLevelItem(1));
    EXPECT_EQ(view.currentPosition(), b);
    EXPECT_GE(changed.count(), 1);
    m_doc.InsertQuotation(c, 1.0, 100); // any change rebuilds the list
    EXPECT_EQ(view.currentPosition(), b);
    EXPECT_EQ(view.selectedPositions(), std::vector<ItemKey>{b});

    // Deleting the focused item: the row at the same place takes over.
    m_doc.DeleteItems({b});
    EXPECT_EQ(view.currentPosition(), c);
    EXPECT_EQ(view.selectedPositions(), std::vector<ItemKey>{c});
    m_doc.DeleteItems({c});
    EXPECT_EQ(view.currentPosition(), a);
}

TEST_F(PortfolioListViewTest, DotsHaveTheItemsLineColour)
{
    const ItemKey pos = Add("A", {}, 0x9600DC); // 0x00BBGGRR
    PortfolioListView view(m_doc);
    EXPECT_EQ(view.rowDotColour(QVariant::fromValue<qulonglong>(pos.key)), QColor(0xDC, 0x00, 0x96));
    EXPECT_EQ(view.rowDotColour(QVariant::fromValue<qulonglong>(9999)), QColor(0, 0, 255));
}

} // namespace
} // namespace tarvelo

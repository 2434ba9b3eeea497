#include "model/portfoliolist.h"

#include "platform/profile.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>

namespace tarvelo {
namespace {

class PortfolioListTest : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C"); }
    static TimeStamp at(int day, int hour, int minute = 0) { return makeLocalTime(2026, 12, day, hour, minute); }
    static SecurityItem Item(const char* name, std::vector<Quotation> history)
    {
        SecurityItem item;
        item.settings().name = name;
        for (const Quotation& k : history)
            item.insertQuotation(k);
        return item;
    }

    test::ScopedTimeZone m_zone{"UTC"};
};

TEST_F(PortfolioListTest, CellTextsOfARow)
{
    // Latest 15:30, previous 15:15 the same day, an older one the day before at 17:00.
    SecurityItem item = Item("ACME", {{at(6, 17), 10.0}, {at(7, 15, 15), 12.0}, {at(7, 15, 30), 12.5}});
    item.settings().quantity = 10;
    item.settings().averageBuyPrice = 10;
    const auto percent = rowCells(item, true, at(7, 16));
    EXPECT_EQ(percent[0], "ACME");
    EXPECT_EQ(percent[1], "15:30");
    EXPECT_EQ(percent[2], "12.5000");
    EXPECT_EQ(percent[3], "10.0000");
    EXPECT_EQ(percent[4], "12.5000");
    EXPECT_EQ(percent[5], "+25.00% (0 Days)"); // against 17:00 of the day before
    EXPECT_EQ(percent[6], "+4.17% (0 Days)");  // against 15:15
    EXPECT_EQ(percent[7], "+25.00% (0 Days)");
    EXPECT_EQ(percent[8], "125.00 (+25.00%)");
    const auto nominal = rowCells(item, false, at(7, 16));
    EXPECT_EQ(nominal[5], "+2.5000 (0 Days)");
    EXPECT_EQ(nominal[6], "+0.5000 (0 Days)");
    EXPECT_EQ(nominal[8], "125.00 (+25.00)");
    EXPECT_EQ(rowIcon(item), 2);

    // Dates: the weekday within a week (yesterday 23:00 seen at 01:00 counts as a day),
    // the date beyond.
    const SecurityItem late = Item("late", {{at(6, 23), 1.0}});
    EXPECT_EQ(rowCells(late, true, at(7, 1))[1], "Sunday   23:00");
    EXPECT_EQ(rowCells(late, true, at(20, 1))[1], "12/06/26   23:00");
    // One quotation: zero changes and day counts.
    EXPECT_EQ(rowCells(late, true, at(7, 1))[6], "+0.00% (0 Days)");
    // No quotations: only the name.
    const auto empty = rowCells(Item("none", {}), true, at(7, 1));
    EXPECT_EQ(empty[0], "none");
    for (int column = 1; column < kListColumns; ++column)
        EXPECT_EQ(empty[static_cast<std::size_t>(column)], "");
}

TEST_F(PortfolioListTest, IconsAndAlarms)
{
    SecurityItem fell = Item("fell", {{at(1, 12), 10.0}, {at(3, 12), 9.0}});
    EXPECT_EQ(rowIcon(fell), 1);
    fell.settings().belowAlarm = true;
    fell.settings().belowLimit = 9.5;
    EXPECT_EQ(rowIcon(fell), 4);

    SecurityItem flat = Item("flat", {{at(1, 12), 10.0}});
    flat.settings().aboveAlarm = true;
    flat.settings().aboveLimit = 10.0; // not above
    EXPECT_EQ(rowIcon(flat), 0);
    flat.settings().deviationAlarm = true;
    flat.settings().averageBuyPrice = 8.0;
    flat.settings().deviationPercent = -20; // |10/8 - 1| = 0.25 > 0.20
    EXPECT_EQ(rowIcon(flat), 3);
    EXPECT_EQ(rowIcon(Item("none", {})), 0);
}

TEST_F(PortfolioListTest, Totals)
{
    SecurityItem a = Item("a", {{at(1, 12), 10.0}, {at(2, 12), 12.0}});
    a.settings().quantity = 10;
    a.settings().averageBuyPrice = 8;
    SecurityItem b = Item("b", {{at(1, 12), 5.0}, {at(2, 12), 4.0}});
    b.settings().quantity = 5;
    b.settings().averageBuyPrice = 4;
    // value 140, previous 125, invested 100
    EXPECT_EQ(totalsText({&a, &b}, true), "Amount invested: 140.00 (Last: +12.00% Total: +40.00%)");
    EXPECT_EQ(totalsText({&a, &b}, false), "Amount invested: 140.00 (Last: +15.00 Total: +40.00)");
    // An item with a single quotation drops the Last part.
    SecurityItem single = Item("single", {{at(2, 12), 2.0}});
    single.settings().quantity = 5;
    single.settings().averageBuyPrice = 2;
    EXPECT_EQ(totalsText({&a, &single}, true), "Amount invested: 130.00 (Total: +44.44%)");
    // A buy price of 0 drops the gains of the whole portfolio.
    b.settings().averageBuyPrice = 0;
    EXPECT_EQ(totalsText({&a, &b}, true), "Amount invested: 140.00");
    EXPECT_EQ(totalsText({}, true), "Amount invested: 0.00");
}

TEST_F(PortfolioListTest, SortingByEveryColumn)
{
    const SecurityItem none = Item("beta", {});
    const SecurityItem low = Item("Alpha", {{at(1, 12), 1.0}, {at(2, 12), 2.0}});
    const SecurityItem high = Item("gamma", {{at(1, 12), 10.0}, {at(3, 12), 5.0}});
    const std::vector<const SecurityItem*> items = {&low, &none, &high};
    const auto names = [](const std::vector<const SecurityItem*>& rows) {
        std::string out;
        for (const SecurityItem* row : rows)
            out += row->settings().name + " ";
        return out;
    };
    EXPECT_EQ(names(sortedRows(items, 0, false)), "Alpha beta gamma ");
    EXPECT_EQ(names(sortedRows(items, 0, true)), "gamma beta Alpha ");
    EXPECT_EQ(names(sortedRows(items, 1, false)), "beta Alpha gamma "); // no quotations: 1975
    EXPECT_EQ(names(sortedRows(items, 2, false)), "beta Alpha gamma ");
    EXPECT_EQ(names(sortedRows(items, 7, false)), "gamma beta Alpha "); // -50%, 0, +100%
    EXPECT_EQ(compareRows(none, none, 5), 0);
}

TEST_F(PortfolioListTest, ViewOptionsReadAndWritten)
{
    Profile profile;
    for (const char* section : {"Columns", "SortColumn", "SortReverse", "ProcentualValue"})
        profile.deleteKey(section);
    profile.sync();
    ListViewOptions options = loadListViewOptions();
    EXPECT_EQ(options.widths[0], 200);
    EXPECT_EQ(options.widths[8], 107);
    EXPECT_TRUE(options.percent);
    {
        Profile p;
        p.writeText("Columns", "ListView", "250");
        p.writeInt("SortReverse", "ListView", 1);
        p.writeInt("ProcentualValue", "ListView", 7);
    }
    options = loadListViewOptions();
    EXPECT_EQ(options.widths[0], 250);
    EXPECT_EQ(options.widths[1], 112);
    EXPECT_TRUE(options.sortReverse);
    EXPECT_TRUE(options.percent);
    options.widths[3] = 99;
    options.sortColumn = 4;
    options.percent = false;
    saveListViewOptions(options);
    EXPECT_EQ(Profile().getText("Columns", "ListView", ""), "250,112,63,99,70,95,95,116,107");
    const ListViewOptions again = loadListViewOptions();
    EXPECT_EQ(again.sortColumn, 4);
    EXPECT_FALSE(again.percent);
}

} // namespace
} // namespace tarvelo

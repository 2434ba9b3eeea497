// The holding's arithmetic, the Buy dialog's ranges, the alarm rule at its bounds, and the
// refusals that keep an infinite or undefined average out of the portfolio.
#include "model/investment.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tarvelo {
namespace {

class InvestmentTest : public ::testing::Test {
protected:
    void SetUp() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(InvestmentTest, BuySellAndDividendFollowTheFormulas)
{
    ItemSettings h;
    ASSERT_TRUE(bookBuy(h, {10, 20, 5}).booked());
    EXPECT_DOUBLE_EQ(h.quantity, 10);
    EXPECT_DOUBLE_EQ(h.averageBuyPrice, 20.5);
    ASSERT_TRUE(bookBuy(h, {10, 30, 0}).booked());
    EXPECT_DOUBLE_EQ(h.quantity, 20);
    EXPECT_DOUBLE_EQ(h.averageBuyPrice, 25.25);
    const Booking sale = bookSell(h, {5, 30, 2.5});
    EXPECT_EQ(sellResultText(sale.result), "Financial result of the selling transaction: 21.25");
    EXPECT_DOUBLE_EQ(h.quantity, 15);
    EXPECT_DOUBLE_EQ(h.averageBuyPrice, 25.25);
    ASSERT_TRUE(bookDividend(h, 15).booked());
    EXPECT_DOUBLE_EQ(h.quantity, 15);
    EXPECT_DOUBLE_EQ(h.averageBuyPrice, 24.25);
    // Selling more than is held is not prevented.
    EXPECT_EQ(sellResultText(bookSell(h, {20, 20, 0}).result), "Financial result of the selling transaction: -85.00");
    EXPECT_DOUBLE_EQ(h.quantity, -5);
}

TEST_F(InvestmentTest, BuyRangesIncludeTheirBounds)
{
    EXPECT_EQ(rangeMessage(kBuyQuotationRange), "Please enter a number between 0.0001 and 1000000.");
    EXPECT_EQ(rangeMessage(kSplitDivisorRange), "Please enter a number between 0.1 and 1000.");
    EXPECT_EQ(checkBuyOrder({0.01, 0.0001, 0}), "");
    EXPECT_EQ(checkBuyOrder({1000000, 1000000, 1000000}), "");
    EXPECT_EQ(checkBuyOrder({10, 20, -0.01}), "Please enter a number between 0 and 1000000.");

    ItemSettings h;
    h.quantity = 3;
    EXPECT_EQ(bookBuy(h, {0.009, 20, 0}).message, "Please enter a number between 0.01 and 1000000.");
    EXPECT_EQ(h.quantity, 3);
}

TEST_F(InvestmentTest, TransactionsThatWouldStoreNoFiniteNumberChangeNothing)
{
    ItemSettings h; // no units held: a dividend would divide by 0
    h.averageBuyPrice = 12;
    EXPECT_EQ(bookDividend(h, 5).message, "A dividend cannot be booked while no units are held.");
    EXPECT_EQ(h.averageBuyPrice, 12);

    h.quantity = -10; // oversold; this purchase would end at 0 units
    EXPECT_EQ(bookBuy(h, {10, 30, 0}).message, kNotFiniteMessage);
    h.quantity = 1e300;
    h.averageBuyPrice = 1e300;
    EXPECT_EQ(bookBuy(h, {1, 1, 0}).message, kNotFiniteMessage);
    EXPECT_EQ(bookSell(h, {1, -1e308, 1e308}).message, kNotFiniteMessage);
    EXPECT_EQ(h.quantity, 1e300);
    EXPECT_EQ(h.averageBuyPrice, 1e300);
}

TEST_F(InvestmentTest, AlarmRule)
{
    ItemSettings s;
    s.aboveAlarm = true;
    s.aboveLimit = 50;
    EXPECT_FALSE(inAlarm(s, 50));
    EXPECT_TRUE(inAlarm(s, 50.01));
    s.aboveAlarm = false;

    s.deviationAlarm = true;
    s.deviationPercent = -20; // the sign does not matter
    s.averageBuyPrice = 100;
    EXPECT_FALSE(inAlarm(s, 120));
    EXPECT_TRUE(inAlarm(s, 120.01));
    EXPECT_TRUE(inAlarm(s, 79.99));
    // Without a buy price there is nothing to deviate from.
    s.averageBuyPrice = 0;
    EXPECT_FALSE(inAlarm(s, 50));
    EXPECT_FALSE(inAlarm(s, 0));

    // The newest record counts, and 0 without records.
    SecurityItem item;
    item.settings().belowAlarm = true;
    item.settings().belowLimit = 0.5;
    EXPECT_TRUE(inAlarm(item));
    item.insertQuotation({2000, 0.5});
    item.insertQuotation({1000, 0.1});
    EXPECT_FALSE(inAlarm(item));
}

} // namespace
} // namespace tarvelo

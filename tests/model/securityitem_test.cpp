// History order, history edits and the values computed from an item's history.
#include "model/securityitem.h"
#include "platform/localtime.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

namespace tarvelo {
namespace {

class SecurityItemTest : public ::testing::Test {
protected:
    // Central European time, so that local-time rules cannot pass by accident on a
    // machine that runs in UTC.
    test::ScopedTimeZone m_zone{"CET-1CEST,M3.5.0,M10.5.0/3"};

    // A history exactly as given (oldest first), as the loader builds it.
    static SecurityItem Item(const std::vector<Quotation>& records)
    {
        SecurityItem item;
        for (const Quotation& record : records)
            item.appendLoadedQuotation(record);
        return item;
    }
    static std::vector<double> values(const SecurityItem& item)
    {
        std::vector<double> values;
        for (const Quotation& record : item.history())
            values.push_back(record.value);
        return values;
    }
};

// 2 March 2021 (no daylight-saving change nearby), local time.
std::int32_t at(int day, int hour, int minute = 0)
{
    return makeLocalTime(2021, 3, day, hour, minute);
}

TEST_F(SecurityItemTest, InsertReturnsIndexByTime)
{
    SecurityItem empty;
    EXPECT_EQ(empty.insertQuotation({100, 1}), 0u);

    const std::vector<Quotation> base = {{10, 1}, {30, 3}};
    SecurityItem middle = Item(base), last = Item(base), first = Item(base);
    EXPECT_EQ(middle.insertQuotation({20, 2}), 1u);
    EXPECT_EQ(last.insertQuotation({40, 4}), 2u);
    EXPECT_EQ(first.insertQuotation({5, 0}), 0u);
    EXPECT_EQ(values(middle), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(values(last), (std::vector<double>{1, 3, 4}));
    EXPECT_EQ(values(first), (std::vector<double>{0, 1, 3}));
}

TEST_F(SecurityItemTest, SameTimeGoesBeforeExistingRecords)
{
    SecurityItem item = Item({{10, 1}, {20, 2}, {20, 3}});
    EXPECT_EQ(item.insertQuotation({20, 4}), 1u);
    EXPECT_EQ(item.insertQuotation({10, 5}), 0u);
    EXPECT_EQ(values(item), (std::vector<double>{5, 1, 4, 2, 3}));

    // At the newest time the older insertion stays the newest record.
    SecurityItem newest = Item({{10, 1}, {30, 2}});
    EXPECT_EQ(newest.insertQuotation({30, 9}), 1u);
    double value = 0;
    newest.lastValue(value);
    EXPECT_EQ(value, 2);
}

TEST_F(SecurityItemTest, ModifyAndDeleteQuotation)
{
    SecurityItem empty;
    EXPECT_EQ(empty.modifyQuotation(0, 1, 1), -1);
    EXPECT_FALSE(empty.deleteQuotation(0));

    SecurityItem single = Item({{10, 1}});
    EXPECT_EQ(single.modifyQuotation(0, 7, 50), 0);
    EXPECT_EQ(single.history(), (std::vector<Quotation>{{50, 7}}));

    SecurityItem two = Item({{10, 1}, {20, 2}});
    EXPECT_EQ(two.modifyQuotation(0, 3, 30), 2); // becomes the newest: index 1, plus 1
    EXPECT_EQ(two.history(), (std::vector<Quotation>{{20, 2}, {30, 3}}));
    EXPECT_EQ(two.modifyQuotation(1, 4, 5), 1); // becomes the oldest
    EXPECT_EQ(two.modifyQuotation(1, 5, 5), 1); // same time as the other: goes before it
    EXPECT_EQ(two.history(), (std::vector<Quotation>{{5, 5}, {5, 4}}));

    SecurityItem three = Item({{10, 1}, {20, 2}, {30, 3}});
    EXPECT_TRUE(three.deleteQuotation(1));
    EXPECT_EQ(values(three), (std::vector<double>{1, 3}));
    three.deleteAllQuotations();
    EXPECT_TRUE(three.history().empty());
}

TEST_F(SecurityItemTest, EmptyHistoryFallbacks)
{
    const SecurityItem item;
    std::int32_t first = 0, last = 0, reference = 0;
    double low = -1, high = -1, percent = -1;
    EXPECT_FALSE(item.lastTime(last));
    EXPECT_FALSE(item.firstTime(first));
    EXPECT_FALSE(item.referenceTime(reference, false));
    EXPECT_FALSE(item.lowHigh(low, high));
    EXPECT_FALSE(item.lastChangePercent(percent, true));
    EXPECT_EQ(last, 159663600); // 23 Jan 1975 00:00 CET
    EXPECT_EQ(first, 159663600);
    EXPECT_EQ(reference, 315529200); // 1 Jan 1980 00:00 CET
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, 0);
    EXPECT_EQ(percent, 0);
}

TEST_F(SecurityItemTest, SingleRecordHasNoChangeAndNoReference)
{
    const SecurityItem item = Item({{at(2, 12), 10}});
    double change = -1, percent = -1;
    std::int32_t time = 0;
    for (bool sinceLastDay : {false, true}) {
        EXPECT_TRUE(item.lastChange(change, sinceLastDay));
        EXPECT_TRUE(item.lastChangePercent(percent, sinceLastDay));
        EXPECT_EQ(change, 0);
        EXPECT_EQ(percent, 0);
        EXPECT_FALSE(item.referenceTime(time, sinceLastDay));
        EXPECT_EQ(time, 315529200);
    }
}

TEST_F(SecurityItemTest, IntradayChangesCompareWithTheRightRecord)
{
    SecurityItem item = Item({{at(1, 17), 10}, {at(2, 15, 15), 11}, {at(2, 15, 30), 12}});
    double change = 0, percent = 0;
    std::int32_t time = 0;
    ASSERT_TRUE(item.lastChange(change, false));
    ASSERT_TRUE(item.lastChangePercent(percent, false));
    EXPECT_DOUBLE_EQ(change, 1);
    EXPECT_DOUBLE_EQ(percent, 1200.0 / 11 - 100);
    ASSERT_TRUE(item.lastChange(change, true));
    ASSERT_TRUE(item.lastChangePercent(percent, true));
    EXPECT_DOUBLE_EQ(change, 2);
    EXPECT_DOUBLE_EQ(percent, 20);

    EXPECT_TRUE(item.referenceTime(time, false));
    EXPECT_EQ(time, at(2, 15, 15));
    // The day before is the oldest record: no reference time.
    EXPECT_FALSE(item.referenceTime(time, true));
    EXPECT_EQ(time, 315529200);
    item.insertQuotation({at(1, 9), 9});
    EXPECT_TRUE(item.referenceTime(time, true));
    EXPECT_EQ(time, at(1, 17));
}

TEST_F(SecurityItemTest, ChangeSinceLastDayNeedsTenHours)
{
    // 09:59 hours between oldest and newest: no reference.
    const SecurityItem within = Item({{at(2, 8, 1), 8}, {at(2, 12), 9}, {at(2, 18), 12}});
    double change = -1, percent = -1;
    EXPECT_TRUE(within.lastChange(change, true));
    EXPECT_TRUE(within.lastChangePercent(percent, true));
    EXPECT_EQ(change, 0);
    EXPECT_EQ(percent, 0);

    const SecurityItem exactly = Item({{at(2, 8), 8}, {at(2, 12), 9}, {at(2, 18), 12}});
    EXPECT_TRUE(exactly.lastChange(change, true));
    EXPECT_DOUBLE_EQ(change, 4);
}

TEST_F(SecurityItemTest, ReferenceDayIsTheLocalDay)
{
    // 23:30 and 00:30 local time lie on different local days but on the same UTC day.
    const SecurityItem item = Item({{at(1, 12), 7}, {at(1, 23, 30), 8}, {at(2, 0, 30), 9}});
    std::int32_t time = 0;
    EXPECT_TRUE(item.referenceTime(time, true));
    EXPECT_EQ(time, at(1, 23, 30));
}

TEST_F(SecurityItemTest, ChangesWithZeroOrEqualReference)
{
    double value = -1;
    const SecurityItem zeroFirst = Item({{10, 0}, {20, 5}});
    EXPECT_TRUE(zeroFirst.totalChangePercent(value));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(zeroFirst.totalChange(value));
    EXPECT_EQ(value, 5);
    EXPECT_TRUE(zeroFirst.lastChange(value, false));
    EXPECT_EQ(value, 0);
    EXPECT_TRUE(zeroFirst.lastChangePercent(value, false));
    EXPECT_EQ(value, 0);

    const SecurityItem growth = Item({{10, 4}, {20, 3}, {30, 5}});
    EXPECT_TRUE(growth.totalChangePercent(value));
    EXPECT_DOUBLE_EQ(value, 25);
    double low = 0, high = 0;
    EXPECT_TRUE(Item({{1, 5}, {2, 1}, {3, 9}, {4, 3}}).lowHigh(low, high));
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 9);
}

TEST_F(SecurityItemTest, SplitDividesTheIndexAndOlderRecords)
{
    SecurityItem item = Item({{10, 8}, {20, 16}, {30, 32}});
    ItemSettings& s = item.settings();
    s.quantity = 10;
    s.averageBuyPrice = 20;
    s.aboveLimit = 40;
    s.belowLimit = 8;
    s.deviationPercent = 15;
    s.aboveAlarm = true;
    const SecurityItem before = item;

    for (double divisor : {0.0, -2.0}) {
        EXPECT_FALSE(item.splitQuotations(2, divisor));
        EXPECT_EQ(item.settings(), before.settings());
        EXPECT_EQ(item.history(), before.history());
    }

    EXPECT_TRUE(item.splitQuotations(2, 2));
    EXPECT_EQ(values(item), (std::vector<double>{4, 8, 16}));
    EXPECT_EQ(s.quantity, 20);
    EXPECT_EQ(s.averageBuyPrice, 10);
    EXPECT_EQ(s.aboveLimit, 20);
    EXPECT_EQ(s.belowLimit, 4);
    EXPECT_EQ(s.deviationPercent, 15);
    EXPECT_EQ(s.aboveAlarm.stored(), 1);

    EXPECT_TRUE(item.splitQuotations(1, 4));
    EXPECT_EQ(values(item), (std::vector<double>{1, 2, 16}));
}

TEST_F(SecurityItemTest, InvertTakesReciprocals)
{
    SecurityItem item = Item({{10, 4}, {20, 0.5}, {30, 0}});
    item.invertQuotations();
    EXPECT_EQ(item.history()[0], (Quotation{10, 0.25}));
    EXPECT_EQ(item.history()[1], (Quotation{20, 2}));
    EXPECT_TRUE(std::isinf(item.history()[2].value));
}

// The batch insert must leave exactly the order of inserting one record after another.
TEST_F(SecurityItemTest, BatchInsertMatchesOneByOne)
{
    std::mt19937 random(20240611);
    double serial = 0;
    auto makeBatch = [&](std::size_t n, std::int32_t lo, std::int32_t hi) {
        std::uniform_int_distribution<std::int32_t> time(lo, hi);
        std::vector<Quotation> batch;
        for (std::size_t i = 0; i < n; ++i)
            batch.push_back({time(random), ++serial});
        return batch;
    };
    auto check = [&](const std::vector<Quotation>& existing, const std::vector<Quotation>& batch) {
        SecurityItem reference;
        for (const Quotation& record : existing)
            reference.insertQuotation(record);
        SecurityItem batched = reference;
        for (const Quotation& record : batch)
            reference.insertQuotation(record);
        batched.insertQuotations(batch);
        ASSERT_EQ(batched.history(), reference.history()) << "batch of " << batch.size();
    };

    for (int round = 0; round < 200; ++round) {
        const std::size_t existing = random() % 12, added = random() % 20;
        const std::int32_t span = 1 + static_cast<std::int32_t>(random() % 15); // small: many equal times
        check(makeBatch(existing, 0, span), makeBatch(added, -2, span + 2));
    }

    std::vector<Quotation> ascending = makeBatch(30, 0, 10);
    std::stable_sort(ascending.begin(), ascending.end(),
                     [](const Quotation& a, const Quotation& b) { return a.time < b.time; });
    std::vector<Quotation> descending(ascending.rbegin(), ascending.rend());
    const std::vector<Quotation> existing = makeBatch(8, 0, 10);
    for (const auto& batch : {ascending, descending}) {
        check({}, batch);
        check(existing, batch);
    }
    check(existing, {{10, ++serial}, {10, ++serial}, {10, ++serial}});   // at the newest time
    check({{5, ++serial}}, {{6, ++serial}, {6, ++serial}, {5, ++serial}}); // after and equal to the end
    check(existing, {});
}

} // namespace
} // namespace tarvelo

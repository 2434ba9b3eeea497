#include "platform/localtime.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <vector>

namespace tarvelo {
namespace {

class LocalTimeTest : public ::testing::Test {
protected:
    test::ScopedTimeZone m_zone{"Europe/Berlin"};
};

TEST_F(LocalTimeTest, ComposesLocalTimeWithDaylightSaving)
{
    EXPECT_EQ(makeLocalTime(1980, 1, 1), 315529200);        // 1979-12-31 23:00 UTC
    EXPECT_EQ(makeLocalTime(2024, 7, 1, 12, 0, 0), 1719828000); // summer: UTC+2
    EXPECT_EQ(makeLocalTime(2024, 1, 32), makeLocalTime(2024, 2, 1)); // normalised
}

TEST_F(LocalTimeTest, BreaksAndFormatsInLocalTime)
{
    const TimeStamp t = makeLocalTime(2026, 3, 29, 1, 30);
    const std::tm fields = breakLocalTime(t);
    EXPECT_EQ(fields.tm_mday, 29);
    EXPECT_EQ(fields.tm_hour, 1);
    EXPECT_EQ(formatLocalTime(t, "%Y-%m-%d %H:%M"), "2026-03-29 01:30");
    EXPECT_EQ(formatLocalTime(t, ""), "");
    // Results longer than the first buffer still come out whole.
    const std::string longFormat(600, 'x');
    EXPECT_EQ(formatLocalTime(t, longFormat + "%Y"), longFormat + "2026");
}

// The converter gives what makeLocalTime gives, in the same order of calls: in zones that
// change at night, at midnight, by half an hour, that skipped a whole day, and at the
// ends of the time stamp's range; fields out of range are counted on as mktime counts
// them; an ambiguous hour is decided by the conversion before it, as mktime decides it.
TEST(LocalTimeConverterTest, GivesWhatMakeLocalTimeGives)
{
    std::vector<std::array<int, 5>> fields;
    for (const int year : {1901, 1916, 1970, 2011, 2038}) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= 31; ++day) {
                for (const auto& [hour, minute] : {std::pair{0, 0}, {0, 30}, {1, 30}, {2, 0}, {2, 30}, {3, 0}, {12, 0},
                                                   {23, 59}})
                    fields.push_back({year, month, day, hour, minute});
            }
        }
        fields.push_back({year, 0, 0, 0, 0});
        fields.push_back({year, 13, 32, 25, 61});
        fields.push_back({year, 2, 30, -1, -30});
        fields.push_back({year, 7, 1, 100000, 0});
    }
    fields.push_back({99999, 1, 1, 0, 0});
    fields.push_back({2003, 1, 1, 2147483647, 0});
    std::shuffle(fields.begin(), fields.end(), std::mt19937(7));

    for (const char* zone : {"Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe", "Pacific/Apia", "UTC"}) {
        test::ScopedTimeZone scoped(zone);
        makeLocalTime(2000, 6, 15, 12); // the same start for both
        std::vector<TimeStamp> expected;
        for (const auto& f : fields)
            expected.push_back(makeLocalTime(f[0], f[1], f[2], f[3], f[4]));
        makeLocalTime(2000, 6, 15, 12);
        LocalTimeConverter converter;
        int differences = 0;
        for (std::size_t i = 0; i < fields.size() && differences < 5; ++i) {
            const auto& f = fields[i];
            const TimeStamp got = converter.makeLocalTime(f[0], f[1], f[2], f[3], f[4]);
            if (got != expected[i]) {
                ++differences;
                ADD_FAILURE() << zone << ": " << f[0] << "-" << f[1] << "-" << f[2] << " " << f[3] << ":" << f[4]
                              << " gives " << got << ", mktime " << expected[i];
            }
        }
    }
}

} // namespace
} // namespace tarvelo

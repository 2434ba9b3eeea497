#include "platform/localtime.h"

#include "tests/support/scopedtimezone.h"

#include <gtest/gtest.h>

#include <cstdlib>

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

} // namespace
} // namespace tarvelo

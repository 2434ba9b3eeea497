#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// Time stamps are signed 32-bit seconds since 1970-01-01 00:00 UTC; the user sees and
// compares them in local time.
namespace tarvelo {

using TimeStamp = std::int32_t;

// Sets the C runtime's locale for all categories to the user's default, so that
// strftime and printf-style formatting follow the user's settings.
void useUserLocale();

// The current time. Only the outermost callers read the clock.
TimeStamp currentTime();

// Local calendar time -> time stamp (daylight saving decided by the time zone rules).
// Fields out of range are normalised as mktime does; -1 when not representable.
TimeStamp makeLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

// makeLocalTime for many conversions in a row (an import of a million lines). The C
// library re-reads the zone file on every mktime when TZ is unset; this asks it once per
// calendar day for where the day starts and reads the rest from there. Days on which,
// or a day either side of which, the offset from UTC changes are left to mktime for
// every conversion, as is anything beyond the range of a time stamp, so the results are
// makeLocalTime's, ambiguous and skipped hours included (mktime resolves an ambiguous
// hour by the conversion before it; so does this). The zone is the one in force when
// the object is made: make one per batch of conversions, on one thread.
class LocalTimeConverter {
public:
    LocalTimeConverter();

    TimeStamp makeLocalTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

private:
    struct Fields {
        int year, month, day, hour, minute, second;
    };
    TimeStamp fromLibrary(const Fields& fields);
    std::int64_t dayStart(std::int64_t day);

    std::vector<std::int64_t> m_dayStarts; // by day from kFirstDay; unknown or irregular markers
    Fields m_previous{};
    bool m_hasPrevious = false;
    bool m_libraryFollows = false; // mktime's last conversion was m_previous
};

// Time stamp -> local calendar fields (struct tm conventions: tm_year since 1900, tm_mon 0-11).
std::tm breakLocalTime(TimeStamp time);

// strftime under the current locale; the result is in the locale's encoding.
std::string formatLocalTime(TimeStamp time, std::string_view format);

} // namespace tarvelo

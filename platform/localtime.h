#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

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

// Time stamp -> local calendar fields (struct tm conventions: tm_year since 1900, tm_mon 0-11).
std::tm breakLocalTime(TimeStamp time);

// strftime under the current locale; the result is in the locale's encoding.
std::string formatLocalTime(TimeStamp time, std::string_view format);

} // namespace tarvelo

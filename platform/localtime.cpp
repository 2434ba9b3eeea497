#include "platform/localtime.h"

#include <clocale>
#include <limits>

namespace tarvelo {

namespace {

constexpr std::int64_t kDay = 86400;

constexpr std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - (a % b != 0 && (a < 0) != (b < 0) ? 1 : 0);
}

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
constexpr std::int64_t daysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day)
{
    year -= month <= 2 ? 1 : 0;
    const std::int64_t era = floorDiv(year, 400);
    const std::int64_t yearOfEra = year - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The days the converter keeps: every day that holds a moment a time stamp can hold.
constexpr std::int64_t kFirstDay = floorDiv(std::numeric_limits<TimeStamp>::min(), kDay) - 1;
constexpr std::int64_t kLastDay = floorDiv(std::numeric_limits<TimeStamp>::max(), kDay) + 1;
constexpr std::int64_t kUnknown = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kIrregular = kUnknown + 1;

// The local calendar time of t, counted in seconds as if it were UTC.
bool localSeconds(std::int64_t t, std::int64_t& local)
{
    const std::time_t time = static_cast<std::time_t>(t);
    std::tm f{};
    if (!localtime_r(&time, &f))
        return false;
    local = daysFromCivil(f.tm_year + 1900LL, f.tm_mon + 1LL, f.tm_mday) * kDay + f.tm_hour * 3600LL
            + f.tm_min * 60LL + f.tm_sec;
    return true;
}

TimeStamp limited(std::int64_t t)
{
    if (t == -1 || t < std::numeric_limits<TimeStamp>::min() || t > std::numeric_limits<TimeStamp>::max())
        return -1;
    return static_cast<TimeStamp>(t);
}

} // namespace

void useUserLocale()
{
    std::setlocale(LC_ALL, "");
}

TimeStamp currentTime()
{
    return static_cast<TimeStamp>(std::time(nullptr));
}

TimeStamp makeLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    std::tm fields{};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
    const std::time_t t = std::mktime(&fields);
    if (t == static_cast<std::time_t>(-1) || t < std::numeric_limits<TimeStamp>::min()
        || t > std::numeric_limits<TimeStamp>::max())
        return -1;
    return static_cast<TimeStamp>(t);
}

LocalTimeConverter::LocalTimeConverter()
{
    ::tzset();
}

TimeStamp LocalTimeConverter::makeLocalTime(int year, int month, int day, int hour, int minute, int second)
{
    const Fields fields{year, month, day, hour, minute, second};
    // As mktime counts: months beyond the year carry into years, then days, hours,
    // minutes and seconds count on from the first of the month.
    const std::int64_t months = month - 1LL;
    const std::int64_t local = (daysFromCivil(year + floorDiv(months, 12), months - floorDiv(months, 12) * 12 + 1, 1)
                                + (day - 1LL))
                                   * kDay
                               + hour * 3600LL + minute * 60LL + second;
    const std::int64_t localDay = floorDiv(local, kDay);
    const std::int64_t start = localDay >= kFirstDay && localDay <= kLastDay ? dayStart(localDay) : kIrregular;
    if (start == kIrregular)
        return fromLibrary(fields);
    m_previous = fields;
    m_hasPrevious = true;
    m_libraryFollows = false;
    return limited(start + (local - localDay * kDay));
}

TimeStamp LocalTimeConverter::fromLibrary(const Fields& f)
{
    // mktime starts from the offset of its last result, which decides an ambiguous
    // hour: it is given the conversion before this one first, as it had it when every
    // conversion went to it.
    if (m_hasPrevious && !m_libraryFollows) {
        const Fields& p = m_previous;
        tarvelo::makeLocalTime(p.year, p.month, p.day, p.hour, p.minute, p.second);
    }
    m_previous = f;
    m_hasPrevious = true;
    m_libraryFollows = true;
    return tarvelo::makeLocalTime(f.year, f.month, f.day, f.hour, f.minute, f.second);
}

// Where the local day starts, or kIrregular. A day is regular when its start and every
// moment from a day before it to a day after it keep one offset: then each of its local
// times names exactly one moment, the one mktime finds whatever it starts from. Only
// localtime_r is asked, which does not read the zone file again.
std::int64_t LocalTimeConverter::dayStart(std::int64_t day)
{
    if (m_dayStarts.empty())
        m_dayStarts.assign(static_cast<std::size_t>(kLastDay - kFirstDay + 1), kUnknown);
    std::int64_t& slot = m_dayStarts[static_cast<std::size_t>(day - kFirstDay)];
    if (slot != kUnknown)
        return slot;
    slot = kIrregular;
    const std::int64_t local0 = day * kDay;
    std::int64_t local = 0;
    if (!localSeconds(local0, local))
        return slot;
    std::int64_t offset = local - local0;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::int64_t start = local0 - offset;
        if (!localSeconds(start, local))
            return slot;
        if (local - start != offset) {
            offset = local - start;
            continue;
        }
        for (const std::int64_t probe : {start - kDay, start + kDay / 2, start + kDay - 1, start + kDay, start + 2 * kDay}) {
            if (!localSeconds(probe, local) || local - probe != offset)
                return slot;
        }
        slot = start;
        return slot;
    }
    return slot;
}

std::tm breakLocalTime(TimeStamp time)
{
    const std::time_t t = time;
    std::tm fields{};
    localtime_r(&t, &fields);
    return fields;
}

std::string formatLocalTime(TimeStamp time, std::string_view format)
{
    const std::tm fields = breakLocalTime(time);
    const std::string fmt(format);
    std::string out(256, '\0');
    for (int attempt = 0; attempt < 4; ++attempt) {
        const std::size_t n = std::strftime(out.data(), out.size(), fmt.c_str(), &fields);
        if (n > 0 || fmt.empty()) {
            out.resize(n);
            return out;
        }
        out.resize(out.size() * 4);
    }
    return {};
}

} // namespace tarvelo

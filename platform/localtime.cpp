#include "platform/localtime.h"

#include <clocale>
#include <limits>

namespace tarvelo {

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

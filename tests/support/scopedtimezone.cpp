#include "tests/support/scopedtimezone.h"

#include <cstdlib>
#include <ctime>

namespace tarvelo::test {

ScopedTimeZone::ScopedTimeZone(const char* zone)
{
    if (const char* previous = std::getenv("TZ"))
        m_previous = previous;
    ::setenv("TZ", zone, 1);
    ::tzset();
}

ScopedTimeZone::~ScopedTimeZone()
{
    if (m_previous)
        ::setenv("TZ", m_previous->c_str(), 1);
    else
        ::unsetenv("TZ");
    ::tzset();
}

} // namespace tarvelo::test

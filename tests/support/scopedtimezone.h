#pragma once

#include <optional>
#include <string>

namespace tarvelo::test {

// Sets the process's time zone (TZ) while it lives and restores the one before,
// or none, when it ends.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

} // namespace tarvelo::test

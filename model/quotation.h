#pragma once

#include <cstdint>

namespace tarvelo {

// One quotation: a moment (seconds since 1970 UTC) and the value.
struct Quotation {
    std::int32_t time = 0;
    double value = 0.0;

    bool operator==(const Quotation&) const = default;
};

} // namespace tarvelo

#pragma once

#include <cstdint>

namespace tarvelo {

// One quotation: a moment (seconds since 1970 UTC) and the value.
struct Quotation {
    std::int32_t time = 0;
    double value = 0.0;

    bool operator==(const Quotation&) const = default;
};

// The values a quotation typed by hand may have; a downloaded value outside them is
// held back.
inline constexpr double kLowestQuotation = 0.001;
inline constexpr double kHighestQuotation = 999999999;

// The scale check of a downloaded value: more than 80 and less than 150 times the
// item's latest value (when that is above 0) is a price the page shows in cents, and
// is stored multiplied by 0.01. A value so corrected lies near the latest one and is
// never corrected twice.
inline bool shownInCents(double value, double latest)
{
    if (!(latest > 0.0))
        return false;
    const double ratio = value / latest;
    return ratio > 80.0 && ratio < 150.0;
}

} // namespace tarvelo

#pragma once

#include "model/portfoliodocument.h"
#include "model/sourcehealth.h"
#include "platform/result.h"

#include <cstdint>
#include <optional>
#include <string>

// Whether a downloaded value looks right before it is stored, and the acceptance of a
// value that did not.
namespace tarvelo {

// Why a found value is held back instead of stored.
enum class Implausibility {
    None,
    OutOfRange,  // not a finite number from kLowestQuotation to kHighestQuotation
    ScaleJump,   // about 10, 100 or 1000 times the latest value, or that part of it
    LargeChange, // moves more than the configuration's MaxChange from the latest value
};

struct ValueCheck {
    double value = 0.0;  // what would be stored: the found value, after the scale check
    bool scaled = false; // the scale check multiplied it by 0.01
    Implausibility problem = Implausibility::None;

    bool plausible() const { return problem == Implausibility::None; }
};

// Checks a value an update found for an item whose latest value is `latest` (none: the
// item has no history, and only the range is checked). First the scale check of every
// download (a price shown in cents is taken ×0.01); then the value is held back when it
// lies outside the range of a typed quotation, when it is 10, 100 or 1000 times the
// latest value or a 10th, 100th or 1000th of it (within 2%; not a value the scale
// check has just corrected), or when it moves more than maxChange percent from the
// latest value (maxChange 0: no limit). A latest value of 0 or less compares with
// nothing.
ValueCheck checkDownloadedValue(double found, std::optional<double> latest, std::int32_t maxChange);

// "Error: Implausible value V (last L)", the values as quotations are shown; without a
// latest value the part in brackets is left out.
std::string implausibleValueText(double value, std::optional<double> latest);

// Stores the value that an update held back for the item, as found, and records the
// item's source as working again (its held-back value goes, its failures end): the user
// has vouched for the value. The document is changed by this alone, so that a caller
// can make it one step to undo. A value the history already holds (same time and
// value) is not added twice. Fails, changing nothing, when the item is gone, is being
// updated or has no held-back value. The health is changed in memory; the caller saves
// it.
Result<Quotation> acceptHeldBackValue(PortfolioDocument& doc, SourceHealth& health, ItemKey item);

} // namespace tarvelo

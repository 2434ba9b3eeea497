#include "download/plausibility.h"

#include "download/updaterun.h"
#include "platform/translation.h"

#include <cmath>
#include <cstdio>

namespace tarvelo {

namespace {

// How far a ratio may be from a power of ten to count as that power: 2%.
constexpr double kScaleTolerance = 0.02;

bool nearScale(double ratio)
{
    for (const double scale : {10.0, 100.0, 1000.0}) {
        if (std::abs(ratio - scale) <= kScaleTolerance * scale
            || std::abs(ratio - 1.0 / scale) <= kScaleTolerance / scale)
            return true;
    }
    return false;
}

std::string quotationText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%3.4f", value);
    return text;
}

} // namespace

ValueCheck checkDownloadedValue(double found, std::optional<double> latest, std::int32_t maxChange)
{
    ValueCheck check;
    check.value = found;
    // An item without a history, or whose latest value is not above 0, has nothing to
    // compare with.
    const bool compared = latest && *latest > 0.0 && std::isfinite(*latest);
    if (compared && shownInCents(found, *latest)) {
        check.value = found * 0.01;
        check.scaled = true;
    }
    const double value = check.value;
    if (!std::isfinite(value) || value < kLowestQuotation || value > kHighestQuotation) {
        check.problem = Implausibility::OutOfRange;
        return check;
    }
    if (!compared)
        return check;
    if (!check.scaled && nearScale(value / *latest)) {
        check.problem = Implausibility::ScaleJump;
        return check;
    }
    if (maxChange > 0 && std::abs(value - *latest) / *latest * 100.0 > maxChange)
        check.problem = Implausibility::LargeChange;
    return check;
}

std::string implausibleValueText(double value, std::optional<double> latest)
{
    if (latest)
        return fill(translate("Download", "Error: Implausible value %1 (last %2)"),
                    {quotationText(value), quotationText(*latest)});
    return fill(translate("Download", "Error: Implausible value %1"), {quotationText(value)});
}

Result<Quotation> acceptHeldBackValue(PortfolioDocument& doc, SourceHealth& health, ItemKey item)
{
    const SecurityItem* security = doc.item(item);
    if (!security)
        return Failure{translate("Download", "The item is no longer in the portfolio.")};
    const std::string& name = security->settings().name;
    if (security->isBeingUpdated())
        return Failure{fill(translate("Download", "'%1' is being updated; its value can be accepted when the update is "
                                                  "over."),
                            {name})};
    const HealthKey key = healthKeyOf(*security);
    const ItemHealth* entry = health.find(key);
    if (!entry || !entry->heldBack)
        return Failure{fill(translate("Download", "'%1' has no value held back by an update."), {name})};
    const Quotation accepted = entry->heldBack->quotation;
    doc.insertQuotations(item, {&accepted, 1});
    health.recordSuccess(key, accepted.time);
    return accepted;
}

} // namespace tarvelo

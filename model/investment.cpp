#include "model/investment.h"
#include "platform/translation.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace tarvelo {

namespace {

std::string boundText(double value)
{
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

bool allFinite(std::initializer_list<double> values)
{
    for (const double value : values) {
        if (!std::isfinite(value))
            return false;
    }
    return true;
}

} // namespace

std::string rangeMessage(const NumberRange& range)
{
    return fill(translate("Portfolio", "Please enter a number between %1 and %2."),
                {boundText(range.low), boundText(range.high)});
}

std::string checkBuyOrder(const BuyOrder& order)
{
    for (const auto& [value, range] : {std::pair{order.quantity, kBuyQuantityRange},
                                       std::pair{order.quotation, kBuyQuotationRange},
                                       std::pair{order.commission, kBuyCommissionRange}}) {
        if (!range.contains(value))
            return rangeMessage(range);
    }
    return {};
}

std::optional<std::uint32_t> parseSellQuantity(std::string_view text)
{
    std::uint32_t value = 0;
    if (text.empty() || text.front() < '0' || text.front() > '9')
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

Booking bookBuy(ItemSettings& holding, const BuyOrder& order)
{
    if (std::string refused = checkBuyOrder(order); !refused.empty())
        return {std::move(refused)};
    const double quantity = holding.quantity + order.quantity;
    // A purchase that only covers an oversold holding ends at 0 units: no average to take.
    if (quantity == 0)
        return {translate("Portfolio", kNotFiniteMessage)};
    const double average =
        (holding.quantity * holding.averageBuyPrice + order.quotation * order.quantity + order.commission) / quantity;
    if (!allFinite({quantity, average}))
        return {translate("Portfolio", kNotFiniteMessage)};
    holding.quantity = quantity;
    holding.averageBuyPrice = average;
    return {};
}

Booking bookSell(ItemSettings& holding, const SellOrder& order)
{
    const double sold = order.quantity;
    const double result = (order.quotation - holding.averageBuyPrice) * sold - order.commission;
    const double quantity = holding.quantity - sold;
    if (!allFinite({result, quantity}))
        return {translate("Portfolio", kNotFiniteMessage)};
    holding.quantity = quantity;
    return {{}, result};
}

Booking bookDividend(ItemSettings& holding, double value)
{
    if (holding.quantity == 0)
        return {translate("Portfolio", kNoUnitsForDividendMessage)};
    const double average = (holding.quantity * holding.averageBuyPrice - value) / holding.quantity;
    if (!allFinite({average}))
        return {translate("Portfolio", kNotFiniteMessage)};
    holding.averageBuyPrice = average;
    return {};
}

std::string sellResultText(double result)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.2f", result);
    return fill(translate("Portfolio", "Financial result of the selling transaction: %1"), {buffer});
}

bool inAlarm(const ItemSettings& s, double v)
{
    if (s.aboveAlarm && v > s.aboveLimit)
        return true;
    if (s.belowAlarm && v < s.belowLimit)
        return true;
    return s.deviationAlarm && s.averageBuyPrice != 0 &&
           std::fabs(s.deviationPercent * 0.01) < std::fabs(v / s.averageBuyPrice - 1);
}

bool inAlarm(const SecurityItem& item)
{
    double newest = 0;
    item.lastValue(newest);
    return inAlarm(item.settings(), newest);
}

void adjustForSplit(ItemSettings& settings, double divisor)
{
    settings.quantity *= divisor;
    settings.averageBuyPrice /= divisor;
    settings.aboveLimit /= divisor;
    settings.belowLimit /= divisor;
}

} // namespace tarvelo

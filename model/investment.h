#pragma once

#include "model/itemsettings.h"
#include "model/securityitem.h"
#include "platform/translation.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The holding of an item (quantity and average buy price) changed by purchases, sales
// and dividends, the checks of the transaction dialogs, the alarm rule and the effect of
// a stock split on the holding.
namespace tarvelo {

// A closed range of a dialog's number field.
struct NumberRange {
    double low;
    double high;

    bool contains(double value) const { return value >= low && value <= high; }
};

inline constexpr NumberRange kBuyQuantityRange{0.01, 1000000};
inline constexpr NumberRange kBuyQuotationRange{0.0001, 1000000};
inline constexpr NumberRange kBuyCommissionRange{0, 1000000};
inline constexpr NumberRange kSplitDivisorRange{0.1, 1000};

// Source texts, translated in context "Portfolio" where they are shown.
inline constexpr const char* kPositiveIntegerMessage =
    TARVELO_TRANSLATE_NOOP("Portfolio", "Please enter a positive integer.");
inline constexpr const char* kNoUnitsForDividendMessage =
    TARVELO_TRANSLATE_NOOP("Portfolio", "A dividend cannot be booked while no units are held.");
inline constexpr const char* kNotFiniteMessage = TARVELO_TRANSLATE_NOOP(
    "Portfolio", "The transaction would leave a quantity, average buy price or result that is not a finite number.");

// "Please enter a number between %1 and %2." with the bounds written with up to 15
// significant digits and no trailing zeros ("0.01", "1000000"), in the current C locale.
std::string rangeMessage(const NumberRange& range);

struct BuyOrder {
    double quantity = 0;
    double quotation = 0;
    double commission = 0;
};

struct SellOrder {
    std::uint32_t quantity = 0;
    double quotation = 0;
    double commission = 0;
};

// What a transaction left: an empty message when it was booked, else the message that
// refused it, and then the holding is unchanged.
struct Booking {
    std::string message;
    double result = 0; // the financial result of a sale

    bool booked() const { return message.empty(); }
};

// The range message of the first Buy field out of its range, or empty.
std::string checkBuyOrder(const BuyOrder& order);
// The Sell quantity as typed: a whole number from 0 to 4294967295 in decimal digits.
std::optional<std::uint32_t> parseSellQuantity(std::string_view text);

// Q' = Q + q, A' = (Q*A + p*q + f) / Q'.
Booking bookBuy(ItemSettings& holding, const BuyOrder& order);
// r = (p - A) * n - f, Q' = Q - n; A stays. Selling more than is held is allowed.
Booking bookSell(ItemSettings& holding, const SellOrder& order);
// A' = (Q*A - d) / Q; Q stays. Refused while Q is 0.
Booking bookDividend(ItemSettings& holding, double value);

// "Financial result of the selling transaction: %.2f" in the current C locale.
std::string sellResultText(double result);

// Whether the alarms of the settings hold for the newest value v (strict comparisons):
// above and v > limit, below and v < limit, deviation and |v / A - 1| > |percent / 100|.
// The deviation alarm does not apply while the average buy price A is 0: there is no
// buy price to deviate from.
bool inAlarm(const ItemSettings& settings, double newestValue);
// The same with the item's newest quotation, 0 when it has none.
bool inAlarm(const SecurityItem& item);

// A stock split's effect on the settings: the quantity is multiplied, the average buy
// price and the above and below limits are divided by the divisor (> 0).
void adjustForSplit(ItemSettings& settings, double divisor);

} // namespace tarvelo

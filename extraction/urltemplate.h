#pragma once

#include "platform/localtime.h"

#include <string>
#include <string_view>

// Variables in configuration texts: [&name] and [&symbol] for the item, [&d], [&dw],
// [&m], [&mstr], [&y], [&h], [&min] for the current local date and time, and the
// [&..._begin] / [&..._end] variables of an import range. Expanded texts hold at most
// 259 characters; a longer expansion is cut there.
namespace tarvelo {

inline constexpr std::size_t kMaxExpandedText = 259;

struct CalendarDate {
    int year = 1970;
    int month = 1; // 1 to 12
    int day = 1;
};

// Replaces the first [&name], then the first [&symbol].
std::string expandItemVariables(std::string_view text, std::string_view name, std::string_view symbol,
                                bool* replaced = nullptr);

// Replaces every date and time variable with the local time "now", moved back by
// offset days, hours or minutes (whichever unit the template's first shifting variable
// names in the pass order [&d], [&dw], [&h], [&min]).
std::string expandDateVariables(std::string_view text, int offset, TimeStamp now, bool* replaced = nullptr);

// Replaces every import range variable.
std::string expandImportRange(std::string_view text, const CalendarDate& begin, const CalendarDate& end);

} // namespace tarvelo

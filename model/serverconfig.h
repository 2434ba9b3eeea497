#pragma once

#include <cstdint>
#include <string>

namespace tarvelo {

// A server configuration: where a quotation page is and how the quotation is found in
// it. Shared configurations live in the profile store under their name; each item
// embeds one more, which is the item's own when its Name is empty. Texts are
// Windows-1252.
struct ServerConfig {
    std::string name;
    std::string url;
    std::int32_t timeout = 60;
    std::string thousandsSeparator;
    std::string decimalSeparator = ",";
    std::int32_t conversion = 0;
    std::string textBeforeValue;
    std::int32_t tagsToSkip = 0;
    std::int32_t numbersToSkip = 0;
    std::int32_t caseInsensitive = 1;
    std::int32_t searchKind = 0;
    std::string regExp;
    std::int32_t quotationIndex = 1;
    std::int32_t extractDate = 0;
    std::int32_t dayIndex = 2;
    std::int32_t monthIndex = 3;
    std::int32_t yearIndex = 4;
    std::int32_t extractTime = 0;
    std::int32_t hourIndex = 5;
    std::int32_t minuteIndex = 6;

    bool operator==(const ServerConfig&) const = default;
};

// The embedded configuration of a newly inserted item ("-- User defined --").
ServerConfig NewItemServerConfig();

} // namespace tarvelo

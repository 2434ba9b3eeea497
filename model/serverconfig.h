#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tarvelo {

// A server configuration: where a quotation page is and how the quotation is found in
// it. Shared configurations live in the profile store under their name; each item
// embeds one more, which is the item's own when its Name is empty. Texts are UTF-8.
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
ServerConfig newItemServerConfig();

// One stored value of a configuration (the name is not one: it is the key the values
// are stored under). Exactly one of text and number is set. For a number, low..high is
// what the server settings dialog accepts; for a text, high is its greatest length.
struct ServerConfigField {
    const char* storedName; // the value's name in the profile store and the export file
    const char* jsonKey;    // its key in the JSON output
    std::string ServerConfig::*text;
    std::int32_t ServerConfig::*number;
    const char* textDefault;
    std::int32_t numberDefault;
    std::int32_t low;
    std::int32_t high;
    // Reading a configuration that is not stored leaves this value as the record held
    // it instead of setting its default.
    bool keptWhenNotStored;
    // Where the value comes in the JSON object, which follows the member order.
    int jsonPosition;
};

// Every stored value, in the order the profile store and the export file write them.
std::span<const ServerConfigField> serverConfigFields();
// The same values in the JSON object's order.
std::span<const ServerConfigField* const> serverConfigFieldsInJsonOrder();
const ServerConfigField* findServerConfigField(std::string_view storedName); // any letter case

// The first number of the record outside the range the server settings accept, or null.
const ServerConfigField* numberOutOfRange(const ServerConfig& config);
// The settings' message for a number outside low..high.
std::string integerRangeMessage(std::int32_t low, std::int32_t high);

// Sets the field's default into config.
void setServerConfigDefault(const ServerConfigField& field, ServerConfig& config);

} // namespace tarvelo

#pragma once

#include "model/storedflag.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace tarvelo {

// How a page is converted before it is searched (stored as "Format"). A stored number
// outside these names is kept as it was read; no conversion knows it.
enum class Conversion : std::int32_t {
    None = 0,     // the page as downloaded
    SemiHtml = 1, // every tag replaced by "<>"
    TextOnly = 2, // tags removed
};

// Which search finds the quotation (stored as "Filtering"); a number outside these
// names searches as Standard does.
enum class SearchKind : std::int32_t {
    Standard = 0,          // the text before the value, tags and numbers to skip
    RegularExpression = 1, // the expression RegExp with its group indexes
    JsonPath = 2,          // the JSON paths JsonValue, JsonDate and JsonTime
};

constexpr std::int32_t storedNumber(Conversion conversion)
{
    return static_cast<std::int32_t>(conversion);
}
constexpr std::int32_t storedNumber(SearchKind kind)
{
    return static_cast<std::int32_t>(kind);
}

// A server configuration: where a quotation page is and how the quotation is found in
// it. Shared configurations live in the profile store under their name; each item
// embeds one more, which is the item's own when its Name is empty. Texts are UTF-8.
struct ServerConfig {
    std::string name;
    std::string url;
    std::int32_t timeout = 60;
    std::string thousandsSeparator;
    std::string decimalSeparator = ",";
    Conversion conversion = Conversion::None;
    std::string textBeforeValue;
    std::int32_t tagsToSkip = 0;
    std::int32_t numbersToSkip = 0;
    StoredFlag caseInsensitive = true;
    SearchKind searchKind = SearchKind::Standard;
    std::string regExp;
    std::int32_t quotationIndex = 1;
    StoredFlag extractDate;
    std::int32_t dayIndex = 2;
    std::int32_t monthIndex = 3;
    std::int32_t yearIndex = 4;
    StoredFlag extractTime;
    std::int32_t hourIndex = 5;
    std::int32_t minuteIndex = 6;
    // The largest move from an item's latest value, in percent, that a found value may
    // make and still be stored (a larger one is held back); 0: no limit.
    std::int32_t maxChange = 0;
    // The stored configuration tried for an item when this one brings no plausible value;
    // empty: none.
    std::string fallback;
    // Request headers of the configuration's own, sent with its downloads in place of
    // the program's of the same name (model/requestheaders.h); empty: none.
    std::string headers;
    // The JSON search's paths to the value, its date and its time of day (dates and
    // times optional).
    std::string jsonValue;
    std::string jsonDate;
    std::string jsonTime;

    bool operator==(const ServerConfig&) const = default;
};

// The embedded configuration of a newly inserted item ("-- User defined --").
ServerConfig newItemServerConfig();

// The limit of a configuration that a user makes (with `servers set`, the wizard or
// "New..."): a found value that moves more than half from the latest one is held back.
// The built-in set, and configurations stored before there was a limit, have none.
inline constexpr std::int32_t kNewConfigMaxChange = 50;

// One stored value of a configuration (the name is not one: it is the key the values
// are stored under). Exactly one of text and number is set. For a number, low..high is
// what the server settings dialog accepts; for a text, high is its greatest length.
struct ServerConfigField {
    // The member of a number: a plain number, a flag or a named kind, all stored as
    // 32-bit numbers.
    using NumberMember = std::variant<std::monostate, std::int32_t ServerConfig::*, StoredFlag ServerConfig::*,
                                      Conversion ServerConfig::*, SearchKind ServerConfig::*>;

    const char* storedName; // the value's name in the profile store and the export file
    const char* jsonKey;    // its key in the JSON output
    std::string ServerConfig::*text;
    NumberMember number;
    const char* textDefault;
    std::int32_t numberDefault;
    std::int32_t low;
    std::int32_t high;
    // Reading a configuration that is not stored leaves this value as the record held
    // it instead of setting its default.
    bool keptWhenNotStored;
    // Where the value comes in the JSON object, which follows the member order.
    int jsonPosition;
    // Only a stored configuration has this value: an item's own configuration in the
    // portfolio file has no place for it and always holds the default.
    bool storedOnly = false;
    // The profile store and the export file hold this value only when it is not the
    // default, so configurations that do not use it are written as before it existed.
    bool omittedWhenDefault = false;

    bool isNumber() const { return text == nullptr; }
    // A number's value as it is stored, and set from its stored form.
    std::int32_t storedNumber(const ServerConfig& config) const;
    void setStoredNumber(ServerConfig& config, std::int32_t stored) const;
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

// Whether the value is left out of the store and the export file for config.
bool omittedFor(const ServerConfigField& field, const ServerConfig& config);

// Sets the field's default into config.
void setServerConfigDefault(const ServerConfigField& field, ServerConfig& config);

} // namespace tarvelo

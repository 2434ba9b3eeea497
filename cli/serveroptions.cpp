#include "cli/cli.h"
#include "cli/commands.h"
#include "cli/commandoptions.h"
#include "platform/codepage.h"
#include "platform/utf8.h"
#include "servers/serverstore.h"

#include <climits>
#include <string_view>
#include <utility>

namespace tarvelo {

namespace {

// The option that sets a stored value, for messages.
std::string optionOf(const ServerConfigField& field)
{
    static const std::pair<const char*, const char*> options[] = {
        {"Timeout", "--timeout"}, {"Format", "--conversion"}, {"Nr_HTML_before_Value", "--tags"},
        {"Numbers_before_Value", "--numbers"}, {"NoCaseSensitiv", "--case"}, {"MaxChange", "--max-change"},
        {"URL", "--url"}, {"Text_before_Value", "--text"}, {"TAUSEND", "--thousands"}, {"DECIMAL", "--decimal"},
        {"RegExp", "--regexp"}, {"JsonValue", "--json-value"}, {"JsonDate", "--json-date"},
        {"JsonTime", "--json-time"}, {"Headers", "--header"}, {"Fallback", "--fallback"},
    };
    for (const auto& [stored, option] : options) {
        if (std::string_view(field.storedName) == stored)
            return option;
    }
    return field.storedName;
}

// A number given on the command line, as the field stores it.
void setStoredNumber(std::int32_t& field, int number)
{
    field = number;
}
void setStoredNumber(Conversion& field, int number)
{
    field = Conversion{number};
}
void setStoredNumber(StoredFlag& field, int number)
{
    field = StoredFlag::fromStored(number);
}

} // namespace

bool applyServerOptions(CommandOptions& o, ServerConfig& config, std::string& problem, ServerOptionRanges ranges)
{
    const bool stored = ranges == ServerOptionRanges::Store;
    const auto text = [&](const char* name, std::string& field) {
        if (const auto value = o.text(name)) {
            if (const std::string refused = serverTextProblem(*value); stored && !refused.empty() && problem.empty())
                problem = std::string("--") + name + " " + refused;
            field = validUtf8(*value);
        }
    };
    std::optional<int> number;
    // A configuration to store takes any integer here; the settings' ranges are checked
    // on the whole record afterwards, with their messages.
    const auto integer = [&](const char* name, int low, int high, auto& field) {
        if (!o.integer(name, stored ? INT_MIN : low, stored ? INT_MAX : high, number))
            return false;
        if (number)
            setStoredNumber(field, *number);
        return true;
    };
    text("url", config.url);
    text("text", config.textBeforeValue);
    text("thousands", config.thousandsSeparator);
    text("decimal", config.decimalSeparator);
    if (const auto regexp = o.text("regexp")) {
        config.regExp = validUtf8(*regexp);
        config.searchKind = SearchKind::RegularExpression;
    }
    text("json-value", config.jsonValue);
    text("json-date", config.jsonDate);
    text("json-time", config.jsonTime);
    if (o.has("json-value")) {
        if (o.has("regexp") && problem.empty())
            problem = "--regexp and --json-value choose different searches; give one of them";
        config.searchKind = SearchKind::JsonPath;
    }
    if (!problem.empty())
        return false;
    if (!integer("timeout", 1, 600, config.timeout) || !integer("conversion", 0, 2, config.conversion)
        || !integer("tags", 0, 1000000, config.tagsToSkip) || !integer("numbers", 0, 1000000, config.numbersToSkip)
        || !integer("case", 0, 1, config.caseInsensitive) || !integer("index", -1000, 1000, config.quotationIndex)) {
        problem = o.error();
        return false;
    }
    std::optional<std::vector<int>> indices;
    if (!o.integers("date", 3, indices)) {
        problem = o.error();
        return false;
    }
    if (indices) {
        config.extractDate = true;
        config.dayIndex = (*indices)[0];
        config.monthIndex = (*indices)[1];
        config.yearIndex = (*indices)[2];
    }
    if (!o.integers("time", 2, indices)) {
        problem = o.error();
        return false;
    }
    if (indices) {
        config.extractTime = true;
        config.hourIndex = (*indices)[0];
        config.minuteIndex = (*indices)[1];
    }
    if (stored) {
        // The store reads no text longer than its field allows (259 bytes for most):
        // such a value would come back empty.
        for (const ServerConfigField& field : serverConfigFields()) {
            const std::size_t longest = std::max<std::size_t>(259, static_cast<std::size_t>(field.high));
            if (!field.isNumber() && (config.*field.text).size() > longest) {
                problem = optionOf(field) + " is longer than " + std::to_string(longest) + " bytes";
                return false;
            }
        }
        if (const ServerConfigField* field = numberOutOfRange(config)) {
            problem = optionOf(*field) + ": " + integerRangeMessage(field->low, field->high);
            return false;
        }
    }
    return true;
}

} // namespace tarvelo

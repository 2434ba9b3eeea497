#include "model/serverconfig.h"

#include "model/requestheaders.h"
#include "platform/translation.h"

#include <algorithm>
#include <array>
#include <limits>
#include <type_traits>

namespace tarvelo {

namespace {

constexpr std::int32_t kAny = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kAll = std::numeric_limits<std::int32_t>::max();

constexpr ServerConfigField text(const char* storedName, const char* jsonKey, std::string ServerConfig::*member,
                                 const char* byDefault, std::int32_t maxLength, int jsonPosition,
                                 bool keptWhenNotStored = false)
{
    return {storedName, jsonKey, member, {}, byDefault, 0, 0, maxLength, keptWhenNotStored, jsonPosition, false, false};
}

template <typename Member>
constexpr ServerConfigField number(const char* storedName, const char* jsonKey, Member ServerConfig::*member,
                                   std::int32_t byDefault, std::int32_t low, std::int32_t high, int jsonPosition)
{
    return {storedName, jsonKey, nullptr, member, nullptr, byDefault, low, high, false, jsonPosition, false, false};
}

constexpr ServerConfigField storedOnly(ServerConfigField field)
{
    field.storedOnly = true;
    return field;
}

constexpr ServerConfigField omittedWhenDefault(ServerConfigField field)
{
    field.omittedWhenDefault = true;
    return field;
}

constexpr ServerConfigField kFields[] = {
    text("URL", "url", &ServerConfig::url, "", 259, 0),
    // An item whose named configuration is gone still parses numbers with its own separators.
    text("TAUSEND", "thousands", &ServerConfig::thousandsSeparator, "", 259, 2, true),
    text("DECIMAL", "decimal", &ServerConfig::decimalSeparator, ",", 259, 3, true),
    // The search holds the text before the value in a 256-byte buffer.
    text("Text_before_Value", "textBeforeValue", &ServerConfig::textBeforeValue, "", 255, 5),
    number("Timeout", "timeout", &ServerConfig::timeout, 60, 1, 600, 1),
    number("Format", "conversion", &ServerConfig::conversion, 0, 0, 2, 4),
    number("Nr_HTML_before_Value", "tagsToSkip", &ServerConfig::tagsToSkip, 0, 0, 10000, 6),
    number("Numbers_before_Value", "numbersToSkip", &ServerConfig::numbersToSkip, 0, 0, 10000, 7),
    number("NoCaseSensitiv", "caseInsensitive", &ServerConfig::caseInsensitive, 1, 0, 1, 8),
    number("Filtering", "searchKind", &ServerConfig::searchKind, 0, 0, 2, 9),
    text("RegExp", "regExp", &ServerConfig::regExp, "", 259, 10),
    number("RegExpQuotationIndex", "quotationIndex", &ServerConfig::quotationIndex, 1, kAny, kAll, 11),
    number("bRegExpExtractDate", "extractDate", &ServerConfig::extractDate, 0, 0, 1, 12),
    number("RegExpDayIndex", "dayIndex", &ServerConfig::dayIndex, 2, kAny, kAll, 13),
    number("RegExpMonthIndex", "monthIndex", &ServerConfig::monthIndex, 3, kAny, kAll, 14),
    number("RegExpYearIndex", "yearIndex", &ServerConfig::yearIndex, 4, kAny, kAll, 15),
    number("bRegExpExtractTime", "extractTime", &ServerConfig::extractTime, 0, 0, 1, 16),
    number("RegExpHourIndex", "hourIndex", &ServerConfig::hourIndex, 5, kAny, kAll, 17),
    number("RegExpMinuteIndex", "minuteIndex", &ServerConfig::minuteIndex, 6, kAny, kAll, 18),
    storedOnly(number("MaxChange", "maxChange", &ServerConfig::maxChange, 0, 0, 100000, 19)),
    storedOnly(text("Fallback", "fallback", &ServerConfig::fallback, "", 259, 20)),
    // May hold keys or cookies, which are longer than the other texts.
    storedOnly(text("Headers", "headers", &ServerConfig::headers, "", kMaxRequestHeadersLength, 21)),
    // The portfolio file has no place for JSON paths: an item's own settings search
    // with the standard search or an expression.
    omittedWhenDefault(storedOnly(text("JsonValue", "jsonValue", &ServerConfig::jsonValue, "", 259, 22))),
    omittedWhenDefault(storedOnly(text("JsonDate", "jsonDate", &ServerConfig::jsonDate, "", 259, 23))),
    omittedWhenDefault(storedOnly(text("JsonTime", "jsonTime", &ServerConfig::jsonTime, "", 259, 24))),
};
constexpr std::size_t kFieldCount = std::size(kFields);

std::int32_t storedFormOf(std::int32_t number)
{
    return number;
}
std::int32_t storedFormOf(StoredFlag flag)
{
    return flag.stored();
}
template <typename Kind>
std::int32_t storedFormOf(Kind kind)
{
    return storedNumber(kind);
}

template <typename Member>
Member fromStoredForm(std::int32_t stored)
{
    if constexpr (std::is_same_v<Member, StoredFlag>)
        return StoredFlag::fromStored(stored);
    else
        return Member{stored};
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size()
           && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

ServerConfig newItemServerConfig()
{
    ServerConfig config;
    config.url = "http://www.";
    config.timeout = 180;
    config.textBeforeValue = "[&symbol]";
    config.regExp = "[&symbol][\"', \t\r\n]*([0-9,]+)";
    return config;
}

std::span<const ServerConfigField> serverConfigFields()
{
    return kFields;
}

std::span<const ServerConfigField* const> serverConfigFieldsInJsonOrder()
{
    static const std::array<const ServerConfigField*, kFieldCount> ordered = [] {
        std::array<const ServerConfigField*, kFieldCount> list{};
        for (const ServerConfigField& field : kFields)
            list[static_cast<std::size_t>(field.jsonPosition)] = &field;
        return list;
    }();
    return ordered;
}

const ServerConfigField* findServerConfigField(std::string_view storedName)
{
    for (const ServerConfigField& field : kFields) {
        if (equalNoCase(field.storedName, storedName))
            return &field;
    }
    return nullptr;
}

std::int32_t ServerConfigField::storedNumber(const ServerConfig& config) const
{
    return std::visit(
        [&](auto member) -> std::int32_t {
            if constexpr (std::is_same_v<decltype(member), std::monostate>)
                return 0;
            else
                return storedFormOf(config.*member);
        },
        number);
}

void ServerConfigField::setStoredNumber(ServerConfig& config, std::int32_t stored) const
{
    std::visit(
        [&](auto member) {
            if constexpr (!std::is_same_v<decltype(member), std::monostate>)
                config.*member = fromStoredForm<std::remove_reference_t<decltype(config.*member)>>(stored);
        },
        number);
}

bool omittedFor(const ServerConfigField& field, const ServerConfig& config)
{
    if (!field.omittedWhenDefault)
        return false;
    return field.text ? config.*field.text == field.textDefault : field.storedNumber(config) == field.numberDefault;
}

void setServerConfigDefault(const ServerConfigField& field, ServerConfig& config)
{
    if (field.text)
        config.*field.text = field.textDefault;
    else
        field.setStoredNumber(config, field.numberDefault);
}

const ServerConfigField* numberOutOfRange(const ServerConfig& config)
{
    for (const ServerConfigField& field : serverConfigFields()) {
        if (!field.isNumber())
            continue;
        const std::int32_t value = field.storedNumber(config);
        if (value < field.low || value > field.high)
            return &field;
    }
    return nullptr;
}

std::string integerRangeMessage(std::int32_t low, std::int32_t high)
{
    return fill(translate("Servers", "Please enter an integer between %1 and %2."),
                {std::to_string(low), std::to_string(high)});
}

} // namespace tarvelo

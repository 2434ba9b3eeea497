#include "extraction/extract.h"

#include "extraction/page.h"
#include "extraction/urltemplate.h"
#include "platform/codepage.h"

namespace tarvelo {

StandardRule standardRuleOf(const ServerConfig& config)
{
    StandardRule rule;
    rule.textBeforeValue = utf8ToCp1252(config.textBeforeValue);
    rule.thousands = utf8ToCp1252(config.thousandsSeparator);
    rule.decimal = utf8ToCp1252(config.decimalSeparator);
    rule.tagsToSkip = config.tagsToSkip;
    rule.numbersToSkip = config.numbersToSkip;
    rule.caseInsensitive = config.caseInsensitive.isSet();
    return rule;
}

RegExpRule regExpRuleOf(const ServerConfig& config)
{
    RegExpRule rule;
    rule.expression = utf8ToCp1252(config.regExp);
    rule.quotationIndex = config.quotationIndex;
    rule.extractDate = config.extractDate.isSet();
    rule.dayIndex = config.dayIndex;
    rule.monthIndex = config.monthIndex;
    rule.yearIndex = config.yearIndex;
    rule.extractTime = config.extractTime.isSet();
    rule.hourIndex = config.hourIndex;
    rule.minuteIndex = config.minuteIndex;
    rule.caseInsensitive = config.caseInsensitive.isSet();
    rule.thousands = utf8ToCp1252(config.thousandsSeparator);
    rule.decimal = utf8ToCp1252(config.decimalSeparator);
    return rule;
}

JsonRule jsonRuleOf(const ServerConfig& config)
{
    JsonRule rule;
    rule.valuePath = config.jsonValue;
    rule.datePath = config.jsonDate;
    rule.timePath = config.jsonTime;
    rule.thousands = config.thousandsSeparator;
    rule.decimal = config.decimalSeparator;
    return rule;
}

Conversion searchConversion(const ServerConfig& config)
{
    return config.searchKind == SearchKind::JsonPath ? Conversion::None : config.conversion;
}

ExtractionResult runExtraction(const ServerConfig& config, const std::string& convertedPageFile, TimeStamp now)
{
    SearchPage page;
    loadPageForSearch(convertedPageFile, page);
    return runExtractionOnPage(config, page.text(), now);
}

ExtractionResult runExtractionOnPage(const ServerConfig& config, std::string_view page, TimeStamp now)
{
    if (config.searchKind == SearchKind::JsonPath)
        return jsonSearchInPage(page, jsonRuleOf(config), now);
    ExtractionResult result;
    if (config.searchKind == SearchKind::RegularExpression) {
        result = regExpSearchInPage(page, regExpRuleOf(config), now);
    } else {
        result = config.conversion == Conversion::SemiHtml ? standardSearchWithTagsInPage(page, standardRuleOf(config))
                                                          : standardSearchInPage(page, standardRuleOf(config));
        result.time = now;
    }
    // The message quotes the page and the rule in the page's code page.
    result.message = cp1252ToUtf8(result.message);
    return result;
}

ServerConfig withItemVariables(ServerConfig config, std::string_view name, std::string_view symbol)
{
    config.url = expandItemVariables(config.url, name, symbol);
    config.textBeforeValue = expandItemVariables(config.textBeforeValue, name, symbol);
    config.regExp = expandItemVariables(config.regExp, name, symbol);
    config.jsonValue = expandJsonPathVariables(config.jsonValue, name, symbol);
    config.jsonDate = expandJsonPathVariables(config.jsonDate, name, symbol);
    config.jsonTime = expandJsonPathVariables(config.jsonTime, name, symbol);
    return config;
}

bool searchesForItemName(const ServerConfig& config)
{
    constexpr std::string_view kName = "[&name]";
    if (config.url.find(kName) != std::string::npos)
        return true;
    if (config.searchKind == SearchKind::JsonPath)
        return config.jsonValue.find(kName) != std::string::npos || config.jsonDate.find(kName) != std::string::npos
               || config.jsonTime.find(kName) != std::string::npos;
    const std::string& search =
        config.searchKind == SearchKind::RegularExpression ? config.regExp : config.textBeforeValue;
    return search.find(kName) != std::string::npos;
}

} // namespace tarvelo

#include "extraction/extract.h"

#include "extraction/page.h"
#include "extraction/urltemplate.h"

namespace tarvelo {

StandardRule standardRuleOf(const ServerConfig& config)
{
    StandardRule rule;
    rule.textBeforeValue = config.textBeforeValue;
    rule.thousands = config.thousandsSeparator;
    rule.decimal = config.decimalSeparator;
    rule.tagsToSkip = config.tagsToSkip;
    rule.numbersToSkip = config.numbersToSkip;
    rule.caseInsensitive = config.caseInsensitive != 0;
    return rule;
}

RegExpRule regExpRuleOf(const ServerConfig& config)
{
    RegExpRule rule;
    rule.expression = config.regExp;
    rule.quotationIndex = config.quotationIndex;
    rule.extractDate = config.extractDate != 0;
    rule.dayIndex = config.dayIndex;
    rule.monthIndex = config.monthIndex;
    rule.yearIndex = config.yearIndex;
    rule.extractTime = config.extractTime != 0;
    rule.hourIndex = config.hourIndex;
    rule.minuteIndex = config.minuteIndex;
    rule.caseInsensitive = config.caseInsensitive != 0;
    rule.thousands = config.thousandsSeparator;
    rule.decimal = config.decimalSeparator;
    return rule;
}

ExtractionResult runExtraction(const ServerConfig& config, const std::string& convertedPageFile, TimeStamp now)
{
    SearchPage page;
    loadPageForSearch(convertedPageFile, page);
    return runExtractionOnPage(config, page.text(), now);
}

ExtractionResult runExtractionOnPage(const ServerConfig& config, std::string_view page, TimeStamp now)
{
    if (config.searchKind == 1)
        return regExpSearchInPage(page, regExpRuleOf(config), now);
    ExtractionResult result = config.conversion == kConversionSemiHtml
                                  ? standardSearchWithTagsInPage(page, standardRuleOf(config))
                                  : standardSearchInPage(page, standardRuleOf(config));
    result.time = now;
    return result;
}

ServerConfig withItemVariables(ServerConfig config, std::string_view name, std::string_view symbol)
{
    config.url = expandItemVariables(config.url, name, symbol);
    config.textBeforeValue = expandItemVariables(config.textBeforeValue, name, symbol);
    config.regExp = expandItemVariables(config.regExp, name, symbol);
    return config;
}

} // namespace tarvelo

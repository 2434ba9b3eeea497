#include "extraction/extract.h"

#include "extraction/page.h"
#include "extraction/urltemplate.h"

namespace tarvelo {

StandardRule StandardRuleOf(const ServerConfig& config)
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

RegExpRule RegExpRuleOf(const ServerConfig& config)
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

ExtractionResult RunExtraction(const ServerConfig& config, const std::string& convertedPageFile, TimeStamp now)
{
    SearchPage page;
    LoadPageForSearch(convertedPageFile, page);
    return RunExtractionOnPage(config, page.text(), now);
}

ExtractionResult RunExtractionOnPage(const ServerConfig& config, std::string_view page, TimeStamp now)
{
    if (config.searchKind == 1)
        return RegExpSearchInPage(page, RegExpRuleOf(config), now);
    ExtractionResult result = config.conversion == kConversionSemiHtml
                                  ? StandardSearchWithTagsInPage(page, StandardRuleOf(config))
                                  : StandardSearchInPage(page, StandardRuleOf(config));
    result.time = now;
    return result;
}

ServerConfig WithItemVariables(ServerConfig config, std::string_view name, std::string_view symbol)
{
    config.url = ExpandItemVariables(config.url, name, symbol);
    config.textBeforeValue = ExpandItemVariables(config.textBeforeValue, name, symbol);
    config.regExp = ExpandItemVariables(config.regExp, name, symbol);
    return config;
}

} // namespace tarvelo

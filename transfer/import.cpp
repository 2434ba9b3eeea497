#include "transfer/import.h"

#include "extraction/search.h"
#include "model/profilesettings.h"
#include "platform/profile.h"

namespace tarvelo {

namespace {

void replaceAll(std::string& text, std::string_view from, std::string_view to)
{
    std::size_t at = 0;
    while ((at = text.find(from, at)) != std::string::npos) {
        text.replace(at, from.size(), to);
        at += to.size();
    }
}

constexpr const char* kMonthGroup =
    "([0-9]+|jan|january|januar|janeiro|feb|fev|february|februar|fevereiro|mar|m\xE4r|march|m\xE4rz|mar\xE7o|"
    "apr|abr|april|abril|may|mai|maio|jun|june|juni|junho|jul|july|juli|julho|aug|ago|august|agosto|sep|set|"
    "september|setembro|oct|okt|out|october|oktober|outubro|nov|november|novembro|dec|dez|december|dezember|"
    "dezembro)";

} // namespace

const std::vector<NumberFormat>& numberFormats()
{
    static const std::vector<NumberFormat> formats = {
        {"9.999,99", ".", ","}, {" 9999,99", "", ","}, {"9,999.99", ",", "."}, {" 9999.99", "", "."}};
    return formats;
}

int numberFormatIndex(const std::string& thousands, const std::string& decimal)
{
    const auto& formats = numberFormats();
    for (std::size_t i = 0; i < formats.size(); ++i) {
        if (thousands == formats[i].thousands && decimal == formats[i].decimal)
            return static_cast<int>(i);
    }
    return -1;
}

ImportExpression translateImportTemplate(const std::string& formatTemplate, const std::string& thousands,
                                         const std::string& decimal, const std::string& symbol)
{
    ImportExpression result;
    struct Part {
        const char* name;
        int ImportExpression::*index;
    };
    const Part parts[] = {{"[&day]", &ImportExpression::day},   {"[&month]", &ImportExpression::month},
                          {"[&year]", &ImportExpression::year}, {"[&hour]", &ImportExpression::hour},
                          {"[&minute]", &ImportExpression::minute}, {"[&value]", &ImportExpression::value}};
    // Captures are numbered in the order in which the first occurrences of the parts
    // stand in the template.
    int next = 1;
    for (std::size_t at = formatTemplate.find("[&"); at != std::string::npos; at = formatTemplate.find("[&", at + 1)) {
        for (const Part& part : parts) {
            if (formatTemplate.find(part.name) == at)
                result.*part.index = next++;
        }
    }
    std::string expression = formatTemplate;
    const std::string numberClass = "[0-9" + thousands + decimal + "]+";
    replaceAll(expression, "[&day]", "[ ]*([0-9]+)");
    replaceAll(expression, "[&month]", kMonthGroup);
    replaceAll(expression, "[&year]", "([0-9]+)");
    replaceAll(expression, "[&hour]", "[ ]*([0-9]+)");
    replaceAll(expression, "[&minute]", "([0-9]+)");
    replaceAll(expression, "[&value]", "(" + numberClass + ")");
    replaceAll(expression, "[&dummyvalue]", numberClass);
    replaceAll(expression, "[&symbol]", symbol);
    result.expression = std::move(expression);
    return result;
}

ImportMatch matchImportFile(const std::string& file, const ImportExpression& expression, bool caseInsensitive,
                            const std::string& thousands, const std::string& decimal, TimeStamp now)
{
    RegExpRule rule;
    rule.expression = expression.expression;
    rule.quotationIndex = expression.value;
    rule.extractDate = true;
    rule.dayIndex = expression.day;
    rule.monthIndex = expression.month;
    rule.yearIndex = expression.year;
    rule.extractTime = true;
    rule.hourIndex = expression.hour;
    rule.minuteIndex = expression.minute;
    rule.caseInsensitive = caseInsensitive;
    rule.thousands = thousands;
    rule.decimal = decimal;
    ImportMatch match;
    bool complete = false;
    const ExtractionResult matched = importMatches(file, rule, now, match.records, complete);
    if (match.records.empty())
        match.message = "Error importing quotations from file \"" + file + "\":\n" + matched.message;
    return match;
}

ImportResult importQuotations(PortfolioDocument& doc, ItemKey item, const std::string& file,
                              const ImportExpression& expression, bool caseInsensitive, const std::string& thousands,
                              const std::string& decimal, TimeStamp now)
{
    ImportResult result;
    if (!doc.isValid(item))
        return result;
    const ImportMatch match = matchImportFile(file, expression, caseInsensitive, thousands, decimal, now);
    if (match.records.empty()) {
        result.message = match.message;
        return result;
    }
    doc.insertQuotations(item, match.records);
    result.ok = true;
    result.count = match.records.size();
    return result;
}

std::string defaultImportTemplate(int number)
{
    switch (number) {
    case 1:
        return "http://ichart.finance.yahoo.com/table.csv?b=[&day_begin]&a=[&month_begin-1]&c=[&year_begin]"
               "&e=[&day_end]&d=[&month_end-1]&f=[&year_end]&g=d&ignore=.csv&s=[&symbol]";
    case 2:
        return "http://www.dws.de/kurse/[&symbol].csv";
    default:
        return {};
    }
}

std::vector<std::string> importTemplates()
{
    const Profile profile;
    std::vector<std::string> templates;
    for (int i = 1; i <= settings::kImportTemplates.count; ++i) {
        const std::string value =
            profile.getText(settings::kImportTemplates.key, settings::kImportTemplates.name(i), defaultImportTemplate(i));
        if (i == 1 || !value.empty())
            templates.push_back(value);
    }
    return templates;
}

} // namespace tarvelo

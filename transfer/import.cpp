#include "platform/translation.h"
#include "transfer/import.h"

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

ImportMatch matchImportFile(const std::string& file, const std::string& shownName, const ImportExpression& expression,
                            bool caseInsensitive, const std::string& thousands, const std::string& decimal,
                            TimeStamp now)
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
    return {shownName, importLines(file, rule, now), expression.hour >= 0};
}

std::string importReportText(std::size_t count, std::size_t duplicates, const ImportLines& lines,
                             std::string_view verb)
{
    std::string report = fill(translate("Import", "%1 quotations %2"), {std::to_string(count), std::string(verb)});
    if (duplicates > 0)
        report += fill(translate("Import", ", %1 already in the history"), {std::to_string(duplicates)});
    if (lines.skippedLines > 0) {
        std::string reasons;
        for (std::size_t i = 0; i < lines.skipped.size(); ++i) {
            reasons += i > 0 ? "; " : "";
            reasons += fill(translate("Import", "line %1: %2"),
                            {std::to_string(lines.skipped[i].line), lines.skipped[i].reason});
        }
        reasons += lines.skippedLines > lines.skipped.size() ? "; ..." : "";
        report += fill(translate("Import", ", %1 lines skipped (%2)"), {std::to_string(lines.skippedLines), reasons});
    }
    if (lines.stopped)
        report += fill(translate("Import", ", stopped at line %1: %2"), {std::to_string(lines.stopLine), lines.message});
    return report;
}

std::string importFailureText(const ImportMatch& match)
{
    // Without a line that matched, the matcher's own words say why.
    const ImportLines& lines = match.lines;
    const bool matched = lines.skippedLines > 0;
    return fill(translate("Import", "Error importing quotations from file \"%1\":\n%2"),
                {match.shownName, matched ? importReportText(0, 0, lines, translate("Import", "imported")) : lines.message});
}

ImportResult importMatched(PortfolioDocument& doc, ItemKey item, const ImportMatch& match)
{
    if (!doc.isValid(item))
        return Failure{};
    const ImportLines& lines = match.lines;
    ImportReport result;
    result.skipped = lines.skippedLines;
    result.stopped = lines.stopped;
    if (lines.records.empty())
        return Failure{importFailureText(match)};
    result.count = doc.insertQuotations(item, lines.records);
    result.duplicates = lines.records.size() - result.count;
    result.report = importReportText(result.count, result.duplicates, lines, translate("Import", "imported"));
    return result;
}

ImportResult importQuotations(PortfolioDocument& doc, ItemKey item, const std::string& file,
                              const std::string& shownName, const ImportExpression& expression, bool caseInsensitive,
                              const std::string& thousands, const std::string& decimal, TimeStamp now)
{
    if (!doc.isValid(item))
        return Failure{};
    return importMatched(doc, item,
                         matchImportFile(file, shownName, expression, caseInsensitive, thousands, decimal, now));
}

ImportSettings rememberedImportSettings(const std::string& itemName, ImportSettings base)
{
    const ImportSettings initial;
    base.formatTemplate = initial.formatTemplate;
    base.thousands = initial.thousands;
    base.decimal = initial.decimal;
    base.caseInsensitive = initial.caseInsensitive;
    if (itemName.empty())
        return base;
    const Profile profile;
    base.formatTemplate = profile.getText(settings::kItemImportTemplates.key, itemName, initial.formatTemplate);
    const auto format = profile.readInt(settings::kItemImportNumberFormats.key, itemName);
    if (format && *format >= 0 && static_cast<std::size_t>(*format) < numberFormats().size()) {
        base.thousands = numberFormats()[static_cast<std::size_t>(*format)].thousands;
        base.decimal = numberFormats()[static_cast<std::size_t>(*format)].decimal;
    }
    base.caseInsensitive =
        profile.getInt(settings::kItemImportCaseInsensitive.key, itemName, initial.caseInsensitive ? 1 : 0) != 0;
    return base;
}

void rememberImportSettings(const std::string& itemName, const ImportSettings& used)
{
    if (itemName.empty())
        return;
    Profile profile;
    profile.writeText(settings::kItemImportTemplates.key, itemName, used.formatTemplate);
    const int format = numberFormatIndex(used.thousands, used.decimal);
    if (format >= 0)
        profile.writeInt(settings::kItemImportNumberFormats.key, itemName, format);
    profile.writeInt(settings::kItemImportCaseInsensitive.key, itemName, used.caseInsensitive ? 1 : 0);
}

bool isLocalPath(const std::string& typed)
{
    const std::size_t scheme = typed.find("://");
    if (scheme == std::string::npos || scheme == 0)
        return true;
    for (std::size_t i = 0; i < scheme; ++i) {
        const char c = typed[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!(letter || (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'))))
            return true;
    }
    return false;
}

std::string shownImportName(const std::string& address)
{
    if (address.size() > 7 && (address.rfind("file://", 0) == 0 || address.rfind("FILE://", 0) == 0))
        return address.substr(7);
    return address;
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

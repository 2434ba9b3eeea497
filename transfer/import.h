#pragma once

#include "extraction/numberformat.h"
#include "extraction/search.h"
#include "model/portfoliodocument.h"
#include "platform/localtime.h"

#include <string>
#include <string_view>
#include <vector>

// Historical quotations from files: the line-format template, its translation into a
// regular expression, the import into an item's history, and the address templates.
namespace tarvelo {

// The import dialog's settings and their initial values.
struct ImportSettings {
    std::string address;
    std::string thousands;
    std::string decimal = ".";
    bool caseInsensitive = true;
    std::string formatTemplate =
        "[&day]-[&month]-[&year],[&dummyvalue],[&dummyvalue],[&dummyvalue],[&dummyvalue],[&dummyvalue],[&value]";

    bool operator==(const ImportSettings&) const = default;
};

// A format template translated: the expression and the capture number of each part
// (-1 when the template lacks it).
struct ImportExpression {
    std::string expression;
    int value = -1;
    int day = -1;
    int month = -1;
    int year = -1;
    int hour = -1;
    int minute = -1;
};
ImportExpression translateImportTemplate(const std::string& formatTemplate, const std::string& thousands,
                                         const std::string& decimal, const std::string& symbol);

// What an import did when the file gave quotations (new ones, or ones the history held
// already). report: "N quotations imported", then ", D already in the history" and
// ", M lines skipped (line 7: day 32 does not exist; ...)" when there are such, the
// reasons of the first ten skipped lines with their line numbers. A failure's message is
// the message box text when the file gave no quotation (empty when the item is gone).
struct ImportReport {
    std::size_t count = 0;      // quotations imported
    std::size_t duplicates = 0; // lines whose quotation the history held already
    std::size_t skipped = 0;    // lines that matched but gave no quotation
    bool stopped = false;       // the matching ended before the end of the file
    std::string report;
};
using ImportResult = Result<ImportReport>;

// The lines a file yields, without touching a document, so the matching may run on a
// thread of its own. shownName is how the user knows the file (the address or path
// typed, not the local copy read); messages name that.
struct ImportMatch {
    std::string shownName;
    ImportLines lines;
    // The template reads the hour; without it every record's time of day is a stand-in.
    bool timeFromFile = false;
};
ImportMatch matchImportFile(const std::string& file, const std::string& shownName, const ImportExpression& expression,
                            bool caseInsensitive, const std::string& thousands, const std::string& decimal,
                            TimeStamp now);
// The words of a report: "N quotations " and the verb ("imported", "to import", as
// translated by the caller), then
// the duplicates, the skipped lines with the reasons of the first ones, and where the
// matching stopped, as the import reports them.
std::string importReportText(std::size_t count, std::size_t duplicates, const ImportLines& lines,
                             std::string_view verb);
// What an import of a match that gave no quotation says: the message box text.
std::string importFailureText(const ImportMatch& match);
// Merges what the matching found into the item's history in one batch (the order of
// inserting the records one by one in match order), leaving out records the history
// holds already.
ImportResult importMatched(PortfolioDocument& doc, ItemKey item, const ImportMatch& match);
// Both in one.
ImportResult importQuotations(PortfolioDocument& doc, ItemKey item, const std::string& file,
                              const std::string& shownName, const ImportExpression& expression, bool caseInsensitive,
                              const std::string& thousands, const std::string& decimal, TimeStamp now);

// The line template, number format and letter case are remembered per item, under its
// name, in the settings (profile keys "ImportTemplate", "ImportNumberFormat" and
// "ImportCaseInsensitive"), not in the portfolio. rememberedImportSettings gives those
// of the item, and the initial ones for what was never stored; the address is taken
// from base as it is.
ImportSettings rememberedImportSettings(const std::string& itemName, ImportSettings base);
void rememberImportSettings(const std::string& itemName, const ImportSettings& used);

// The address an import reads for what the user typed: a local path (no "scheme://"
// in front) becomes a "file://" address; other addresses stay as they are. An address
// names itself to the user by its path when it is a "file://" one.
bool isLocalPath(const std::string& typed);
std::string shownImportName(const std::string& address);

// The historical address templates: profile section "ServerImport", values "URL1" to
// "URL5"; "URL1" and "URL2" have defaults.
std::string defaultImportTemplate(int number);
std::vector<std::string> importTemplates();

} // namespace tarvelo

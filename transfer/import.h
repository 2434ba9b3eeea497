#pragma once

#include "model/portfoliodocument.h"
#include "platform/localtime.h"

#include <string>
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
};

// The number formats of the lists: index 0 "9.999,99", 1 " 9999,99", 2 "9,999.99",
// 3 " 9999.99"; -1 for a pair that is none of them.
struct NumberFormat {
    const char* shown;
    const char* thousands;
    const char* decimal;
};
const std::vector<NumberFormat>& numberFormats();
int numberFormatIndex(const std::string& thousands, const std::string& decimal);

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

struct ImportResult {
    bool ok = false;
    std::size_t count = 0;
    std::string message; // the message box text when nothing was imported
};

// The records a file yields, in match order, without touching a document, so the
// matching may run on a thread of its own. The message is the message box text when
// no record was found.
struct ImportMatch {
    std::vector<Quotation> records;
    std::string message;
};
ImportMatch matchImportFile(const std::string& file, const ImportExpression& expression, bool caseInsensitive,
                            const std::string& thousands, const std::string& decimal, TimeStamp now);

// Matches the file with the expression and merges the records into the item's history
// in one batch (the order of inserting them one by one in match order).
ImportResult importQuotations(PortfolioDocument& doc, ItemKey item, const std::string& file,
                              const ImportExpression& expression, bool caseInsensitive, const std::string& thousands,
                              const std::string& decimal, TimeStamp now);

// The historical address templates: profile section "ServerImport", values "URL1" to
// "URL5"; "URL1" and "URL2" have defaults.
std::string defaultImportTemplate(int number);
std::vector<std::string> importTemplates();

} // namespace tarvelo

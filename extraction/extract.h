#pragma once

#include "extraction/jsonsearch.h"
#include "extraction/search.h"
#include "model/serverconfig.h"

#include <string>

namespace tarvelo {

// The search a configuration asks for, on a page file already converted by its
// searchConversion: the regular-expression search for SearchKind::RegularExpression, the
// JSON search for SearchKind::JsonPath, else the
// search with tags for semi-html pages, else the standard search. The configuration's texts must
// already hold the item's values. The standard searches are stamped with now. The
// result's message is UTF-8.
ExtractionResult runExtraction(const ServerConfig& config, const std::string& convertedPageFile, TimeStamp now);

// The same on a converted page in memory (no NUL bytes inside, a NUL after it).
ExtractionResult runExtractionOnPage(const ServerConfig& config, std::string_view convertedPage, TimeStamp now);

// The rules with the configuration's texts (UTF-8) in Windows-1252, the code page in
// which pages are searched.
StandardRule standardRuleOf(const ServerConfig& config);
RegExpRule regExpRuleOf(const ServerConfig& config);
JsonRule jsonRuleOf(const ServerConfig& config);

// The conversion a page gets before the configuration's search reads it: the JSON
// search reads the page as it came, whatever the configuration's conversion.
Conversion searchConversion(const ServerConfig& config);

// The configuration with the item's name and symbol put into its text before value, its
// regular expression and its JSON paths.
ServerConfig withItemVariables(ServerConfig config, std::string_view name, std::string_view symbol);

// Whether the configuration puts the item's name into what it downloads or searches: a
// [&name] in its address, or in the text before value or the regular expression of the
// search it uses (for the JSON search, its paths). Such a configuration finds nothing for the old name after a rename.
bool searchesForItemName(const ServerConfig& config);

} // namespace tarvelo
